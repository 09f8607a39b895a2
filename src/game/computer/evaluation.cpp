// The computer's one-ply score of a move, in exact tenths.
#include "table/Table.h"

namespace daro {

namespace {

// Worth of a coordinate by its distance from the centre line.
Score centreBand(int v) {
    if (v >= 1 && v <= 4) return 1;
    if (v >= 5 && v <= 8) return 2;
    if (v >= 9 && v <= 11) return 3;
    if (v >= 12 && v <= 15) return 2;
    if (v >= 16 && v <= 19) return 1;
    return 0;
}

int distanceFromCentre(int v) { return v > 10 ? v - 10 : 10 - v; }

constexpr Score kingCaptureBonus = 500;
constexpr Score betterPieceBonus = 200;
constexpr Score enemyReachPenalty = 10;
constexpr Score quietSquareBonus = 100;
constexpr Score wellDefendedBonus = 10;
// More than this many own pieces reaching the square count as well defended.
constexpr int wellDefendedCount = 2;

}  // namespace

Score Table::評価_移動得点(int fromX, int fromY, int toX, int toY) {
    // A step away from the centre in either direction is worth nothing.
    if (distanceFromCentre(fromX) < distanceFromCentre(toX)) return 0;
    if (distanceFromCentre(fromY) < distanceFromCentre(toY)) return 0;
    return centreBand(toX) + centreBand(toY);
}

Score Table::評価_盤(int captured, int mover, int fromX, int fromY, int toX, int toY) const {
    Score score = 評価_移動得点(fromX, fromY, toX, toY);

    if (captured != emptyCode) {
        bool kingTaken = false;
        for (int b = 1; b <= blockCount; ++b)
            if (captured == 10 * b + OHU) kingTaken = true;
        if (kingTaken)
            score += kingCaptureBonus;
        else if (kindOf(captured) > kindOf(mover))
            score += betterPieceBonus;
    }

    // The mover's block is the first whose king code is not below the mover.
    int block = 0;
    for (int b = 1; b <= blockCount; ++b) {
        if (mover <= 10 * b + OHU) {
            block = b;
            break;
        }
    }
    if (block == 0) return score;

    const int total = influenceTotal[toX][toY];
    const int own = kingdomInfluence[block][toX][toY];
    if (total - own > 0) score -= enemyReachPenalty;
    if (captured != emptyCode) {
        if (total == 0) score += quietSquareBonus;
        if (own > wellDefendedCount) score += wellDefendedBonus;
    }
    return score;
}

}  // namespace daro
