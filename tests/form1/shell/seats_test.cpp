#include <gtest/gtest.h>

#include "GameFixture.h"

namespace daro::test {
namespace {

class Seats : public GameFixture {
protected:
    void SetUp() override {
        window.setChecked("AICON", true);
        form.初期設定();
        window.boxes.clear();
    }

    // The block whose piece arrived on a square between record entries n-1 and n.
    int blockMovedIn(int n) const {
        const Board a = form.moveRecord[n - 1].board();
        const Board b = form.moveRecord[n].board();
        for (int x = 1; x <= 19; ++x)
            for (int y = 1; y <= 19; ++y)
                if (a[x][y] != b[x][y] && b[x][y] != Form1::emptyCode) return Form1::blockOfCode(b[x][y]);
        return 0;
    }
};

TEST_F(Seats, ANewGameAtTheFifthSeatLetsTheFourComputersBeforeItMoveInOrder) {
    form.rotationStop = Form1::valueYes;  // left over from an earlier game
    form.JYUNBAN_5_Click();
    EXPECT_TRUE(window.boxes.empty());
    ASSERT_EQ(form.moveNumber, 4);
    ASSERT_GE(form.moveRecord.size(), 5u);
    EXPECT_EQ(blockMovedIn(1), 5);  // 秦
    EXPECT_EQ(blockMovedIn(2), 6);  // 楚
    EXPECT_EQ(blockMovedIn(3), 7);  // 韓
    EXPECT_EQ(blockMovedIn(4), 3);  // 斉
    EXPECT_EQ(form.turnSeat, 5);
    for (int s = 1; s <= 7; ++s)
        EXPECT_EQ(form.seatPlayer[s], s == 5 ? Form1::playerHuman : Form1::playerComputer) << s;
    EXPECT_EQ(form.gameMode, Form1::modeOnePlayer);
    EXPECT_EQ(form.gameStarted, Form1::valueYes);
    EXPECT_TRUE(window.iconVisible["ICO_MAN_GI"]);
}

TEST_F(Seats, ANewGameAtTheFirstSeatOnlyTellsQinToMove) {
    const Board start = form.board;
    form.JYUNBAN_1_Click();
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, "秦の番です");
    EXPECT_EQ(window.boxes[0].title, "");
    EXPECT_EQ(window.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(form.moveNumber, 0);
    EXPECT_EQ(form.board, start);
    EXPECT_EQ(form.turnSeat, 1);
    EXPECT_TRUE(window.iconVisible["ICO_MAN_SOU"]);
}

TEST_F(Seats, ChoosingTheSeatToMoveMidGameNamesItsKingdomAndMovesNothing) {
    form.turnSeat = 3;
    form.JYUNBAN_3_Click();
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, "韓の番です");
    EXPECT_EQ(window.boxes[0].title, " ");
    EXPECT_EQ(form.moveNumber, 0);
    EXPECT_EQ(form.turnSeat, 3);
}

TEST_F(Seats, ReseatingMidGameLetsTheComputersPlayOnToTheNewSeat) {
    form.turnSeat = 6;
    form.JYUNBAN_2_Click();
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(form.moveNumber, 3);  // 趙, 燕, 秦
    EXPECT_EQ(form.turnSeat, 2);

    // 秦 chosen while 楚 (now a computer) is to move: 楚 .. 燕 play first.
    form.JYUNBAN_1_Click();
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(form.moveNumber, 9);
    EXPECT_EQ(form.turnSeat, 1);
}

}  // namespace
}  // namespace daro::test
