#pragma once
// The two-player search the engine turns to when two kingdoms are left.
#include <vector>

#include "engine/Search.h"

namespace daro::engine {

// `rival` is the one other kingdom (block) still in the game.
Result duelSearch(const Position& position, const Settings& settings, int rival);

// duelEvaluate with the rival named.
int duelScore(const Position& position, int block, int rival);

// The moves of `block` the game would accept: those generated, less the
// king moves it refuses.
void duelMoves(Position& position, int block, std::vector<Move>& out, bool capturesOnly);

}  // namespace daro::engine
