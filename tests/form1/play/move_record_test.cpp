#include "PlayFixture.h"

using daro::Board;
using daro::Form1;

namespace daro::test {
namespace {

class MoveRecord : public PlayFixture {};

TEST_F(MoveRecord, StepsAreRefusedBeforeAGameAndAtEitherEnd) {
    form.REPLAY_Click();
    form.AFTER_Click();
    EXPECT_EQ(window.boxes.size(), 2u);
    EXPECT_TRUE(boxShown("「対局」で始めて下さい", "開始"));

    startSevenPlayers();
    form.REPLAY_Click();
    form.AFTER_Click();
    EXPECT_TRUE(boxShown("できません", "戻る"));
    EXPECT_TRUE(boxShown("できません", "進む"));
    EXPECT_EQ(played(), (std::vector<std::int32_t>{forbidden, forbidden}));
    EXPECT_EQ(form.moveNumber, 0);
    EXPECT_EQ(form.recordNavigated, Form1::valueNo);
}

TEST_F(MoveRecord, BackAndForthOverOneMove) {
    startSevenPlayers();
    const Board start = form.board;
    move(4, 10, 4, 6);
    const Board after = form.board;
    form.rotationStop = Form1::valueYes;

    form.REPLAY_Click();
    EXPECT_EQ(form.board, start);
    EXPECT_EQ(form.moveNumber, 0);
    EXPECT_EQ(form.turnSeat, 1);
    EXPECT_EQ(form.recordNavigated, Form1::valueYes);
    EXPECT_EQ(form.rotationStop, Form1::valueNo);

    form.AFTER_Click();
    EXPECT_EQ(form.board, after);
    EXPECT_EQ(form.moveNumber, 1);
    EXPECT_EQ(form.turnSeat, 2);
    EXPECT_EQ(played(), (std::vector<std::int32_t>{piece, piece, piece}));
}

TEST_F(MoveRecord, CapturesAreTakenOffAndCountedAgain) {
    layOut({{1, 1, 59}, {1, 5, 58}, {1, 9, 69}, {5, 19, 62}, {19, 19, 79}});
    startSevenPlayers();
    move(1, 5, 1, 9);  // 秦 takes 楚's king
    ASSERT_EQ(form.capturedCount[5], 1);
    ASSERT_EQ(form.kingsCapturedCount[5], 1);

    form.REPLAY_Click();
    EXPECT_EQ(form.board[1][9], 69);
    EXPECT_EQ(form.board[1][5], 58);
    EXPECT_EQ(form.capturedCount[5], 0);
    EXPECT_EQ(form.kingsCapturedCount[5], 0);

    form.AFTER_Click();
    EXPECT_EQ(form.board[1][9], 58);
    EXPECT_EQ(form.capturedCount[5], 1);
    EXPECT_EQ(form.kingsCapturedCount[5], 1);
    for (int b = 1; b <= 7; ++b) {  // the victim's kingdom counts nothing
        if (b == 5) continue;
        EXPECT_EQ(form.capturedCount[b], 0) << b;
        EXPECT_EQ(form.kingsCapturedCount[b], 0) << b;
    }
}

TEST_F(MoveRecord, ANewMoveAfterSteppingBackEndsTheRecordThere) {
    startSevenPlayers();
    move(4, 10, 4, 6);
    move(6, 15, 6, 11);
    form.REPLAY_Click();
    form.REPLAY_Click();
    EXPECT_EQ(form.moveNumber, 0);
    EXPECT_EQ(form.recordEnd, 2);

    clickSquare(4, 10);  // resumes only
    EXPECT_TRUE(boxShown("OKですか？", "再開"));
    EXPECT_EQ(form.clickPhase, 0);
    EXPECT_EQ(form.recordNavigated, Form1::valueNo);

    move(4, 10, 7, 7);
    EXPECT_EQ(form.moveNumber, 1);
    EXPECT_EQ(form.recordEnd, 1);
    forget();
    form.AFTER_Click();
    EXPECT_TRUE(boxShown("できません", "進む"));
    EXPECT_EQ(form.board[7][7], 55);
}

TEST_F(MoveRecord, BackToTheStartStopsTheGame) {
    startSevenPlayers();
    Form1 fresh{window, clock, &sound};
    fresh.初期設定();
    move(4, 10, 4, 6);

    form.CANCEL_Click();
    EXPECT_EQ(form.board, fresh.board);
    EXPECT_EQ(form.moveNumber, 0);
    EXPECT_EQ(form.recordEnd, 0);
    EXPECT_EQ(form.gameStarted, Form1::valueNo);

    forget();
    clickSquare(4, 10);
    form.REPLAY_Click();
    EXPECT_EQ(window.boxes.size(), 2u);
    EXPECT_TRUE(boxShown("「対局」で始めて下さい", "開始"));
    EXPECT_EQ(form.board, fresh.board);
}

TEST_F(MoveRecord, SavingGrowsTheRecordAndLeavesLaterEntriesAlone) {
    form.board[8][8] = 54;
    form.table.手順保存(10);
    ASSERT_EQ(form.moveRecord.size(), 11u);
    EXPECT_EQ(form.moveRecord[10].board(), form.board);

    form.board[8][8] = Form1::emptyCode;
    form.table.手順保存(2);
    EXPECT_EQ(form.moveRecord.size(), 11u);
    EXPECT_EQ(form.moveRecord[2].board(), form.board);
    EXPECT_EQ(form.moveRecord[10].board()[8][8], 54);
}

TEST_F(MoveRecord, AGameLongerThanFiveHundredMovesIsKeptWhole) {
    layOut({{1, 1, 59}, {1, 3, 52}, {19, 19, 69}, {19, 17, 62}});
    startSevenPlayers();
    const int moves = 620;
    for (int n = 0; n < moves; ++n) {
        const bool qin = n % 2 == 0;
        const bool out = n % 4 < 2;  // each sword steps aside and back
        if (qin)
            out ? move(1, 3, 2, 3) : move(2, 3, 1, 3);
        else
            out ? move(19, 17, 18, 17) : move(18, 17, 19, 17);
        ASSERT_EQ(form.moveNumber, n + 1);
    }
    EXPECT_EQ(form.recordEnd, moves);
    ASSERT_GE(form.moveRecord.size(), static_cast<std::size_t>(moves + 1));
    EXPECT_EQ(form.moveRecord[moves].board(), form.board);
    EXPECT_EQ(form.moveRecord[501].board()[2][3], 52);  // move 501 is 秦's step aside
    EXPECT_EQ(form.moveRecord[502].board()[18][17], 62);

    for (int n = 0; n < 120; ++n) form.REPLAY_Click();
    EXPECT_EQ(form.moveNumber, 500);
    EXPECT_EQ(form.board, form.moveRecord[500].board());
    form.AFTER_Click();
    form.AFTER_Click();
    EXPECT_EQ(form.moveNumber, 502);
    EXPECT_EQ(form.board, form.moveRecord[502].board());
}

}  // namespace
}  // namespace daro::test
