// Thousands of random legal moves from the opening, checking what must hold
// in every position reached by play.
#include <random>

#include "TableFixture.h"
#include "RandomPlay.h"

using daro::Table;
using daro::test::TableFixture;
using daro::test::legalMoves;
using daro::test::Move;

namespace {

class RandomPlay : public TableFixture {};

TEST_F(RandomPlay, InvariantsHoldMoveAfterMove) {
    table.初期設定();
    std::mt19937 rng(20261207);
    std::array<int, 8> takenFrom{};    // by block: pieces others captured
    std::array<int, 8> captures{};     // by block: pieces this block captured
    std::array<int, 8> kingCaptures{};
    std::array<bool, 8> eliminated{};  // by block
    int eliminatedPieces = 0;
    int seat = 1;
    int movesMade = 0;
    for (int turn = 0; turn < 2500 && seat != Table::noSeat; ++turn) {
        // A kingdom without its king leaves the game when its turn comes.
        const int block = Table::blockOfSeat(seat);
        if (table.存在チェック駒(Table::取得_手番王(seat)) != Table::valueYes) {
            eliminatedPieces += table.調査_駒数(seat);
            table.戦線離脱処理(seat);
            eliminated[block] = true;
            seat = table.手番_進(seat);
            continue;
        }
        const std::vector<Move> moves = legalMoves(table, seat);
        for (const Move& m : moves) {
            const int target = board[m.toX][m.toY];
            ASSERT_NE(target, Table::centreCode);
            ASSERT_FALSE(Table::blockOfCode(target) != 0 && Table::kindOf(target) == Table::GYO);
            ASSERT_NE(Table::blockOfCode(target), block);
        }
        if (!moves.empty()) {
            std::uniform_int_distribution<std::size_t> pick(0, moves.size() - 1);
            const Move m = moves[pick(rng)];
            const int target = board[m.toX][m.toY];
            if (target != Table::emptyCode) {
                ++takenFrom[Table::blockOfCode(target)];
                ++captures[block];
                if (Table::isKingCode(target)) ++kingCaptures[block];
            }
            table.駒移動(m.fromX, m.fromY, m.toX, m.toY, m.piece);
            ++movesMade;
        }

        ASSERT_EQ(board[10][10], Table::centreCode);
        int onBoard = 0;
        for (int s = 1; s <= 7; ++s) {
            const int b = Table::blockOfSeat(s);
            ASSERT_EQ(table.調査_駒数(s), eliminated[b] ? 0 : 17 - takenFrom[b]) << "seat " << s;
            ASSERT_EQ(capturedCount[b], captures[b]);
            ASSERT_EQ(kingsCapturedCount[b], kingCaptures[b]);
            onBoard += table.調査_駒数(s);
        }
        int capturedTotal = 0;
        for (int b = 1; b <= 7; ++b) capturedTotal += capturedCount[b];
        ASSERT_EQ(capturedTotal, 119 - onBoard - eliminatedPieces);

        const daro::Board before = board;
        table.勢力調査();
        ASSERT_EQ(board, before);

        seat = table.手番_進(seat);
    }
    EXPECT_GT(movesMade, 2000);
    int captured = 0;
    for (int b = 1; b <= 7; ++b) captured += capturedCount[b];
    EXPECT_GT(captured, 20);
}

}  // namespace
