#pragma once
// What the engine's two searches share: scores, piece values, who still plays.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "engine/Position.h"

namespace daro::engine::detail {

// A kingdom that drops out has lost its game, only less surely than to a winner.
constexpr int dropOutScore = 500000;

// What a piece is worth to its own kingdom; the king is the kingdom itself.
constexpr std::array<int, 10> pieceValue = {60, 100, 110, 260, 240, 220, 260, 300, 340, 0};

inline int valueOf(int code) { return code >= 10 && code <= 79 ? pieceValue[kindOf(code)] : 0; }

inline bool stillPlaying(const Position& p, int block) {
    return p.pieceCount(block) > dropOutPieceCount && p.kingSquare(block) != 0;
}

inline std::uint64_t mix(std::uint64_t z) {
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Joined to the board's hash so the same board with another kingdom to move differs.
inline std::uint64_t seatKey(int seat) { return mix(0x5EA7ull + static_cast<std::uint64_t>(seat)); }

inline int seatAfter(int seat) { return seat % seatCount + 1; }

// Captures of kings first, then of the most valuable pieces.
inline int captureOrder(const Move& m) {
    if (m.captured == empty) return 0;
    return kindOf(m.captured) == OHU ? 10000 : 100 + valueOf(m.captured);
}

// The kingdoms still in the game; exactly two make a duel.
inline int kingdomsPlaying(const Position& p, std::array<int, 2>& firstTwo) {
    int n = 0;
    for (int b = 1; b <= blockCount; ++b)
        if (stillPlaying(p, b)) {
            if (n < 2) firstTwo[n] = b;
            ++n;
        }
    return n;
}

// With three kingdoms left the pieces close in on the king of the one
// nearest to dropping out, so that the game moves on to a duel.
inline int huntTarget(const Position& p, int root) {
    std::array<int, 2> firstTwo{};
    if (kingdomsPlaying(p, firstTwo) != 3 || !stillPlaying(p, root)) return 0;
    int target = 0;
    for (int b = 1; b <= blockCount; ++b)
        if (b != root && stillPlaying(p, b) && (target == 0 || p.pieceCount(b) < p.pieceCount(target)))
            target = b;
    return target;
}

// How close the root's pieces stand to the hunted king; nothing without a hunt.
inline int huntingScore(const Position& p, int root, int target) {
    const int king = target ? p.kingSquare(target) : 0;
    if (king == 0) return 0;
    int s = 0;
    for (int i = 0; i < p.pieceCount(root); ++i) {
        const int sq = p.pieceSquare(root, i);
        if (kindOf(p.at(sq)) == OHU) continue;
        const int distance = std::max(std::abs(fileOf(sq) - fileOf(king)), std::abs(rankOf(sq) - rankOf(king)));
        s += 3 * (19 - distance);
    }
    return s;
}

// A small, seed-given preference among moves of equal merit.
inline int tieNoise(std::uint64_t seed, const Move& m) {
    const std::uint64_t h = mix(seed ^ (static_cast<std::uint64_t>(m.from) << 16 | m.to));
    return static_cast<int>(h % 5);
}

}  // namespace daro::engine::detail
