#pragma once
// Game files: a format line, a header, then one event a line, exactly as
// daro-autoplay prints them. Reading replays every event through the rules
// from the opening position; the game, the autoplay tool, the arena and the
// fuzzer all read a game through replayGameFile.
//
//     daro-game 1
//     mode one-player            (or: mode seven-players, mode free)
//     human SEAT                 (one-player only, 1..7)
//     level K                    (1..5)
//     seats P1 .. P7             (each human, level1..level5 or random; files
//                                 written before it have none)
//     move N SEAT FX FY TX TY PIECE CAPTURED | out SEAT | pass SEAT | win SEAT | lost

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/Record.h"
#include "table/Table.h"

namespace daro {

inline constexpr std::size_t gameFileLimit = 16u * 1024u * 1024u;

struct ReplayedGame {
    int mode = 0;       // Table::modeOnePlayer, modeSevenPlayers or modeFree
    int humanSeat = 0;  // one-player only
    int level = 3;
    std::array<SeatKind, 8> seats{};  // by seat
    bool seatsNamed = false;          // the file had a seats line
    std::optional<Outcome> outcome;
    std::vector<RecordEntry> record;  // entries 0 .. last move
    int seatToMove = -1;              // noSeat once the game is over
    std::string result;               // "win N", "lost", or empty
    std::vector<std::string> eventLines;
};

struct GameFileProblem {
    int line = 0;  // 1-based; 0 when the file as a whole is at fault
    std::string reason;
};

struct GameFileResult {
    std::optional<ReplayedGame> game;
    GameFileProblem problem;  // meaningful when there is no game
};

GameFileResult replayGameFile(std::string_view bytes);

// Plays one event line on a table that follows a game as the file reader
// does: each event must be the step the table expects. Empty when it follows,
// else why not.
std::string playEventLine(Table& table, const std::string& line);

// The line of one recorded event; the move number belongs to moves only.
std::string eventLine(const RecordEvent& event, int moveNumber);
std::string eventLine(const RecordStep& step);

// The events of entries 0 .. lastEntry, one a line.
std::vector<std::string> recordLines(const std::vector<RecordEntry>& record, int lastEntry);

struct GameHeader {
    int mode = 0;
    int humanSeat = 0;  // one-player only
    int level = 3;
    std::array<std::string, 8> seats{};  // by seat: human, level1..level5 or random
};

// The header of the table's game.
GameHeader headerOf(const Table& table);
std::string seatToken(const SeatKind& kind);
// The result line of an outcome; empty when none is written.
std::string resultLine(const Outcome& outcome);

// The whole file of a game: header and events, ending with the result line
// when there is one.
std::string gameFileText(const GameHeader& header, const std::vector<RecordEntry>& record, int lastEntry,
                         const std::string& result);
// The same, with the seats that the mode and the human seat imply.
std::string gameFileText(int mode, int humanSeat, int level, const std::vector<RecordEntry>& record, int lastEntry,
                         const std::string& result);

// Opens first, then checks it is a regular file within the limit. Nothing
// on failure, with the reason.
std::optional<std::string> readGameFileBytes(const std::string& path, std::string& reason);

// Writes beside the target and renames into place, so an interrupted save
// never leaves a cut-off file.
bool writeFileReplacing(const std::string& path, const std::string& text, std::string& reason);

}  // namespace daro
