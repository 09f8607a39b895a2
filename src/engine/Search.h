#pragma once
// The LEVEL4 computer's search for a game of seven.
//
// Paranoid search (the default): every kingdom moves in its turn and the
// others all play against the one to move. They are allowed only the
// captures that hurt it, or a quiet move that changes nothing for it, which
// keeps a whole round of seven within reach. Best-Reply Search, where the six
// others together make just the one reply worst for it between two of its
// own moves, is kept for comparison; in the arena it was a little weaker and
// twice as slow.
// The search is bounded by a node count, so it is the same for the same
// position and seed whatever the machine; a wall-clock cap guards the worst case.
#include <cstdint>
#include <optional>

#include "engine/Position.h"

namespace daro::engine {

enum class Method { bestReply, paranoid };

struct Settings {
    Method method = Method::paranoid;
    long nodeBudget = 20000;
    double secondsCap = 0.5;
    int maxDepth = 8;
    std::uint64_t seed = 0;
};

struct Result {
    std::optional<Move> move;  // none: the kingdom has no legal move and passes
    int depth = 0;             // deepest iteration completed
    long nodes = 0;
    int score = 0;
};

// Evaluation of the position for `block`: positive is good for it.
int evaluate(const Position& position, int block);

// Would the game refuse this king move ("自殺はできません")? Made on a copy.
bool kingMoveRefused(const Position& position, const Move& m);

Result search(const Position& position, const Settings& settings);

}  // namespace daro::engine
