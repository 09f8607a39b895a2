#include <gtest/gtest.h>

#include "GameFixture.h"

namespace daro::test {
namespace {

using Kind = WindowCall::Kind;

class StatusDisplays : public GameFixture {
protected:
    // Square units of a recorded text.
    double cellX(const WindowCall& c) const { return (c.x - form.boardLeft) / form.cellWidth; }
    double cellY(const WindowCall& c) const { return (c.y - form.boardTop) / form.cellHeight; }
    void expectTextAt(const WindowCall& c, const std::string& text, double x, double y, int color, double size) {
        EXPECT_EQ(c.kind, Kind::Text);
        EXPECT_EQ(c.text, text);
        EXPECT_NEAR(cellX(c), x, 1e-9) << text;
        EXPECT_NEAR(cellY(c), y, 1e-9) << text;
        EXPECT_EQ(c.code, color) << text;
        EXPECT_EQ(c.size, size) << text;
    }
};

TEST_F(StatusDisplays, NumeralModePrintsKanjiOnlyForOneToNineteen) {
    const std::pair<int, const char*> numerals[] = {{1, "一"}, {9, "九"}, {10, "十"}, {11, "十一"}, {19, "十九"}};
    for (auto [value, kanji] : numerals) {
        window.clearCalls();
        form.描画_数値(20.3, 1.4, value, Form1::colorBlack, 1, 12);
        ASSERT_EQ(window.calls.size(), 1u) << value;
        expectTextAt(window.calls[0], kanji, 20.3, 1.4, Form1::colorBlack, 12);
    }
    window.clearCalls();
    form.描画_数値(0, 0, 0, Form1::colorBlack, 1, 12);
    form.描画_数値(0, 0, 20, Form1::colorBlack, 1, 12);
    form.描画_数値(0, 0, -3, Form1::colorBlack, 2, 12);
    form.描画_数値(0, 0, "LEVEL", Form1::colorBlack, 1, 12);
    EXPECT_TRUE(window.calls.empty());

    form.描画_数値(0, 0, "12", Form1::colorBlack, 1, 12);
    EXPECT_EQ(window.textsPrinted(), std::vector<std::string>{"十二"});
}

TEST_F(StatusDisplays, TextModePrintsTextAndDecimalNumbersAsTheyAre) {
    form.描画_数値(-1.3, 0, "LEVEL", Form1::colorWhite, 0, 10);
    form.描画_数値(2.5, -0.5, 123, Form1::colorLightYellow, 0, 16);
    form.描画_数値(0, 0, 0, Form1::colorBlack, 0, 13);
    ASSERT_EQ(window.calls.size(), 3u);
    expectTextAt(window.calls[0], "LEVEL", -1.3, 0, Form1::colorWhite, 10);
    expectTextAt(window.calls[1], "123", 2.5, -0.5, Form1::colorLightYellow, 16);
    EXPECT_EQ(window.calls[2].text, "0");
}

TEST_F(StatusDisplays, StringCodeNinetyNineIsMoveSuffixMovedRightAndDown) {
    form.描画_文字列(-1, 0.2, Form1::moveSuffixStringCode, Form1::colorWhite, 10);
    form.描画_文字列(-1, 0.2, 98, Form1::colorWhite, 10);
    ASSERT_EQ(window.calls.size(), 1u);
    EXPECT_EQ(window.calls[0].text, "手目");
    EXPECT_DOUBLE_EQ(window.calls[0].x, 1100 - 465 + 120);
    EXPECT_NEAR(window.calls[0].y, 130 + 0.2 * 465 + 160, 1e-9);
    EXPECT_EQ(window.calls[0].size, 10);
}

TEST_F(StatusDisplays, MoveNumberShiftsLeftWithEachDigit) {
    const std::tuple<int, double, double> cases[] = {
        {9, -1.2, -1.3}, {10, -1.6, -1.7}, {99, -1.6, -1.7}, {100, -1.8, -1.9}, {1234, -1.8, -1.9}};
    for (auto [n, black, white] : cases) {
        window.clearCalls();
        // The second value is not a colour the procedure uses.
        form.描画_手数(n, Form1::colorBlack);
        ASSERT_EQ(window.calls.size(), 4u) << n;
        expectTextAt(window.calls[0], std::to_string(n), black, 0.6, Form1::colorBlack, 12);
        expectTextAt(window.calls[1], std::to_string(n), white, 0.5, Form1::colorWhite, 12);
        EXPECT_EQ(window.calls[2].code, Form1::colorBlack);
        EXPECT_EQ(window.calls[3].code, Form1::colorWhite);
        EXPECT_EQ(window.calls[3].text, "手目");
        EXPECT_NEAR(window.calls[3].x, form.twipsX(-1) + 120, 1e-9);
        EXPECT_NEAR(window.calls[2].x, form.twipsX(-0.9) + 120, 1e-9);
    }
}

TEST_F(StatusDisplays, LevelIsWordThenValueEachWithItsShadow) {
    form.描画_レベル(3);
    ASSERT_EQ(window.calls.size(), 4u);
    expectTextAt(window.calls[0], "LEVEL", -1.3, 0, Form1::colorBlack, 10);
    expectTextAt(window.calls[1], "LEVEL", -1.4, -0.1, Form1::colorWhite, 10);
    expectTextAt(window.calls[2], "3", 0, 0, Form1::colorBlack, 12);
    expectTextAt(window.calls[3], "3", -0.1, -0.1, Form1::colorWhite, 12);
}

TEST_F(StatusDisplays, IconFollowsThePlayerOfTheSeatOnlyWithTheIconOption) {
    form.seatPlayer[1] = Form1::playerHuman;
    form.seatPlayer[5] = Form1::playerComputer;
    form.seatPlayer[3] = 0;

    window.setChecked("AICON", false);
    window.clearCalls();
    form.描画_アイコン(1, true);
    EXPECT_TRUE(window.calls.empty());

    window.setChecked("AICON", true);
    window.clearCalls();
    form.描画_アイコン(1, true);
    form.描画_アイコン(5, true);
    form.描画_アイコン(5, false);
    form.描画_アイコン(3, true);  // neither human nor computer
    form.描画_アイコン(0, true);
    form.描画_アイコン(Form1::noSeat, true);
    form.描画_アイコン(8, true);
    ASSERT_EQ(window.calls.size(), 3u);
    EXPECT_TRUE(window.iconVisible["ICO_MAN_SOU"]);
    EXPECT_EQ(window.calls[1].text, "ICO_COM_GI");
    EXPECT_FALSE(window.iconVisible["ICO_COM_GI"]);
}

TEST_F(StatusDisplays, CaptureCountsOffStillClearTheMarginsButPrintNothing) {
    form.backgroundCode = Form1::bgCodeTatami;
    window.setChecked("mochikoma", false);
    window.clearCalls();
    form.描画_持ち駒数(Form1::bgCodeTatami);

    ASSERT_EQ(window.calls.size(), 3u * 6 + 4u * 8);
    for (const auto& c : window.calls) {
        EXPECT_EQ(c.kind, Kind::Picture);
        EXPECT_EQ(c.code, Form1::bgCodeTatami);
    }
    EXPECT_DOUBLE_EQ(cellX(window.calls[0]), -2);
    EXPECT_DOUBLE_EQ(cellY(window.calls[0]), 9);
    EXPECT_DOUBLE_EQ(cellY(window.calls[5]), 4);
    EXPECT_DOUBLE_EQ(cellX(window.calls[18]), 21);
    EXPECT_DOUBLE_EQ(cellY(window.calls[18]), 17);
    EXPECT_DOUBLE_EQ(cellX(window.calls.back()), 24);
    EXPECT_DOUBLE_EQ(cellY(window.calls.back()), 4);
}

TEST_F(StatusDisplays, CaptureLinesShowEachKingdomsBlockCountsThenRelabel) {
    form.capturedCount[5] = 12;  // 秦 is block 5
    form.kingsCapturedCount[5] = 1;
    form.capturedCount[2] = 7;  // 燕 is block 2
    window.setChecked("mochikoma", true);
    window.clearCalls();
    form.描画_持ち駒数(Form1::bgCodeMidori);

    std::vector<WindowCall> texts;
    for (std::size_t i = 50; i < window.calls.size() && texts.size() < 42; ++i) texts.push_back(window.calls[i]);
    ASSERT_EQ(texts.size(), 42u);
    // 秦's line.
    expectTextAt(texts[0], "秦 取駒(王) ", -1.8, 9.6, Form1::colorBlack, 11);
    expectTextAt(texts[1], "秦 取駒(王) ", -1.9, 9.5, Form1::colorWhite, 11);
    expectTextAt(texts[2], "12", -1.8, 10.4, Form1::colorBlack, 13);
    expectTextAt(texts[3], "12", -1.9, 10.3, Form1::colorWhite, 13);
    expectTextAt(texts[4], "1", -0.1, 10.4, Form1::colorBlack, 13);
    expectTextAt(texts[5], "1", -0.2, 10.3, Form1::colorWhite, 13);
    // 魏, a right-hand line: its blocks' counts are zero.
    expectTextAt(texts[25], "魏 取駒(王) ", 21.7, 7.5, Form1::colorWhite, 11);
    expectTextAt(texts[29], "0", 23.1, 8.3, Form1::colorWhite, 13);
    // 燕 comes last.
    expectTextAt(texts[37], "燕 取駒(王) ", -1.9, 3.5, Form1::colorWhite, 11);
    expectTextAt(texts[39], "7", -1.9, 4.3, Form1::colorWhite, 13);
    // Then the coordinate labels are redrawn, starting with cell (1, 0).
    ASSERT_GT(window.calls.size(), 92u);
    EXPECT_EQ(window.calls[92].kind, Kind::Picture);
    EXPECT_EQ(window.calls[93].text, "19");
}

TEST_F(StatusDisplays, CoordinateLabelsTurnTheFontBoldForGood) {
    form.描画_レベル(1);
    form.backgroundCode = Form1::bgCodeRenga;
    form.描画_桝_数値();
    form.描画_レベル(1);

    const auto texts = window.callsOf(Kind::Text);
    ASSERT_EQ(texts.size(), 4u + 19 * 4 + 4);
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i].bold, i >= 4) << i;

    // Per column: clear (a, 0), two texts; clear (20, a), two texts.
    const std::vector<WindowCall> labels(window.calls.begin() + 4, window.calls.begin() + 4 + 19 * 6);
    EXPECT_EQ(labels[0].code, Form1::bgCodeRenga);
    EXPECT_DOUBLE_EQ(cellX(labels[0]), 1);
    EXPECT_DOUBLE_EQ(cellY(labels[0]), 0);
    expectTextAt(labels[1], "19", 0.9, 0.2, Form1::colorBlack, 16);
    expectTextAt(labels[2], "19", 0.8, 0.1, Form1::colorLightYellow, 16);
    EXPECT_DOUBLE_EQ(cellX(labels[3]), 20);
    EXPECT_DOUBLE_EQ(cellY(labels[3]), 1);
    expectTextAt(labels[4], "一", 20.3, 1.4, Form1::colorBlack, 12);
    expectTextAt(labels[5], "一", 20.2, 1.3, Form1::colorLightYellow, 12);
    // Column 10 still has two digits; column 11 has one and sits further right.
    expectTextAt(labels[9 * 6 + 2], "10", 9.8, 0.1, Form1::colorLightYellow, 16);
    expectTextAt(labels[10 * 6 + 1], "9", 11.2, 0.2, Form1::colorBlack, 16);
    expectTextAt(labels[18 * 6 + 2], "1", 19.1, 0.1, Form1::colorLightYellow, 16);
    expectTextAt(labels[18 * 6 + 5], "十九", 20.2, 19.3, Form1::colorLightYellow, 12);
}

}  // namespace
}  // namespace daro::test
