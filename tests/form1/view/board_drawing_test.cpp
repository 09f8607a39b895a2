#include <gtest/gtest.h>

#include "GameFixture.h"

namespace daro::test {
namespace {

using Kind = WindowCall::Kind;

class BoardDrawing : public GameFixture {
protected:
    void expectCorner(const WindowCall& c, double x, double y) {
        EXPECT_NEAR(c.x, x, 1e-6);
        EXPECT_NEAR(c.y, y, 1e-6);
    }
    long firstText(const std::string& text) const {
        for (std::size_t i = 0; i < window.calls.size(); ++i)
            if (window.calls[i].kind == Kind::Text && window.calls[i].text == text) return static_cast<long>(i);
        return -1;
    }
};

TEST_F(BoardDrawing, PictureTableNamesEveryImageAndNothingElse) {
    const std::pair<int, const char*> named[] = {{0, "KARA_MASU"}, {1, "ZTSHOGI"},  {2, "HAIKEI_MIDORI"},
                                                 {6, "HAIKEI_RENGA"}, {54, "SOU_KIB"}, {19, "GI_OHU"},
                                                 {70, "KAN_GYO"},  {38, "SAI_HII"}, {80, "SYU"}};
    for (auto [code, name] : named) EXPECT_EQ(Form1::pictureControlName(code), name);
    for (int none : {7, 8, 9, 81, -1}) EXPECT_EQ(Form1::pictureControlName(none), "") << none;

    EXPECT_EQ(Form1::iconControlName(1, Form1::playerHuman), "ICO_MAN_SOU");
    EXPECT_EQ(Form1::iconControlName(5, Form1::playerComputer), "ICO_COM_GI");
    EXPECT_EQ(Form1::iconControlName(8, Form1::playerComputer), "");
    EXPECT_EQ(Form1::iconControlName(3, 0), "");
}

TEST_F(BoardDrawing, PicturesAndOutlinesArePlacedOnTheSquareGrid) {
    form.描画_絵(59, 1, 1);
    form.描画_絵(Form1::titlePictureCode, 21.8, 0);
    form.描画_絵(9, 5, 5);  // no picture: the window is not asked at all
    form.描画_桝輪郭(Form1::selectColor, 19, 19);

    ASSERT_EQ(window.calls.size(), 3u);
    expectCorner(window.calls[0], 1565, 595);
    expectCorner(window.calls[1], 11237, 130);
    const WindowCall& box = window.calls[2];
    EXPECT_EQ(box.code, Form1::selectColor);
    expectCorner(box, 9935, 8965);
    EXPECT_DOUBLE_EQ(box.x2, 10400);
    EXPECT_DOUBLE_EQ(box.y2, 9430);
}

TEST_F(BoardDrawing, BoardPaintsEachSquareThenItsOutlineRowsInsideColumns) {
    clearBoard();
    form.board[1][2] = 59;
    form.描画_盤();

    ASSERT_EQ(window.calls.size(), 2u * 361);
    for (std::size_t i = 0; i < window.calls.size(); i += 2) {
        ASSERT_EQ(window.calls[i + 1].kind, Kind::Rectangle);
        EXPECT_EQ(window.calls[i + 1].code, form.outlineColor);
        expectCorner(window.calls[i + 1], window.calls[i].x, window.calls[i].y);
    }
    EXPECT_EQ(window.calls[0].code, Form1::emptyCode);
    EXPECT_EQ(window.calls[2].code, 59);
    expectCorner(window.calls[2], 1565, 130 + 2 * 465);
    EXPECT_EQ(window.pictureAt(form.twipsX(10), form.twipsY(10)), Form1::centreCode);
}

TEST_F(BoardDrawing, HighlightsNeedGuidanceAndAPieceButTheGridIsAlwaysRedrawn) {
    clearBoard();
    form.board[5][5] = 51;
    for (auto [guidance, piece] : {std::pair{false, 51}, std::pair{true, 0}}) {
        window.setChecked("SIDOU", guidance);
        window.clearCalls();
        form.描画_移動可能桝色(5, 5, Form1::colorWhite, piece);
        ASSERT_EQ(window.calls.size(), 361u);
        for (const auto& c : window.calls) EXPECT_EQ(c.code, form.gridColor);
    }
}

TEST_F(BoardDrawing, GuidanceOutlinesExactlyTheLegalDestinationsAfterTheGrid) {
    clearBoard();
    form.board[5][5] = 51;  // a 刀: one step diagonally
    window.setChecked("SIDOU", true);
    window.clearCalls();
    form.描画_移動可能桝色(5, 5, Form1::colorWhite, 51);

    ASSERT_EQ(window.calls.size(), 361u + 4);
    const std::pair<int, int> steps[] = {{4, 4}, {4, 6}, {6, 4}, {6, 6}};
    for (std::size_t i = 0; i < 4; ++i) {
        const WindowCall& c = window.calls[361 + i];
        EXPECT_EQ(c.code, Form1::colorWhite);
        expectCorner(c, form.twipsX(steps[i].first), form.twipsY(steps[i].second));
    }
}

TEST_F(BoardDrawing, BlinkShowsThePieceThenTheEmptySquareAndRefreshesAfterEachPhase) {
    clearBoard();
    form.board[4][7] = 33;
    const double start = clock.seconds;
    form.描画_桝点滅(4, 7, 2);
    EXPECT_NEAR(clock.seconds - start, 0.8, 1e-9);

    const std::pair<Kind, int> phase[] = {{Kind::Picture, 33}, {Kind::Rectangle, form.outlineColor},
                                          {Kind::Refresh, 0},  {Kind::Picture, Form1::emptyCode},
                                          {Kind::Rectangle, form.outlineColor}, {Kind::Refresh, 0}};
    ASSERT_EQ(window.calls.size(), 12u);
    for (std::size_t i = 0; i < window.calls.size(); ++i) {
        EXPECT_EQ(window.calls[i].kind, phase[i % 6].first) << i;
        EXPECT_EQ(window.calls[i].code, phase[i % 6].second) << i;
    }
    EXPECT_EQ(form.board[4][7], 33);

    window.clearCalls();
    form.描画_桝点滅(4, 7, 0);
    form.描画_桝点滅(20, 7, 1);
    EXPECT_TRUE(window.calls.empty());
}

TEST_F(BoardDrawing, BackgroundTilesCoverTheWholeWindow) {
    form.描画_背景(Form1::bgCodeTake);
    const auto& tiles = window.calls;
    ASSERT_EQ(tiles.size(), 850u);
    for (const auto& t : tiles) EXPECT_EQ(t.code, Form1::bgCodeTake);
    expectCorner(tiles.front(), -295, -800);
    expectCorner(tiles[1], -295, -335);  // rows inside columns
    expectCorner(tiles.back(), 15050, 10360);
}

TEST_F(BoardDrawing, FullRedrawGoesBackgroundLabelsBoardLevelCountsTitle) {
    clearBoard();
    form.backgroundCode = Form1::bgCodeUchu;
    form.gameMode = Form1::modeOnePlayer;
    form.computerLevel = 2;
    window.setChecked("mochikoma", true);
    window.clearCalls();
    form.画面_再描画();

    for (std::size_t i = 0; i < 850; ++i) ASSERT_EQ(window.calls[i].code, Form1::bgCodeUchu) << i;
    expectCorner(window.calls[850], form.twipsX(1), form.twipsY(0));  // first label cell
    EXPECT_EQ(window.calls[851].text, "19");
    const std::size_t firstSquare = 850 + 19 * 6 + 5;  // five row labels clear the cell they reach into
    expectCorner(window.calls[firstSquare], 1565, 595);
    const long level = firstText("LEVEL");
    EXPECT_EQ(level, static_cast<long>(firstSquare + 722));
    EXPECT_EQ(window.calls[level + 2].text, " 2");
    EXPECT_GT(firstText("秦 取駒(王) "), level);
    EXPECT_EQ(window.calls.back().code, Form1::titlePictureCode);
    expectCorner(window.calls.back(), 11237, 130);

    form.gameMode = Form1::modeSevenPlayers;
    window.clearCalls();
    form.画面_再描画();
    EXPECT_EQ(firstText("LEVEL"), -1);
    EXPECT_NE(firstText("秦 取駒(王) "), -1);
}

}  // namespace
}  // namespace daro::test
