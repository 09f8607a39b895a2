#pragma once
// LEVEL5's evaluation: a weighted sum of features of one kingdom's position.
// The features are LEVEL4's terms taken apart, plus a few more; the weights
// are fitted to the results of self-play games (daro-tune) and live in
// Level5Weights.cpp.
#include <array>
#include <vector>

#include "engine/Position.h"

namespace daro::engine {

enum Feature {
    fCaptured,           // pieces taken
    fKings,              // kings taken
    fPastTenWithKing,    // pieces taken past ten, once a king is taken
    fPastTwenty,         // pieces taken past twenty
    fRivalProgress,      // the nearest rival's progress toward a win
    fMaterial,           // the own pieces' values
    fPiecesShort,        // pieces below fourteen
    fHangingToMove,      // the best own piece open to capture, this kingdom to move
    fHangingWaiting,     // the same, another kingdom to move
    fKingOpenToMove,     // own king open to capture, this kingdom to move
    fKingOpenWaiting,    // the same, another kingdom to move
    fMobility,           // own moves
    fThreatToMove,       // the best capture on hand, this kingdom to move
    fThreatWaiting,      // the same, another kingdom to move
    fKingThreatToMove,   // a king capture on hand, this kingdom to move
    fKingThreatWaiting,  // the same, another kingdom to move
    fHangingCount,       // own pieces open to capture
    fCaptureCount,       // captures on hand
    fKingRoom,           // the king's neighbour squares no other piece reaches
    featureCount
};

using Features = std::array<int, featureCount>;
// Score = sum of weight * feature / weightScale.
using Weights = std::array<int, featureCount>;
constexpr int weightScale = 100;

extern const char* const featureNames[featureCount];

// The fitted weights LEVEL5 plays with.
extern const Weights level5Weights;
// LEVEL4's own terms as weights: the starting point of a fit.
extern const Weights level4Weights;

// The features of `block`, which is to move or not.
void level5Features(const Position& p, int block, bool toMove, Features& out);
int weigh(const Features& f, const Weights& w);

}  // namespace daro::engine
