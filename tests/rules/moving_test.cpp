#include "GameFixture.h"

using daro::Form1;
using daro::test::GameFixture;

namespace {

class Moving : public GameFixture {
protected:
    void SetUp() override { clearBoard(); }
};

TEST_F(Moving, CaptureIsBookedForTheCapturingBlockOnly) {
    form.board[3][3] = 52;
    form.board[3][4] = 11;
    form.board[7][7] = 11;
    form.table.駒移動(3, 3, 3, 4, 52);
    EXPECT_EQ(form.board[3][3], Form1::emptyCode);
    EXPECT_EQ(form.board[3][4], 52);
    EXPECT_EQ(form.capturedCount[5], 1);
    EXPECT_EQ(form.kingsCapturedCount[5], 0);
    EXPECT_EQ(form.capturedCount[1], 0);
    EXPECT_EQ(form.table.調査_駒数(5), 1);  // 魏 has one TOU left

    form.table.調査_駒取得("取られる", 52, 11);
    EXPECT_EQ(form.capturedCount[5], 0);
    EXPECT_EQ(form.kingsCapturedCount[5], 0);
}

TEST_F(Moving, KingCaptureRaisesBothCountersAndTakingBackRestoresThem) {
    form.board[2][2] = 57;
    form.board[6][6] = 19;
    form.table.駒移動(2, 2, 6, 6, 57);
    EXPECT_EQ(form.capturedCount[5], 1);
    EXPECT_EQ(form.kingsCapturedCount[5], 1);
    form.table.調査_駒取得("取られる", 57, 19);
    EXPECT_EQ(form.capturedCount[5], 0);
    EXPECT_EQ(form.kingsCapturedCount[5], 0);
}

TEST_F(Moving, CaptureBookkeepingIgnoresUnknownModesMoversAndEmptySquares) {
    form.table.調査_駒取得("取", 52, 11);
    form.table.調査_駒取得("取る", Form1::centreCode, 11);
    form.table.調査_駒取得("取る", 5, 19);
    form.table.調査_駒取得("取る", 52, Form1::emptyCode);
    EXPECT_EQ(form.capturedCount, (std::array<int, 8>{}));
    EXPECT_EQ(form.kingsCapturedCount, (std::array<int, 8>{}));
}

TEST_F(Moving, PieceCountOfNoSeatIsZero) {
    form.初期設定();
    EXPECT_EQ(form.table.調査_駒数(Form1::noSeat), 0);
    EXPECT_EQ(form.table.調査_駒数(0), 0);
    EXPECT_EQ(form.table.調査_駒数(8), 0);
}

TEST_F(Moving, MoveWithASquareOffTheBoardChangesNothing) {
    form.board[1][1] = 52;
    const daro::Board before = form.board;
    form.table.駒移動(1, 1, 0, 1, 52);
    form.table.駒移動(-3, 1, 1, 1, 52);
    form.table.駒移動(1, 1, 1, 20, 52);
    EXPECT_EQ(form.board, before);
}

}  // namespace
