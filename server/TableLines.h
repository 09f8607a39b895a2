#pragma once
// A table's game as lines: the game file's event lines, plus the seat
// changes the server makes. Everyone who follows a table (the server on
// restart, a client's mirror, the load generator) plays the same lines on
// a Table and arrives at the same position.

#include <optional>
#include <string>
#include <string_view>

#include "table/Table.h"

namespace daro::server {

// Seven people at a table play the game's own seven-player mode; any mix
// with the computer is a free game.
int modeOf(const std::array<SeatKind, 8>& seats);

// The game file's line of an event; empty for turns and pauses, and for an
// end the game file has no line for.
std::string lineOf(const TableEvent& event);

// "standin SEAT LEVEL" and "player SEAT": who plays a human seat from here
// on. The seat stays a human seat of the game: the computer only chooses
// its moves, so the game is the same whoever sat there.
std::string standInLine(int seat, int level);
std::string playerLine(int seat);
// "timeout SEAT": a turn-based seat's time ran out; the next move is the
// computer's, made for it.
bool isSeatChangeLine(std::string_view line);

// Plays one line on the table as its next step; false when the line is not
// what the table can do next. Result lines come with the step before them,
// and seat changes change nothing on the table.
bool playLine(Table& table, const std::string& line);

}  // namespace daro::server
