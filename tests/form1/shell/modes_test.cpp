#include <string>
#include <vector>

#include "GameFixture.h"

using daro::Form1;

namespace daro::test {
namespace {

class Modes : public GameFixture {
protected:
    void SetUp() override {
        form.初期設定();
        window.setChecked("LEVEL3", true);
        window.clearCalls();
    }
    // Picture last painted in the grid cell (x, y) beside the board.
    int pictureInCell(int x, int y) const {
        return window.pictureAt(form.boardLeft + x * form.cellWidth, form.boardTop + y * form.cellHeight);
    }
    std::vector<std::string> levelChecks() const {
        std::vector<std::string> out;
        for (const auto& c : window.callsOf(WindowCall::Kind::Check)) out.push_back(c.text + "=" + std::to_string(c.code));
        return out;
    }
};

TEST_F(Modes, IconsAreHiddenInTheirFixedOrder) {
    form.消去_アイコン();
    const std::vector<std::string> expected = {
        "ICO_COM_GI",  "ICO_MAN_GI",  "ICO_COM_EN",  "ICO_MAN_EN",  "ICO_COM_SAI",
        "ICO_MAN_SAI", "ICO_COM_CHO", "ICO_MAN_CHO", "ICO_COM_SOU", "ICO_MAN_SOU",
        "ICO_COM_TEI", "ICO_MAN_TEI", "ICO_COM_KAN", "ICO_MAN_KAN"};
    std::vector<std::string> hidden;
    for (const auto& c : window.calls) {
        ASSERT_EQ(c.kind, WindowCall::Kind::IconVisible);
        EXPECT_EQ(c.code, 0);
        hidden.push_back(c.text);
    }
    EXPECT_EQ(hidden, expected);
}

TEST_F(Modes, SevenPlayersStartWithQin) {
    form.rotationStop = Form1::valueYes;
    form.recordNavigated = Form1::valueYes;
    form.PLAY_7_Click();
    for (int seat = 1; seat <= 7; ++seat) EXPECT_EQ(form.seatPlayer[seat], Form1::playerHuman);
    EXPECT_EQ(form.gameMode, Form1::modeSevenPlayers);
    EXPECT_EQ(form.gameStarted, Form1::valueYes);
    EXPECT_EQ(form.rotationStop, Form1::valueNo);
    EXPECT_EQ(form.recordNavigated, Form1::valueNo);
    EXPECT_EQ(form.turnSeat, 1);
    EXPECT_EQ(form.moveNumber, 0);
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, "秦の番です");
    EXPECT_EQ(window.boxes[0].title, "");
    for (auto [x, y] : {std::pair{-2, -1}, {-1, -1}, {0, -1}, {1, -1}, {-2, 0}, {-1, 0}, {0, 0}})
        EXPECT_EQ(pictureInCell(x, y), form.backgroundCode) << x << "," << y;
}

TEST_F(Modes, SevenPlayersMidGameKeepThePosition) {
    form.gameStarted = Form1::valueYes;
    form.gameMode = Form1::modeOnePlayer;
    form.turnSeat = 4;
    form.moveNumber = form.recordEnd = 12;
    form.board[8][8] = 55;
    const auto board = form.board;
    form.PLAY_7_Click();
    EXPECT_EQ(form.turnSeat, 4);
    EXPECT_EQ(form.moveNumber, 12);
    EXPECT_EQ(form.board, board);
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(form.gameMode, Form1::modeSevenPlayers);
}

TEST_F(Modes, ALevelMovesTheOneCheckMark) {
    form.gameMode = Form1::modeOnePlayer;
    form.LEVEL1_Click();
    EXPECT_EQ(form.computerLevel, 1);
    EXPECT_EQ(levelChecks(), (std::vector<std::string>{"LEVEL1=1", "LEVEL2=0", "LEVEL3=0", "LEVEL4=0"}));
    EXPECT_TRUE(window.isChecked("LEVEL1"));
    EXPECT_FALSE(window.isChecked("LEVEL3"));
    EXPECT_FALSE(window.textsPrinted().empty());  // the level is drawn again

    window.clearCalls();
    form.gameMode = Form1::modeSevenPlayers;
    form.LEVEL2_Click();
    EXPECT_EQ(form.computerLevel, 2);
    EXPECT_TRUE(window.textsPrinted().empty());  // stored, not shown
    EXPECT_EQ(pictureInCell(-1, 0), form.backgroundCode);
}

TEST_F(Modes, LevelFourTakesTheCheckMarkAndIsShownLikeTheOthers) {
    form.gameMode = Form1::modeOnePlayer;
    form.LEVEL4_Click();
    EXPECT_EQ(form.computerLevel, Form1::levelFour);
    EXPECT_EQ(levelChecks(), (std::vector<std::string>{"LEVEL4=1", "LEVEL1=0", "LEVEL2=0", "LEVEL3=0"}));
    EXPECT_FALSE(window.textsPrinted().empty());

    window.clearCalls();
    form.LEVEL3_Click();
    EXPECT_EQ(form.computerLevel, 3);
    EXPECT_FALSE(window.isChecked("LEVEL4"));
    EXPECT_TRUE(window.isChecked("LEVEL3"));
}

TEST_F(Modes, TheCheckedLevelOnlyBlanksTheDisplay) {
    form.gameMode = Form1::modeOnePlayer;
    form.LEVEL3_Click();
    EXPECT_EQ(form.computerLevel, 3);
    EXPECT_TRUE(levelChecks().empty());
    EXPECT_TRUE(window.textsPrinted().empty());
    for (int x : {-2, -1, 0}) EXPECT_EQ(pictureInCell(x, 0), form.backgroundCode);
}

}  // namespace
}  // namespace daro::test
