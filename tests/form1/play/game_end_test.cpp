// Positions where the record and the end of the game used to go wrong:
// drop-outs and passes stepped over by 戻, the human's kingdom leaving by
// any path, the last kingdom standing, and a round in which nobody can move.
#include "PlayFixture.h"

namespace daro::test {
namespace {

class GameEnd : public PlayFixture {
protected:
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const ShownBox& b : window.boxes) texts.push_back(b.text);
        return texts;
    }

    void onePlayer(int humanSeat) {
        for (int s = 1; s <= 7; ++s) form.seatPlayer[s] = s == humanSeat ? Form1::playerHuman : Form1::playerComputer;
        form.gameMode = Form1::modeOnePlayer;
        form.gameStarted = Form1::valueYes;
        form.rotationStop = Form1::valueNo;
    }

    // Ten KENs of a kingdom out of everyone's way, so that the computer does
    // not retire it for having ten pieces or fewer.
    void tenKens(int code, int x) {
        for (int y = 10; y <= 19; ++y) form.board[x][y] = code;
        form.table.手順保存(0);
    }
};

TEST_F(GameEnd, ADropOutIsSteppedOverExactlyByBackAndForward) {
    // 秦 takes 楚's king; 楚 leaves when its turn comes; 韓 moves at once into
    // a square the drop-out emptied.
    layOut({{1, 1, 59}, {1, 5, 58}, {3, 3, 52}, {1, 9, 69}, {5, 19, 62}, {15, 14, 62}, {19, 19, 79}, {15, 15, 72}});
    startSevenPlayers();
    const Board opening = form.board;
    move(1, 5, 1, 9);
    ASSERT_EQ(form.table.調査_駒数(2), 0);
    ASSERT_EQ(form.turnSeat, 3);
    const Board afterDropOut = form.board;
    move(15, 15, 15, 14);
    const Board afterHan = form.board;

    form.REPLAY_Click();
    EXPECT_EQ(form.board, afterDropOut);
    EXPECT_EQ(form.capturedCount[7], 0);  // nothing was captured on (15, 14)
    EXPECT_EQ(form.turnSeat, 3);
    form.REPLAY_Click();
    EXPECT_EQ(form.board, opening);  // 楚's pieces are back
    EXPECT_EQ(form.capturedCount[5], 0);
    EXPECT_EQ(form.kingsCapturedCount[5], 0);
    EXPECT_EQ(form.turnSeat, 1);

    form.AFTER_Click();
    EXPECT_EQ(form.board, afterDropOut);  // and gone again
    EXPECT_EQ(form.capturedCount[5], 1);
    EXPECT_EQ(form.kingsCapturedCount[5], 1);
    EXPECT_EQ(form.turnSeat, 3);
    form.AFTER_Click();
    EXPECT_EQ(form.board, afterHan);
    EXPECT_EQ(form.turnSeat, 1);

    clickSquare(10, 10);  // resumes
    move(3, 3, 3, 4);
    EXPECT_EQ(form.moveNumber, 3);
    EXPECT_EQ(form.board[3][4], 52);
}

TEST_F(GameEnd, APassIsSteppedOverAndTheMoverOfThePositionIsToMoveAgain) {
    // 楚 is walled into its corner by 秦's GYOs, which nothing can take: it
    // passes every time its turn comes.
    layOut({{1, 1, 69}, {2, 1, 62}, {3, 1, 62}, {4, 1, 62}, {1, 2, 62}, {2, 2, 62}, {3, 2, 62}, {4, 2, 62},
            {1, 3, 62}, {2, 3, 62}, {3, 3, 62}, {4, 3, 62}, {5, 1, 50}, {5, 2, 50}, {5, 3, 50}, {1, 4, 50},
            {2, 4, 50}, {3, 4, 50}, {4, 4, 50}, {10, 19, 59}, {19, 10, 52}, {19, 19, 79}, {15, 15, 72}});
    window.setChecked("AICON", true);
    startSevenPlayers();
    move(19, 10, 18, 10);
    EXPECT_EQ(form.turnSeat, 3);  // 楚 passed
    move(15, 15, 15, 14);
    move(18, 10, 17, 10);
    EXPECT_EQ(form.turnSeat, 3);
    ASSERT_EQ(form.moveRecord[1].after.size(), 1u);
    EXPECT_EQ(form.moveRecord[1].after[0].kind, EventKind::Pass);
    EXPECT_EQ(form.moveRecord[1].after[0].seat, 2);

    form.REPLAY_Click();
    EXPECT_EQ(form.turnSeat, 1);  // 秦 made move 3 from here, not 楚
    EXPECT_TRUE(window.iconVisible["ICO_MAN_SOU"]);
    EXPECT_FALSE(window.iconVisible["ICO_MAN_KAN"]);

    clickSquare(10, 10);
    EXPECT_TRUE(boxShown("OKですか？", "再開"));
    move(18, 10, 18, 11);
    EXPECT_EQ(form.board[18][11], 52);
    EXPECT_EQ(form.turnSeat, 3);
    EXPECT_EQ(form.recordEnd, 3);
}

TEST_F(GameEnd, TheHumansKingdomLeavingWhenPlayResumesLosesTheGame) {
    layOut({{1, 1, 59}, {5, 19, 62}, {6, 19, 62}, {19, 19, 79}});
    tenKens(52, 2);
    tenKens(72, 18);
    onePlayer(2);
    form.turnSeat = 2;
    form.recordNavigated = Form1::valueYes;
    window.yesNoDefault = BoxAnswer::Yes;
    clickSquare(10, 10);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"OKですか？", "あなたの負けです", "続けますか？"}));
    EXPECT_EQ(form.gameStarted, Form1::valueNo);
    EXPECT_EQ(form.turnSeat, Form1::noSeat);
}

TEST_F(GameEnd, TheHumansLastPieceTakenEndsTheComputersChain) {
    // 楚, the human, has only its king left, and 秦's HII takes it.
    layOut({{1, 1, 59}, {1, 3, 58}, {1, 5, 69}, {19, 19, 79}});
    tenKens(52, 3);
    tenKens(72, 18);
    onePlayer(2);
    form.turnSeat = 1;
    window.yesNoDefault = BoxAnswer::Yes;
    form.対局_回転();
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"あなたの負けです", "続けますか？"}));
    EXPECT_EQ(form.gameStarted, Form1::valueNo);
}

TEST_F(GameEnd, TheLastKingdomStandingWinsInBothModes) {
    // Seven players: 秦 takes 楚's king, and 楚 leaves when its turn comes.
    layOut({{1, 1, 59}, {1, 5, 58}, {1, 9, 69}, {5, 19, 62}});
    startSevenPlayers();
    window.yesNoDefault = BoxAnswer::Yes;
    move(1, 5, 1, 9);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"秦の勝ちです", "続けますか？"}));

    // One player: the human 秦 takes 楚's king; the computer 楚 leaves at its turn.
    form.初期設定();
    layOut({{1, 1, 59}, {1, 5, 58}, {1, 9, 69}});
    tenKens(62, 19);
    onePlayer(1);
    form.turnSeat = 1;
    forget();
    move(1, 5, 1, 9);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"秦の勝ちです", "続けますか？"}));
    EXPECT_EQ(form.gameStarted, Form1::valueNo);
}

TEST_F(GameEnd, ARoundInWhichNoKingdomCanMoveEndsTheGame) {
    // A full board: 秦 left of a wall of GYOs, 楚 right of it. KENs and kings
    // find no empty square and nothing they may take.
    clearBoard();
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y) form.board[x][y] = x < 10 ? 52 : x > 10 ? 62 : 50;
    form.board[10][10] = Form1::centreCode;
    form.board[1][1] = 59;
    form.board[19][19] = 69;
    form.table.手順保存(0);
    window.yesNoDefault = BoxAnswer::Yes;

    // The computer 秦 passes; the human 楚 has nothing to do either.
    onePlayer(2);
    form.turnSeat = 1;
    form.対局_回転();
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"どの国も動けません", "続けますか？"}));
    EXPECT_EQ(window.boxes[0].title, "終了");
    EXPECT_EQ(form.gameStarted, Form1::valueNo);
}

TEST_F(GameEnd, AHumanWithoutAMovePassesAndTheComputersWaitForAClick) {
    // A full board walled by GYOs: 秦 (computer) and 楚 (the human) cannot
    // move; 韓 (computer) has a pocket of two empty squares to step into.
    clearBoard();
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y)
            form.board[x][y] = x < 10 ? 52 : x == 10 ? 50 : y < 16 ? 62 : y == 16 ? 60 : 72;
    form.board[10][10] = Form1::centreCode;
    form.board[1][1] = 59;
    form.board[19][1] = 69;
    form.board[19][19] = 79;
    form.board[14][18] = Form1::emptyCode;
    form.board[15][18] = Form1::emptyCode;
    form.table.手順保存(0);
    onePlayer(2);
    form.turnSeat = 1;

    form.対局_回転();
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(form.turnSeat, 3);
    EXPECT_EQ(form.rotationStop, Form1::valueYes);
    const std::vector<RecordStep> passes{{EventKind::Pass, 1}, {EventKind::Pass, 2}};
    EXPECT_EQ(form.moveRecord[0].after, passes);
    EXPECT_EQ(form.moveNumber, 0);

    clickSquare(10, 10);  // 韓 plays on
    EXPECT_EQ(form.moveNumber, 1);
    EXPECT_EQ(form.moveRecord[1].move.seat, 3);
    EXPECT_TRUE(window.boxes.empty());
}

TEST_F(GameEnd, OnePassIsNotYetAWholeRound) {
    // 楚 is walled in and passes; 秦 and 韓 play on.
    layOut({{1, 1, 69}, {2, 1, 62}, {1, 2, 62}, {2, 2, 62}, {3, 1, 50}, {3, 2, 50}, {1, 3, 50}, {2, 3, 50},
            {3, 3, 50}, {10, 19, 59}, {19, 10, 52}, {19, 19, 79}, {15, 15, 72}});
    startSevenPlayers();
    move(19, 10, 18, 10);
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(form.turnSeat, 3);
    EXPECT_EQ(form.gameStarted, Form1::valueYes);
}

}  // namespace
}  // namespace daro::test
