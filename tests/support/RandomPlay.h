#pragma once
// Legal moves of a kingdom and seeded random play, for tests and benchmarks.

#include <random>
#include <vector>

#include "Form1.h"

namespace daro::test {

struct Move {
    int fromX, fromY, toX, toY, piece;
};

// Every move of the seat's pieces that 移動チェック accepts, in board order.
inline std::vector<Move> legalMoves(const Form1& form, int seat) {
    std::vector<Move> moves;
    const int block = Form1::blockOfSeat(seat);
    for (int x = 1; x <= Form1::boardSize; ++x)
        for (int y = 1; y <= Form1::boardSize; ++y) {
            const int piece = form.board[x][y];
            if (block == 0 || Form1::blockOfCode(piece) != block) continue;
            for (int tx = 1; tx <= Form1::boardSize; ++tx)
                for (int ty = 1; ty <= Form1::boardSize; ++ty)
                    if (form.移動チェック(x, y, tx, ty, piece) == Form1::valueYes)
                        moves.push_back({x, y, tx, ty, piece});
        }
    return moves;
}

// Plays `count` uniformly chosen legal moves, the turn going round with
// 手番_進 from form.turnSeat (seat 1 when no game runs). A seat without a
// legal move passes.
inline void playRandomMoves(Form1& form, std::mt19937& rng, int count) {
    int seat = form.turnSeat == Form1::noSeat ? 1 : form.turnSeat;
    for (int i = 0; i < count && seat != Form1::noSeat; ++i) {
        const std::vector<Move> moves = legalMoves(form, seat);
        if (!moves.empty()) {
            std::uniform_int_distribution<std::size_t> pick(0, moves.size() - 1);
            const Move& m = moves[pick(rng)];
            form.駒移動(m.fromX, m.fromY, m.toX, m.toY, m.piece);
        }
        seat = form.手番_進(seat);
    }
    form.turnSeat = seat;
}

}  // namespace daro::test
