#pragma once
// The LEVEL4 computer's search for a game of seven.
//
// Best-Reply Search: the kingdom to move maximises; between two of its moves
// the six others together make the one move worst for it (of their captures,
// or none), which keeps the depth reachable with seven players. Paranoid
// search, every other kingdom in its turn minimising, is kept for comparison.
// The search is bounded by a node count, so it is the same for the same
// position and seed whatever the machine; a wall-clock cap guards the worst case.
#include <cstdint>
#include <optional>

#include "engine/Position.h"

namespace daro::engine {

enum class Method { bestReply, paranoid };

struct Settings {
    Method method = Method::bestReply;
    long nodeBudget = 20000;
    double secondsCap = 0.8;
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
