#include "GameFixture.h"

using daro::Form1;
using daro::test::GameFixture;

namespace {

class KingLookup : public GameFixture {};

TEST_F(KingLookup, FindsKingsOfTheInitialPosition) {
    form.初期設定();
    form.table.取得_王座標(59);
    form.table.取得_王座標(19);
    EXPECT_EQ(form.table.kingX[5], 1);
    EXPECT_EQ(form.table.kingY[5], 10);
    EXPECT_EQ(form.table.kingX[1], 19);
    EXPECT_EQ(form.table.kingY[1], 6);
}

TEST_F(KingLookup, CapturedKingKeepsItsLastSquare) {
    form.初期設定();
    form.table.取得_王座標(19);
    form.board[19][6] = 58;  // taken by 秦's HII
    EXPECT_EQ(form.table.存在チェック駒(19), Form1::valueNo);
    form.table.取得_王座標(19);
    EXPECT_EQ(form.table.kingX[1], 19);
    EXPECT_EQ(form.table.kingY[1], 6);
}

TEST_F(KingLookup, NonKingCodeChangesNothingAndFirstSquareInScanOrderWins) {
    clearBoard();
    form.board[4][4] = 52;
    form.table.取得_王座標(52);
    EXPECT_EQ(form.table.kingX, (std::array<int, 8>{}));
    // x runs in the outer loop: (3, 18) comes before (4, 2).
    form.board[4][2] = 59;
    form.board[3][18] = 59;
    form.table.取得_王座標(59);
    EXPECT_EQ(form.table.kingX[5], 3);
    EXPECT_EQ(form.table.kingY[5], 18);
}

TEST(KingOfSeat, IsTheBlocksKingAndNoCodeForNoSeat) {
    EXPECT_EQ(Form1::取得_手番王(1), 59);
    EXPECT_EQ(Form1::取得_手番王(5), 19);
    EXPECT_EQ(Form1::取得_手番王(Form1::noSeat), Form1::noPieceCode);
    EXPECT_EQ(Form1::取得_手番王(0), Form1::noPieceCode);
    EXPECT_EQ(Form1::取得_手番王(8), Form1::noPieceCode);
}

}  // namespace
