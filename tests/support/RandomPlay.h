#pragma once
// Legal moves of a kingdom and seeded random play, for tests and benchmarks.

#include <random>
#include <vector>

#include "table/Table.h"

namespace daro::test {

struct Move {
    int fromX, fromY, toX, toY, piece;
};

// Every move of the seat's pieces that 移動チェック accepts, in board order.
inline std::vector<Move> legalMoves(const Table& table, int seat) {
    std::vector<Move> moves;
    const int block = Table::blockOfSeat(seat);
    for (int x = 1; x <= Table::boardSize; ++x)
        for (int y = 1; y <= Table::boardSize; ++y) {
            const int piece = table.board[x][y];
            if (block == 0 || Table::blockOfCode(piece) != block) continue;
            for (int tx = 1; tx <= Table::boardSize; ++tx)
                for (int ty = 1; ty <= Table::boardSize; ++ty)
                    if (table.移動チェック(x, y, tx, ty, piece) == Table::valueYes)
                        moves.push_back({x, y, tx, ty, piece});
        }
    return moves;
}

// Plays `count` uniformly chosen legal moves, the turn going round with
// 手番_進 from the table's turnSeat (seat 1 when no game runs). A seat without a
// legal move passes.
inline void playRandomMoves(Table& table, std::mt19937& rng, int count) {
    int seat = table.turnSeat == Table::noSeat ? 1 : table.turnSeat;
    for (int i = 0; i < count && seat != Table::noSeat; ++i) {
        const std::vector<Move> moves = legalMoves(table, seat);
        if (!moves.empty()) {
            std::uniform_int_distribution<std::size_t> pick(0, moves.size() - 1);
            const Move& m = moves[pick(rng)];
            table.駒移動(m.fromX, m.fromY, m.toX, m.toY, m.piece);
        }
        seat = table.手番_進(seat);
    }
    table.turnSeat = seat;
}

}  // namespace daro::test
