#include "GameFixture.h"

using daro::Form1;
using daro::test::GameFixture;
using daro::test::WindowCall;

namespace {

class TurnOrder : public GameFixture {
protected:
    void SetUp() override { form.初期設定(); }
    void removeKingdom(int seat) {
        const int block = Form1::blockOfSeat(seat);
        for (auto& column : form.board)
            for (int& code : column)
                if (code >= 10 * block && code <= 10 * block + 9) code = Form1::emptyCode;
    }
};

TEST_F(TurnOrder, WrapsRoundTheSevenSeats) {
    EXPECT_EQ(form.table.手番_進(7), 1);
    EXPECT_EQ(form.table.手番_戻(1), 7);
    EXPECT_EQ(form.table.手番_進(3), 4);
    EXPECT_EQ(form.table.手番_戻(3), 2);
}

TEST_F(TurnOrder, SkipsKingdomsWithoutPiecesButNotThoseThatLostOnlyTheirKing) {
    removeKingdom(2);
    removeKingdom(3);
    EXPECT_EQ(form.table.手番_進(1), 4);
    EXPECT_EQ(form.table.手番_戻(4), 1);
    form.board[19][6] = Form1::emptyCode;  // 魏 (seat 5) lost its king only
    EXPECT_EQ(form.table.手番_進(4), 5);
}

TEST_F(TurnOrder, NoSeatAndEmptyBoardsEndWithoutASeat) {
    EXPECT_EQ(form.table.手番_進(Form1::noSeat), Form1::noSeat);
    EXPECT_EQ(form.table.手番_戻(Form1::noSeat), Form1::noSeat);
    for (int seat = 2; seat <= 7; ++seat) removeKingdom(seat);
    EXPECT_EQ(form.table.手番_進(1), 1);  // the last kingdom moves again
    EXPECT_EQ(form.table.手番_戻(1), 1);
    removeKingdom(1);
    EXPECT_EQ(form.table.手番_進(1), Form1::noSeat);
    EXPECT_EQ(form.table.手番_戻(4), Form1::noSeat);
}

TEST_F(TurnOrder, WithdrawalBlinksThreeTimesThenClearsTheKingdomOnly) {
    form.capturedCount[5] = 3;
    form.kingsCapturedCount[2] = 1;
    const auto captured = form.capturedCount;
    const auto kings = form.kingsCapturedCount;
    const daro::Board before = form.board;
    const double start = clock.seconds;
    window.clearCalls();

    form.描画_戦線離脱(5);  // 魏, block 1
    form.table.戦線離脱処理(5);

    EXPECT_EQ(form.table.調査_駒数(5), 0);
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y) {
            if (Form1::blockOfCode(before[x][y]) != 1) {
                EXPECT_EQ(form.board[x][y], before[x][y]);
            }
        }
    EXPECT_EQ(form.capturedCount, captured);
    EXPECT_EQ(form.kingsCapturedCount, kings);
    EXPECT_EQ(form.turnSeat, Form1::noSeat);
    EXPECT_EQ(window.callsOf(WindowCall::Kind::Refresh).size(), 6u);
    EXPECT_DOUBLE_EQ(clock.seconds - start, 3.0);
}

TEST_F(TurnOrder, WithdrawalOfNoSeatDoesNothing) {
    const daro::Board before = form.board;
    window.clearCalls();
    form.table.戦線離脱処理(Form1::noSeat);
    form.table.戦線離脱処理(8);
    EXPECT_EQ(form.board, before);
    EXPECT_TRUE(window.calls.empty());
}

TEST_F(TurnOrder, WinnerNeedsTwoKingsOrThirtyPiecesOrNineteenWithAKing) {
    struct Case {
        int captured, kings, answer;
    };
    const Case cases[] = {{18, 1, Form1::valueNo}, {19, 1, Form1::valueYes}, {29, 0, Form1::valueNo},
                          {30, 0, Form1::valueYes}, {2, 2, Form1::valueYes},  {25, 0, Form1::valueNo}};
    for (const Case& c : cases) {
        form.capturedCount[6] = c.captured;  // seat 2 is block 6
        form.kingsCapturedCount[6] = c.kings;
        EXPECT_EQ(form.table.調査_終了(2), c.answer) << c.captured << "/" << c.kings;
        EXPECT_EQ(form.table.調査_終了(1), Form1::valueNo);
    }
    EXPECT_EQ(form.table.調査_終了(Form1::noSeat), Form1::valueNo);
    EXPECT_EQ(form.table.調査_終了(8), Form1::valueNo);
}

TEST_F(TurnOrder, WaitIdlesUntilTheTimeHasPassed) {
    const double start = clock.seconds;
    form.待ち時間(0.2);
    EXPECT_GE(clock.seconds - start, 0.2);
    EXPECT_GE(clock.idleCalls, 1);
    const int calls = clock.idleCalls;
    form.待ち時間(0);
    form.待ち時間(-1);
    EXPECT_EQ(clock.idleCalls, calls);
}

}  // namespace
