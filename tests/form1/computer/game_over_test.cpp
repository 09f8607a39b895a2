#include "GameFixture.h"

using daro::Form1;

namespace daro::test {
namespace {

class GameOver : public GameFixture {
protected:
    static constexpr int piece = 31, gameEnd = 32;
    void SetUp() override {
        form.soundPiece = piece;
        form.soundGameEnd = gameEnd;
        form.module1.soundDevice = sound.device;
        form.初期設定();
        fresh = form.board;
        // A game in progress.
        form.gameStarted = Form1::valueYes;
        form.gameMode = Form1::modeOnePlayer;
        form.turnSeat = 3;
        form.board[5][10] = Form1::emptyCode;
        form.board[9][9] = 50;
        form.moveNumber = form.recordEnd = 9;
        form.capturedCount[7] = 30;
    }
    Board fresh{};
};

TEST_F(GameOver, TheWinnerIsNamedAndYesSetsUpANewBoard) {
    form.終了("韓");
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[0].text, "韓の勝ちです");
    EXPECT_EQ(window.boxes[0].title, "終了");
    EXPECT_EQ(window.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(window.boxes[1].text, "続けますか？");
    EXPECT_EQ(window.boxes[1].title, "再ゲーム");
    EXPECT_EQ(window.boxes[1].buttons, BoxButtons::YesNo);
    EXPECT_EQ(sound.argsOf("dsPlay"), (std::vector<std::int32_t>{gameEnd, piece}));

    EXPECT_EQ(form.board, fresh);
    EXPECT_EQ(form.gameStarted, Form1::valueNo);
    EXPECT_EQ(form.turnSeat, Form1::noSeat);
    EXPECT_EQ(form.moveNumber, 0);
    EXPECT_EQ(form.capturedCount[7], 0);
}

TEST_F(GameOver, TheHumansDefeatNamesNoWinner) {
    window.scriptedAnswers = {BoxAnswer::Ok, BoxAnswer::Yes};
    form.終了_man();
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[0].text, "あなたの負けです");
    EXPECT_EQ(window.boxes[0].title, "終了");
    EXPECT_EQ(form.board, fresh);
}

TEST_F(GameOver, NoEndsTheProgramWithoutAPieceSound) {
    window.yesNoDefault = BoxAnswer::No;
    const auto board = form.board;
    EXPECT_THROW(form.終了("楚"), ProgramEnded);
    EXPECT_EQ(window.endCount, 1);
    EXPECT_TRUE(form.ended);
    EXPECT_EQ(sound.argsOf("dsFree"), (std::vector<std::int32_t>{piece, gameEnd}));  // sounds released
    EXPECT_EQ(sound.argsOf("dsPlay"), std::vector<std::int32_t>{gameEnd});
    EXPECT_EQ(form.board, board);
}

}  // namespace
}  // namespace daro::test
