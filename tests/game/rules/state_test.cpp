#include "TableFixture.h"

using daro::Table;
using daro::test::TableFixture;

namespace {

class KingLookup : public TableFixture {};

TEST_F(KingLookup, FindsKingsOfTheInitialPosition) {
    table.初期設定();
    table.取得_王座標(59);
    table.取得_王座標(19);
    EXPECT_EQ(table.kingX[5], 1);
    EXPECT_EQ(table.kingY[5], 10);
    EXPECT_EQ(table.kingX[1], 19);
    EXPECT_EQ(table.kingY[1], 6);
}

TEST_F(KingLookup, CapturedKingKeepsItsLastSquare) {
    table.初期設定();
    table.取得_王座標(19);
    board[19][6] = 58;  // taken by 秦's HII
    EXPECT_EQ(table.存在チェック駒(19), Table::valueNo);
    table.取得_王座標(19);
    EXPECT_EQ(table.kingX[1], 19);
    EXPECT_EQ(table.kingY[1], 6);
}

TEST_F(KingLookup, NonKingCodeChangesNothingAndFirstSquareInScanOrderWins) {
    clearBoard();
    board[4][4] = 52;
    table.取得_王座標(52);
    EXPECT_EQ(table.kingX, (std::array<int, 8>{}));
    // x runs in the outer loop: (3, 18) comes before (4, 2).
    board[4][2] = 59;
    board[3][18] = 59;
    table.取得_王座標(59);
    EXPECT_EQ(table.kingX[5], 3);
    EXPECT_EQ(table.kingY[5], 18);
}

TEST(KingOfSeat, IsTheBlocksKingAndNoCodeForNoSeat) {
    EXPECT_EQ(Table::取得_手番王(1), 59);
    EXPECT_EQ(Table::取得_手番王(5), 19);
    EXPECT_EQ(Table::取得_手番王(Table::noSeat), Table::noPieceCode);
    EXPECT_EQ(Table::取得_手番王(0), Table::noPieceCode);
    EXPECT_EQ(Table::取得_手番王(8), Table::noPieceCode);
}

}  // namespace
