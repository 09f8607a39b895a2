#include <gtest/gtest.h>

#include "GameFixture.h"

namespace daro::test {
namespace {

using Kind = WindowCall::Kind;

class StatusDisplays : public GameFixture {
protected:
    double cellX(const WindowCall& c) const { return (c.x - form.boardLeft) / form.cellWidth; }
    double cellY(const WindowCall& c) const { return (c.y - form.boardTop) / form.cellHeight; }
    // A text at square units (x, y) in a colour and size.
    void expectText(std::size_t i, const std::string& text, double x, double y, int color, double size) {
        ASSERT_LT(i, window.calls.size());
        const WindowCall& c = window.calls[i];
        EXPECT_EQ(c.text, text) << i;
        EXPECT_NEAR(cellX(c), x, 1e-9) << i << " " << text;
        EXPECT_NEAR(cellY(c), y, 1e-9) << i << " " << text;
        EXPECT_EQ(c.code, color) << i << " " << text;
        EXPECT_EQ(c.size, size) << i << " " << text;
    }
};

TEST_F(StatusDisplays, NumeralModePrintsKanjiOnlyForOneToNineteenTextModeAsIs) {
    for (int v : {0, 1, 9, 10, 11, 19, 20, -3}) form.描画_数値(20.3, 1.4, v, Form1::colorBlack, 1, 12);
    form.描画_数値(0, 0, "12", Form1::colorBlack, 1, 12);
    form.描画_数値(0, 0, "LEVEL", Form1::colorBlack, 1, 12);
    EXPECT_EQ(window.textsPrinted(), (std::vector<std::string>{"一", "九", "十", "十一", "十九", "十二"}));
    expectText(4, "十九", 20.3, 1.4, Form1::colorBlack, 12);

    window.clearCalls();
    form.描画_数値(-1.3, 0, "LEVEL", Form1::colorWhite, 0, 10);
    form.描画_数値(2.5, -0.5, 123, Form1::colorLightYellow, 0, 16);
    expectText(0, "LEVEL", -1.3, 0, Form1::colorWhite, 10);
    expectText(1, "123", 2.5, -0.5, Form1::colorLightYellow, 16);
}

TEST_F(StatusDisplays, MoveNumberShiftsLeftWithEachDigitAndEndsInTheSuffix) {
    const std::tuple<int, double, double> cases[] = {{9, -1.2, -1.3}, {10, -1.6, -1.7}, {99, -1.6, -1.7},
                                                     {100, -1.8, -1.9}, {999, -1.8, -1.9}, {1000, -2.1, -2.2}};
    for (auto [n, black, white] : cases) {
        window.clearCalls();
        form.描画_手数(n, Form1::colorBlack);  // the second value is no colour
        // First the strip below the cleared cells and the cell left of them.
        std::vector<std::pair<double, double>> cleared;
        std::size_t i = 0;
        for (; i < window.calls.size() && window.calls[i].kind == Kind::Picture; ++i) {
            EXPECT_EQ(window.calls[i].code, form.backgroundCode);
            cleared.emplace_back(cellX(window.calls[i]), cellY(window.calls[i]));
        }
        EXPECT_EQ(cleared, (std::vector<std::pair<double, double>>{{-3, 0}, {-3, 1}, {-2, 1}, {-1, 1}, {0, 1}}));
        ASSERT_EQ(window.calls.size(), i + 4) << n;
        expectText(i, std::to_string(n), black, 0.6, Form1::colorBlack, 12);
        expectText(i + 1, std::to_string(n), white, 0.5, Form1::colorWhite, 12);
        // "手目" sits 120 twips right and 160 down of its cell point.
        EXPECT_EQ(window.calls[i + 3].text, "手目");
        EXPECT_EQ(window.calls[i + 2].code, Form1::colorBlack);
        EXPECT_NEAR(window.calls[i + 2].x, form.twipsX(-0.9) + 120, 1e-9);
        EXPECT_NEAR(window.calls[i + 3].x, form.twipsX(-1) + 120, 1e-9);
        EXPECT_NEAR(window.calls[i + 3].y, form.twipsY(0.2) + 160, 1e-9);
        EXPECT_EQ(window.calls[i + 3].size, 10);
    }

    window.clearCalls();
    form.描画_文字列(0, 0, 98, Form1::colorWhite, 10);
    EXPECT_TRUE(window.calls.empty());
}

TEST_F(StatusDisplays, LevelIsWordThenValueEachWithItsShadow) {
    form.描画_レベル(3);
    ASSERT_EQ(window.calls.size(), 4u);
    expectText(0, "LEVEL", -1.3, 0, Form1::colorBlack, 10);
    expectText(1, "LEVEL", -1.4, -0.1, Form1::colorWhite, 10);
    // The blank in place of a plus sign, as classic BASIC prints a number.
    expectText(2, " 3", 0, 0, Form1::colorBlack, 12);
    expectText(3, " 3", -0.1, -0.1, Form1::colorWhite, 12);
}

TEST_F(StatusDisplays, IconFollowsThePlayerOfTheSeatOnlyWithTheIconOption) {
    form.seatPlayer[1] = Form1::playerHuman;
    form.seatPlayer[5] = Form1::playerComputer;
    form.描画_アイコン(1, true);  // option off
    EXPECT_TRUE(window.iconVisible.empty());

    window.setChecked("AICON", true);
    form.描画_アイコン(1, true);
    form.描画_アイコン(5, true);
    form.描画_アイコン(5, false);
    for (int none : {3, 0, Form1::noSeat, 8}) form.描画_アイコン(none, true);  // seat 3 has no player
    EXPECT_EQ(window.callsOf(Kind::IconVisible).size(), 3u);
    EXPECT_TRUE(window.iconVisible["ICO_MAN_SOU"]);
    EXPECT_FALSE(window.iconVisible["ICO_COM_GI"]);
}

TEST_F(StatusDisplays, CaptureCountsOffStillClearTheMarginsButPrintNothing) {
    form.描画_持ち駒数(Form1::bgCodeTatami);
    ASSERT_EQ(window.calls.size(), 3u * 6 + 4u * 8);
    for (const auto& c : window.calls) EXPECT_EQ(c.code, Form1::bgCodeTatami);
    const std::tuple<std::size_t, double, double> cells[] = {{0, -2, 9}, {5, -2, 4}, {18, 21, 17}, {49, 24, 4}};
    for (auto [i, x, y] : cells) {
        EXPECT_DOUBLE_EQ(cellX(window.calls[i]), x) << i;
        EXPECT_DOUBLE_EQ(cellY(window.calls[i]), y) << i;
    }
}

TEST_F(StatusDisplays, CaptureLinesShowEachKingdomsBlockCountsThenRelabel) {
    form.capturedCount[5] = 12;  // 秦 is block 5
    form.kingsCapturedCount[5] = 1;
    form.capturedCount[2] = 7;  // 燕 is block 2
    window.setChecked("mochikoma", true);
    window.clearCalls();
    form.描画_持ち駒数(Form1::bgCodeMidori);

    const std::size_t t = 50;  // after the cleared cells
    expectText(t + 0, "秦 取駒(王) ", -1.8, 9.6, Form1::colorBlack, 11);
    expectText(t + 1, "秦 取駒(王) ", -1.9, 9.5, Form1::colorWhite, 11);
    expectText(t + 2, "12", -1.8, 10.4, Form1::colorBlack, 13);
    expectText(t + 3, "12", -1.9, 10.3, Form1::colorWhite, 13);
    expectText(t + 4, "1", -0.1, 10.4, Form1::colorBlack, 13);
    expectText(t + 5, "1", -0.2, 10.3, Form1::colorWhite, 13);
    expectText(t + 25, "魏 取駒(王) ", 21.7, 7.5, Form1::colorWhite, 11);
    expectText(t + 29, "0", 23.1, 8.3, Form1::colorWhite, 13);
    expectText(t + 37, "燕 取駒(王) ", -1.9, 3.5, Form1::colorWhite, 11);
    expectText(t + 39, "7", -1.9, 4.3, Form1::colorWhite, 13);
    // Then the coordinate labels, from cell (1, 0), five rows clearing the
    // cell their label reaches into.
    ASSERT_EQ(window.calls.size(), t + 42 + 19 * 6 + 5);
    EXPECT_EQ(window.calls[t + 43].text, "19");
}

TEST_F(StatusDisplays, CoordinateLabelsTurnTheFontBoldForGood) {
    form.描画_レベル(1);
    form.backgroundCode = Form1::bgCodeRenga;
    form.描画_桝_数値();
    form.描画_レベル(1);

    const auto texts = window.callsOf(Kind::Text);
    ASSERT_EQ(texts.size(), 4u + 19 * 4 + 4);
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i].bold, i >= 4) << i;

    // Per column a: clear (a, 0), two texts; clear (20, a), two texts. Rows
    // whose two-glyph label reaches a cell no capture count shares clear
    // (21, a) as well: 11, 12, 15, 16 and 19.
    const std::size_t l = 4;
    EXPECT_EQ(window.calls[l].code, Form1::bgCodeRenga);
    EXPECT_DOUBLE_EQ(cellX(window.calls[l]), 1);
    EXPECT_DOUBLE_EQ(cellY(window.calls[l]), 0);
    expectText(l + 1, "19", 0.9, 0.2, Form1::colorBlack, 16);
    expectText(l + 2, "19", 0.8, 0.1, Form1::colorLightYellow, 16);
    EXPECT_DOUBLE_EQ(cellX(window.calls[l + 3]), 20);
    EXPECT_DOUBLE_EQ(cellY(window.calls[l + 3]), 1);
    expectText(l + 4, "一", 20.3, 1.4, Form1::colorBlack, 12);
    expectText(l + 5, "一", 20.2, 1.3, Form1::colorLightYellow, 12);
    // Column 10 still has two digits; column 11 has one and sits further right.
    expectText(l + 9 * 6 + 2, "10", 9.8, 0.1, Form1::colorLightYellow, 16);
    expectText(l + 10 * 6 + 1, "9", 11.2, 0.2, Form1::colorBlack, 16);
    const std::size_t nineteen = l + 18 * 6 + 4;
    EXPECT_DOUBLE_EQ(cellX(window.calls[nineteen + 3]), 20);
    EXPECT_DOUBLE_EQ(cellX(window.calls[nineteen + 4]), 21);
    EXPECT_DOUBLE_EQ(cellY(window.calls[nineteen + 4]), 19);
    expectText(nineteen + 6, "十九", 20.2, 19.3, Form1::colorLightYellow, 12);
    std::size_t clearsOfColumn21 = 0;
    for (const auto& call : window.calls)
        if (call.kind == Kind::Picture && call.code == Form1::bgCodeRenga && cellX(call) == 21) ++clearsOfColumn21;
    EXPECT_EQ(clearsOfColumn21, 5u);
}

}  // namespace
}  // namespace daro::test
