// The engine's endgame: two kingdoms left are searched as an exact two-player
// game, and a move back to a position the game has had is a draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine/Search.h"

namespace daro::test {
namespace {

using engine::GameBoard;
using engine::Move;
using engine::Position;

GameBoard emptyBoard() {
    GameBoard b{};
    b[10][10] = engine::centre;
    return b;
}

bool inGame(const Position& p, int block) {
    return p.pieceCount(block) > engine::dropOutPieceCount && p.kingSquare(block) != 0;
}

std::vector<Move> acceptedMoves(const Position& p, int block, bool capturesOnly) {
    std::vector<Move> moves;
    if (capturesOnly)
        p.generateCaptures(block, moves);
    else
        p.generate(block, moves);
    std::erase_if(moves, [&](const Move& m) {
        return engine::kindOf(m.piece) == engine::OHU && engine::kingMoveRefused(p, m);
    });
    return moves;
}

// Plain minimax of the duel, every line to its end: at the horizon the side
// to move stands on the evaluation or takes, for `captures` plies.
struct BruteForce {
    int captures;

    int horizon(Position& p, int side, int rival, int ply, int plies) const {
        int best = engine::duelEvaluate(p, side);
        if (plies == 0) return best;
        for (const Move& m : acceptedMoves(p, side, true)) {
            p.make(m);
            const int v = wins(p, side, rival) ? engine::winScore - ply : -horizon(p, rival, side, ply + 1, plies - 1);
            p.unmake(m);
            best = std::max(best, v);
        }
        return best;
    }

    static bool wins(const Position& p, int mover, int rival) { return p.hasWon(mover) || !inGame(p, rival); }

    int value(Position& p, int side, int rival, int depth, int ply, bool afterPass) const {
        if (depth == 0) return horizon(p, side, rival, ply, captures);
        const auto moves = acceptedMoves(p, side, false);
        if (moves.empty()) return afterPass ? 0 : -value(p, rival, side, depth - 1, ply + 1, true);
        int best = -2 * engine::winScore;
        for (const Move& m : moves) best = std::max(best, valueOf(p, m, side, rival, depth, ply));
        return best;
    }

    int valueOf(Position& p, const Move& m, int side, int rival, int depth, int ply) const {
        p.make(m);
        const int v = wins(p, side, rival) ? engine::winScore - ply : -value(p, rival, side, depth - 1, ply + 1, false);
        p.unmake(m);
        return v;
    }
};

// Two kingdoms packed into one corner of the board, each a few pieces above
// the drop-out line, so some lines end in wins and losses within a few plies.
GameBoard crowdedDuel(std::mt19937& rng, int a, int b) {
    GameBoard board = emptyBoard();
    std::vector<std::pair<int, int>> squares;
    for (int x = 11; x <= 19; ++x)
        for (int y = 11; y <= 19; ++y) squares.push_back({x, y});
    std::shuffle(squares.begin(), squares.end(), rng);
    std::size_t next = 0;
    for (int block : {a, b}) {
        const int pieces = 11 + static_cast<int>(rng() % 3);
        for (int i = 0; i < pieces; ++i) {
            const auto [x, y] = squares[next++];
            // Steppers mostly, and two long-range pieces, keep the tree small.
            static constexpr int steppers[] = {engine::GYO, engine::TOU, engine::KEN};
            static constexpr int ranged[] = {engine::DOU, engine::KIB, engine::KYU,
                                             engine::HOU, engine::HEN, engine::HII};
            const int kind = i == 0  ? engine::OHU
                             : i < 3 ? ranged[rng() % 6]
                                     : steppers[rng() % 3];
            board[x][y] = 10 * block + kind;
        }
    }
    return board;
}

TEST(Duel, AlphaBetaFindsExactlyTheMinimaxValue) {
    std::mt19937 rng(20);
    int decided = 0, searched = 0;
    for (int round = 0; searched < 9 && round < 400; ++round) {
        // Seat 1 is block 5, seat 2 block 6; block 1 plays seat 5.
        const int seat = round % 2 ? 2 : 5;
        const int side = engine::blockOfSeat[seat], rival = round % 2 ? 5 : 6;
        Position p(crowdedDuel(rng, side, rival), {}, {}, seat);
        // Neither king already open to capture: the lines go on past the first ply.
        if (p.capturableByOthers(p.kingSquare(side), side) || p.capturableByOthers(p.kingSquare(rival), rival))
            continue;
        engine::Settings s;
        s.maxDepth = searched % 3 ? 2 : 3;
        s.captureDepth = searched % 3 ? 2 : 0;
        ++searched;
        s.nodeBudget = 1L << 40;
        s.secondsCap = 1e9;
        const BruteForce brute{s.captureDepth};
        const engine::Result r = engine::search(p, s);
        ASSERT_TRUE(r.move) << "round " << round;
        // A search that has found every move won or lost stops there.
        const int depth = std::abs(r.score) >= engine::winScore / 2 ? r.depth : s.maxDepth;
        ASSERT_EQ(r.depth, depth) << "round " << round;
        const int expected = brute.value(p, side, rival, depth, 0, false);
        EXPECT_EQ(r.score, expected) << "round " << round;
        EXPECT_EQ(brute.valueOf(p, *r.move, side, rival, depth, 0), expected) << "round " << round;
        decided += std::abs(expected) >= engine::winScore / 2;
    }
    // The positions reach the wins and losses, not only the evaluation.
    EXPECT_GE(decided, 1);
    EXPECT_EQ(searched, 9);
}

// Block 5 (seat 1) in the top-left corner, block 6 (seat 2) in the bottom
// right: steppers only, far apart, so nothing can be taken. Each has a GYO
// free to step out and back.
struct BackAndForth {
    GameBoard board = emptyBoard();
    Move out5{}, back5{}, out6{}, back6{};

    explicit BackAndForth(int strongBlock) {
        const auto fill = [&](int block, int corner, int pieces) {
            const int step = corner == 1 ? 1 : -1;
            board[corner][corner] = 10 * block + engine::OHU;
            int placed = 1;
            for (int i = 0; i < 5 && placed < pieces - 1; ++i)
                for (int j = 0; j < 5 && placed < pieces - 1; ++j)
                    if (i + j > 0) board[corner + step * i][corner + step * j] = 10 * block + engine::KEN, ++placed;
            board[corner + step * 7][corner + step * 2] = 10 * block + engine::GYO;
        };
        fill(5, 1, strongBlock == 5 ? 17 : 12);
        fill(6, 19, strongBlock == 6 ? 17 : 12);
        out5 = slide(8, 3, 8, 4, 50);
        back5 = slide(8, 4, 8, 3, 50);
        out6 = slide(12, 17, 12, 16, 60);
        back6 = slide(12, 16, 12, 17, 60);
    }

    static Move slide(int fx, int fy, int tx, int ty, int piece) {
        return {static_cast<std::int16_t>(engine::square(fx, fy)), static_cast<std::int16_t>(engine::square(tx, ty)),
                static_cast<std::int8_t>(piece), engine::empty};
    }

    // Out and back for seat 1, out for seat 2: seat 2 to move, and its GYO's
    // way back leads to the first position again.
    Position played(std::vector<std::uint64_t>& keys) const {
        Position p(board, {}, {}, 1);
        for (const Move& m : {out5, out6, back5}) {
            keys.push_back(engine::positionKey(p));
            p.make(m);
            p.setSeatToMove(p.seatToMove() % 2 + 1);
        }
        return p;
    }
};

TEST(Repetition, KingdomBehindTakesTheDrawAheadPlaysOn) {
    for (int strong : {5, 6}) {
        const BackAndForth game(strong);
        std::vector<std::uint64_t> keys;
        const Position p = game.played(keys);
        ASSERT_EQ(p.pieceCount(5) + p.pieceCount(6), 29);
        ASSERT_EQ(engine::positionKey(game.board, 1), keys.front());
        engine::Settings s;
        s.maxDepth = 3;
        s.secondsCap = 1e9;

        const engine::Result blind = engine::search(p, s);
        s.history = keys;
        const engine::Result seeing = engine::search(p, s);
        ASSERT_TRUE(blind.move && seeing.move);
        if (strong == 6) {
            // Ahead: the draw is worth less than playing on.
            EXPECT_GT(seeing.score, 0);
            EXPECT_NE(*seeing.move, game.back6);
        } else {
            // Behind: the GYO goes back and the line scores exactly a draw,
            // which it could not see without the game's positions.
            EXPECT_LT(blind.score, 0);
            EXPECT_EQ(*seeing.move, game.back6);
            EXPECT_EQ(seeing.score, 0);
        }
    }
}

TEST(Repetition, KeyTellsTheSeatToMoveAndFollowsMakeAndUnmake) {
    const BackAndForth game(5);
    Position p(game.board, {}, {}, 2);
    const std::uint64_t start = engine::positionKey(p);
    EXPECT_NE(start, engine::positionKey(game.board, 1));
    EXPECT_EQ(start, engine::positionKey(game.board, 2));
    p.make(game.out6);
    EXPECT_NE(engine::positionKey(p), start);
    p.unmake(game.out6);
    EXPECT_EQ(engine::positionKey(p), start);
}

}  // namespace
}  // namespace daro::test
