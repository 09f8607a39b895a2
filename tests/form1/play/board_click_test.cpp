#include "PlayFixture.h"

using daro::Board;
using daro::Form1;

namespace daro::test {
namespace {

class BoardClick : public PlayFixture {};

TEST_F(BoardClick, ClicksBeforeAGameAreRefused) {
    const Board start = form.board;
    clickSquare(4, 10);
    EXPECT_TRUE(boxShown("「対局」で始めて下さい", "開始"));
    EXPECT_EQ(played(), std::vector<std::int32_t>{forbidden});
    EXPECT_EQ(form.clickPhase, 0);
    EXPECT_EQ(form.board, start);
}

TEST_F(BoardClick, PickingOwnPiecesMarksTheLastOnePicked) {
    startSevenPlayers();
    clickSquare(4, 10);  // 秦's archer
    EXPECT_EQ(form.clickPhase, 1);
    EXPECT_EQ(form.moveWork[Form1::workPiece], 55);
    EXPECT_EQ(outlineAt(4, 10), Form1::selectColor);

    clickSquare(5, 10);  // re-pick the 行
    EXPECT_EQ(form.clickPhase, 1);
    EXPECT_EQ(form.moveWork[Form1::workSelX], 5);
    EXPECT_EQ(form.moveWork[Form1::workSelY], 10);
    EXPECT_EQ(form.moveWork[Form1::workPiece], 50);
    EXPECT_EQ(outlineAt(5, 10), Form1::selectColor);
    EXPECT_NE(outlineAt(4, 10), Form1::selectColor);

    clickSquare(5, 10);  // the same piece again stays picked
    EXPECT_EQ(form.clickPhase, 1);
    EXPECT_EQ(form.moveWork[Form1::workPiece], 50);
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_TRUE(played().empty());
}

TEST_F(BoardClick, AForeignPieceNamesTheKingdomToMove) {
    startSevenPlayers();
    clickSquare(6, 16);  // 楚's archer while 秦 is to move
    EXPECT_TRUE(boxShown("秦の番です", "手番が違います"));
    EXPECT_EQ(played(), std::vector<std::int32_t>{forbidden});
    EXPECT_EQ(form.clickPhase, 0);

    forget();
    form.turnSeat = 4;
    clickSquare(4, 10);
    EXPECT_TRUE(boxShown("斉の番です", "手番が違います"));

    forget();
    form.turnSeat = Form1::noSeat;  // nobody owns anything: the sound alone
    clickSquare(4, 10);
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(played(), std::vector<std::int32_t>{forbidden});
}

TEST_F(BoardClick, EmptySquaresTheCentreAndTheOutsideSelectNothing) {
    startSevenPlayers();
    clickSquare(8, 8);
    clickSquare(10, 10);
    EXPECT_EQ(played(), (std::vector<std::int32_t>{forbidden, forbidden}));
    EXPECT_EQ(form.clickPhase, 0);

    clickSquare(4, 10);
    form.Form_MouseDown(1, 0, form.boardLeft + 0.5 * form.cellWidth, squareY(10));  // column 0
    form.Form_MouseDown(1, 0, form.boardLeft - 10, form.boardTop - 10);             // left of and above
    clickSquare(20, 10);
    EXPECT_EQ(form.clickPhase, 1);  // still holding the archer
    EXPECT_EQ(form.moveWork[Form1::workSelX], 4);
    EXPECT_EQ(form.moveNumber, 0);
}

TEST_F(BoardClick, AnIllegalDestinationDropsThePick) {
    startSevenPlayers();
    const Board start = form.board;
    move(4, 10, 8, 10);  // the 行 on (5,10) is in the way
    EXPECT_EQ(form.clickPhase, 0);
    EXPECT_EQ(form.board, start);
    EXPECT_EQ(played(), std::vector<std::int32_t>{forbidden});
    EXPECT_EQ(outlineAt(4, 10), form.gridColor);
    EXPECT_TRUE(window.boxes.empty());

    clickSquare(5, 10);  // picks afresh
    EXPECT_EQ(form.clickPhase, 1);
    EXPECT_EQ(form.moveWork[Form1::workPiece], 50);
}

TEST_F(BoardClick, ALegalMoveIsMadeRecordedAndPassesTheTurn) {
    startSevenPlayers();
    const Board start = form.board;
    move(4, 10, 4, 6);
    EXPECT_EQ(form.board[4][6], 55);
    EXPECT_EQ(form.board[4][10], Form1::emptyCode);
    EXPECT_EQ(form.moveNumber, 1);
    EXPECT_EQ(form.recordEnd, 1);
    ASSERT_GE(form.moveRecord.size(), 2u);
    EXPECT_EQ(form.moveRecord[1].board(), form.board);
    EXPECT_EQ(form.moveRecord[0].board(), start);
    EXPECT_EQ(form.turnSeat, 2);
    EXPECT_EQ(form.clickPhase, 0);
    EXPECT_EQ(played(), std::vector<std::int32_t>{piece});
}

TEST_F(BoardClick, AKingMayNotStepIntoAttack) {
    layOut({{3, 3, 59}, {1, 1, 52}, {19, 19, 69}, {5, 4, 62}});
    startSevenPlayers();
    move(1, 1, 1, 2);
    move(19, 19, 19, 18);
    ASSERT_EQ(form.turnSeat, 1);
    const Board before = form.board;

    move(3, 3, 4, 4);  // 楚's sword on (5,4) reaches (4,4)
    EXPECT_TRUE(boxShown("自殺はできません", ""));
    EXPECT_EQ(form.board, before);
    EXPECT_EQ(form.moveNumber, 2);
    EXPECT_EQ(form.recordEnd, 2);
    EXPECT_EQ(form.turnSeat, 1);
    ASSERT_FALSE(played().empty());
    EXPECT_EQ(played().back(), piece);  // taken back as 戻 does

    forget();
    form.AFTER_Click();
    EXPECT_TRUE(boxShown("できません", "進む"));
    EXPECT_EQ(form.board, before);

    forget();
    clickSquare(3, 3);
    EXPECT_TRUE(boxShown("OKですか？", "再開"));
    EXPECT_EQ(form.clickPhase, 0);
    move(3, 3, 3, 4);  // a safe square is fine
    EXPECT_EQ(form.board[3][4], 59);
    EXPECT_EQ(form.moveNumber, 3);
}

TEST_F(BoardClick, ARefusedKingCaptureLeavesTheSameKingdomToMove) {
    // 楚's king is its last piece; taking it would pass the turn over 楚.
    layOut({{3, 3, 59}, {4, 4, 69}, {5, 4, 72}, {19, 18, 79}});
    for (int n = 1; n <= 5; ++n) form.table.手順保存(n);
    startSevenPlayers();
    form.moveNumber = form.recordEnd = 5;

    move(3, 3, 4, 4);
    EXPECT_TRUE(boxShown("自殺はできません", ""));
    EXPECT_EQ(form.board[4][4], 69);
    EXPECT_EQ(form.turnSeat, 1);
    EXPECT_EQ(form.kingsCapturedCount[5], 0);
    EXPECT_EQ(form.capturedCount[5], 0);
}

TEST_F(BoardClick, AKingdomWithoutItsKingVanishesWhenItsTurnComes) {
    layOut({{1, 1, 59}, {1, 5, 58}, {1, 9, 69}, {10, 15, 62}, {12, 15, 61}, {19, 19, 79}});
    startSevenPlayers();
    move(1, 5, 1, 9);  // 秦 takes 楚's king
    EXPECT_EQ(form.kingsCapturedCount[5], 1);
    EXPECT_EQ(form.turnSeat, 3);
    EXPECT_EQ(form.table.調査_駒数(2), 0);
    EXPECT_EQ(form.board[10][15], Form1::emptyCode);
    EXPECT_EQ(form.capturedCount[5], 1);  // the vanished pieces are nobody's captures
    EXPECT_EQ(form.table.手番_進(1), 3);
}

TEST_F(BoardClick, WinningEndsTheGameAndYesSetsUpAFreshBoard) {
    Board fresh = form.board;
    layOut({{1, 1, 59}, {1, 5, 58}, {19, 19, 69}, {1, 9, 62}});
    startSevenPlayers();
    form.capturedCount[5] = 29;
    window.scriptedAnswers = {BoxAnswer::Ok, BoxAnswer::Yes};

    move(1, 5, 1, 9);
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[0].text, "秦の勝ちです");
    EXPECT_EQ(window.boxes[0].title, "終了");
    EXPECT_EQ(window.boxes[1].text, "続けますか？");
    EXPECT_EQ(window.boxes[1].buttons, BoxButtons::YesNo);
    EXPECT_EQ(played(), (std::vector<std::int32_t>{piece, gameEnd, piece}));
    EXPECT_EQ(form.board, fresh);
    EXPECT_EQ(form.gameStarted, Form1::valueNo);
    EXPECT_EQ(form.turnSeat, Form1::noSeat);

    forget();
    clickSquare(4, 10);
    EXPECT_TRUE(boxShown("「対局」で始めて下さい", "開始"));
    EXPECT_EQ(form.clickPhase, 0);
}

// The one-player game: a human click never moves a computer's piece.
class OnePlayerClick : public PlayFixture {
protected:
    void seatHumanAt(int seat) {
        for (int s = 1; s <= 7; ++s) form.seatPlayer[s] = s == seat ? Form1::playerHuman : Form1::playerComputer;
        form.gameStarted = Form1::valueYes;
        form.gameMode = Form1::modeOnePlayer;
        form.turnSeat = seat;
    }
};

TEST_F(OnePlayerClick, AHumanMoveRestartsAStoppedChainOfComputers) {
    seatHumanAt(1);
    form.rotationStop = Form1::valueYes;  // left over from an elimination
    move(4, 10, 4, 6);
    EXPECT_GE(form.moveNumber, 1);
    EXPECT_EQ(form.turnSeat, 1);  // the six computers had their turns
}

TEST_F(OnePlayerClick, AClickWhileAComputerIsToMoveLetsTheComputersPlay) {
    seatHumanAt(1);
    form.turnSeat = 3;
    form.rotationStop = Form1::valueYes;
    clickSquare(14, 16);  // 韓's archer
    EXPECT_EQ(form.clickPhase, 0);
    EXPECT_EQ(form.turnSeat, 1);
    EXPECT_TRUE(window.boxes.empty());
}

}  // namespace
}  // namespace daro::test
