// LEVEL5's features; see Level5Eval.h.
#include "engine/Level5Eval.h"

#include <algorithm>

#include "engine/Common.h"

namespace daro::engine {

using namespace detail;

const char* const featureNames[featureCount] = {
    "captured",       "kings",          "past-ten-with-king", "past-twenty",      "rival-progress",
    "material",       "pieces-short",   "hanging-to-move",    "hanging-waiting",  "king-open-to-move",
    "king-open-waiting", "mobility",    "threat-to-move",     "threat-waiting",   "king-threat-to-move",
    "king-threat-waiting", "hanging-count", "capture-count",  "king-room",
};

// LEVEL4's evaluation in these terms (its king counted as 20000 when open,
// 1500 as a capture on hand).
const Weights level4Weights = {
    10000, 250000, 8000, 4000, -30, 100, -25000, -20, -60, -400000, -1200000, 300, 50, 12, 75000, 18750, 0, 0, 0,
};

namespace {

int progressOf(const Position& p, int block) {
    const int c = p.captured(block), k = p.kingsCaptured(block);
    int s = 100 * c + 2500 * k;
    if (k >= 1) s += 80 * std::max(0, c - 10);
    return s + 40 * std::max(0, c - 20);
}

int kingRoomOf(const Position& p, int block, const Position::SquareList& cavalry, int cavalryCount) {
    const int king = p.kingSquare(block);
    if (king == 0) return 0;
    static constexpr std::array<int, 8> around = {-stride - 1, -stride, -stride + 1, -1, 1,
                                                  stride - 1,  stride,  stride + 1};
    int room = 0;
    for (int d : around) {
        const int c = p.at(king + d);
        if (c == offBoard || c == centre || blockOf(c) == block) continue;
        if (!p.reachedByOthers(king + d, block, cavalry, cavalryCount)) ++room;
    }
    return room;
}

}  // namespace

void level5Features(const Position& p, int block, bool toMove, Features& f) {
    f.fill(0);
    const int c = p.captured(block), k = p.kingsCaptured(block);
    f[fCaptured] = c;
    f[fKings] = k;
    f[fPastTenWithKing] = k >= 1 ? std::max(0, c - 10) : 0;
    f[fPastTwenty] = std::max(0, c - 20);
    int worstRival = 0;
    for (int b = 1; b <= blockCount; ++b)
        if (b != block && p.pieceCount(b) > 0) worstRival = std::max(worstRival, progressOf(p, b));
    f[fRivalProgress] = worstRival;

    const int n = p.pieceCount(block);
    Position::SquareList cavalry;
    const int cavalryCount = p.otherCavalryNear(block, 1, cavalry);  // the king's room: one step out
    int hanging = 0, hangingCount = 0;
    bool kingOpen = false;
    for (int i = 0; i < n; ++i) {
        const int sq = p.pieceSquare(block, i);
        const int kind = kindOf(p.at(sq));
        f[fMaterial] += pieceValue[kind];
        if (kind == GYO || !p.capturableByOthers(sq, block, cavalry, cavalryCount)) continue;
        ++hangingCount;
        if (kind == OHU) kingOpen = true;
        else hanging = std::max(hanging, pieceValue[kind]);
    }
    if (kingOpen) hanging = 0;  // the king open outweighs any piece, as in LEVEL4
    f[fPiecesShort] = std::max(0, 14 - n);
    f[toMove ? fHangingToMove : fHangingWaiting] = hanging;
    f[toMove ? fKingOpenToMove : fKingOpenWaiting] = kingOpen;
    f[fHangingCount] = hangingCount;

    Position::MoveTally tally;
    p.tallyMoves(block, tally);
    f[fMobility] = tally.moves;
    int threat = 0, captures = 0;
    for (int kind = 0; kind < 10; ++kind) {
        const int n = tally.takes[static_cast<std::size_t>(kind)];
        captures += n;
        if (n > 0 && kind != OHU) threat = std::max(threat, pieceValue[static_cast<std::size_t>(kind)]);
    }
    const bool kingThreat = tally.takes[OHU] > 0;
    if (kingThreat) threat = 0;
    f[toMove ? fThreatToMove : fThreatWaiting] = threat;
    f[toMove ? fKingThreatToMove : fKingThreatWaiting] = kingThreat;
    f[fCaptureCount] = captures;
    f[fKingRoom] = kingRoomOf(p, block, cavalry, cavalryCount);
}

int weigh(const Features& f, const Weights& w) {
    long long s = 0;
    for (int i = 0; i < featureCount; ++i) s += static_cast<long long>(f[i]) * w[i];
    return static_cast<int>(s / weightScale);
}

}  // namespace daro::engine
