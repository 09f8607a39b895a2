#include "TableFixture.h"

using daro::Table;
using daro::test::TableFixture;

namespace {

class Moving : public TableFixture {
protected:
    void SetUp() override { clearBoard(); }
};

TEST_F(Moving, CaptureIsBookedForTheCapturingBlockOnly) {
    board[3][3] = 52;
    board[3][4] = 11;
    board[7][7] = 11;
    table.駒移動(3, 3, 3, 4, 52);
    EXPECT_EQ(board[3][3], Table::emptyCode);
    EXPECT_EQ(board[3][4], 52);
    EXPECT_EQ(capturedCount[5], 1);
    EXPECT_EQ(kingsCapturedCount[5], 0);
    EXPECT_EQ(capturedCount[1], 0);
    EXPECT_EQ(table.調査_駒数(5), 1);  // 魏 has one TOU left

    table.調査_駒取得("取られる", 52, 11);
    EXPECT_EQ(capturedCount[5], 0);
    EXPECT_EQ(kingsCapturedCount[5], 0);
}

TEST_F(Moving, KingCaptureRaisesBothCountersAndTakingBackRestoresThem) {
    board[2][2] = 57;
    board[6][6] = 19;
    table.駒移動(2, 2, 6, 6, 57);
    EXPECT_EQ(capturedCount[5], 1);
    EXPECT_EQ(kingsCapturedCount[5], 1);
    table.調査_駒取得("取られる", 57, 19);
    EXPECT_EQ(capturedCount[5], 0);
    EXPECT_EQ(kingsCapturedCount[5], 0);
}

TEST_F(Moving, CaptureBookkeepingIgnoresUnknownModesMoversAndEmptySquares) {
    table.調査_駒取得("取", 52, 11);
    table.調査_駒取得("取る", Table::centreCode, 11);
    table.調査_駒取得("取る", 5, 19);
    table.調査_駒取得("取る", 52, Table::emptyCode);
    EXPECT_EQ(capturedCount, (std::array<int, 8>{}));
    EXPECT_EQ(kingsCapturedCount, (std::array<int, 8>{}));
}

TEST_F(Moving, PieceCountOfNoSeatIsZero) {
    table.初期設定();
    EXPECT_EQ(table.調査_駒数(Table::noSeat), 0);
    EXPECT_EQ(table.調査_駒数(0), 0);
    EXPECT_EQ(table.調査_駒数(8), 0);
}

TEST_F(Moving, MoveWithASquareOffTheBoardChangesNothing) {
    board[1][1] = 52;
    const daro::Board before = board;
    table.駒移動(1, 1, 0, 1, 52);
    table.駒移動(-3, 1, 1, 1, 52);
    table.駒移動(1, 1, 1, 20, 52);
    EXPECT_EQ(board, before);
}

}  // namespace
