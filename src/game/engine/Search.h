#pragma once
// The LEVEL4 computer's search.
//
// Three or more kingdoms in the game: paranoid search (the default). Every
// kingdom moves in its turn and the others all play against the one to move.
// They are allowed only the captures that hurt it, or a quiet move that
// changes nothing for it, which keeps a whole round of seven within reach.
// Best-Reply Search, where the six others together make just the one reply
// worst for it between two of its own moves, is kept for comparison; in the
// arena it was a little weaker and twice as slow.
//
// Two kingdoms left: a duel, searched as the two-player game it is (alpha-beta
// over every move of both, captures played out at the horizon), with an
// evaluation that hunts the other king and trades when ahead.
//
// Repetition: a move back to a position of the game so far (Settings::history)
// scores as a draw, and in a duel so does a line that comes back to one of
// its own positions. A draw is worth nothing in the duel's zero-sum score, so
// a kingdom that is ahead avoids repeating and one that is behind may choose
// to. With more kingdoms the paranoid search's values are too gloomy to set
// a draw against, so a move back costs the kingdom ahead of all the others
// instead, and with three left their pieces close in on the weakest king.
//
// The search is bounded by a node count, so it plays the same move for the
// same position, history and seed on an idle or a busy machine. The
// wall-clock cap is a guard against a runaway only; normal play never meets it.
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/Position.h"

namespace daro::engine {

enum class Method { bestReply, paranoid };

constexpr int winScore = 1000000;

struct Settings {
    Method method = Method::paranoid;
    long nodeBudget = 20000;
    // A duel's budget is the node budget times this: the board is emptier and
    // each node cheaper, and the endgame needs the depth.
    int duelBudgetFactor = 4;
    // Horizon plies of captures in the duel.
    int captureDepth = 6;
    double secondsCap = 5.0;
    int maxDepth = 8;
    std::uint64_t seed = 0;
    // positionKey() of every position the game has had so far, in any order;
    // the position being searched may be among them. From a move record:
    // each entry's board with the seat that moved next. Empty: no repetition
    // with the game's past is seen, only along the duel's own lines.
    std::vector<std::uint64_t> history;
    // In a duel, what a move back to a position met before is worth to the
    // kingdom searching when it makes it; one its rival makes is a draw.
    // LEVEL4's is nothing: a draw either way.
    int duelRepetitionScore = 0;
};

struct Result {
    std::optional<Move> move;  // none: the kingdom has no legal move and passes
    int depth = 0;             // deepest iteration completed
    long nodes = 0;
    int score = 0;
};

// A position's identity for repetition: the pieces on their squares and the
// seat to move. Captures are for ever, so the counters need no part in it.
std::uint64_t positionKey(const Position& position);
std::uint64_t positionKey(const GameBoard& board, int seatToMove);

// Evaluation of the position for `block`: positive is good for it.
int evaluate(const Position& position, int block);

// The duel's evaluation for `block` against the one other kingdom in the
// game: zero-sum, so a position is worth to one what it costs the other.
int duelEvaluate(const Position& position, int block);

// Would the game refuse this king move ("自殺はできません")? Made on a copy.
bool kingMoveRefused(const Position& position, const Move& m);

Result search(const Position& position, const Settings& settings);

}  // namespace daro::engine
