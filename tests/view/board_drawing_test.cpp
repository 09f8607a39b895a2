#include <gtest/gtest.h>

#include "GameFixture.h"

namespace daro::test {
namespace {

using Kind = WindowCall::Kind;

class BoardDrawing : public GameFixture {};

TEST_F(BoardDrawing, PictureTableNamesEveryImageAndNothingElse) {
    EXPECT_EQ(Form1::pictureControlName(Form1::emptyCode), "KARA_MASU");
    EXPECT_EQ(Form1::pictureControlName(Form1::titlePictureCode), "ZTSHOGI");
    EXPECT_EQ(Form1::pictureControlName(Form1::bgCodeMidori), "HAIKEI_MIDORI");
    EXPECT_EQ(Form1::pictureControlName(Form1::bgCodeRenga), "HAIKEI_RENGA");
    EXPECT_EQ(Form1::pictureControlName(54), "SOU_KIB");
    EXPECT_EQ(Form1::pictureControlName(19), "GI_OHU");
    EXPECT_EQ(Form1::pictureControlName(70), "KAN_GYO");
    EXPECT_EQ(Form1::pictureControlName(38), "SAI_HII");
    EXPECT_EQ(Form1::pictureControlName(Form1::centreCode), "SYU");
    for (int none : {7, 8, 9, 81, -1})
        EXPECT_EQ(Form1::pictureControlName(none), "") << none;

    EXPECT_EQ(Form1::iconControlName(1, Form1::playerHuman), "ICO_MAN_SOU");
    EXPECT_EQ(Form1::iconControlName(5, Form1::playerComputer), "ICO_COM_GI");
    EXPECT_EQ(Form1::iconControlName(7, Form1::playerHuman), "ICO_MAN_EN");
    EXPECT_EQ(Form1::iconControlName(0, Form1::playerHuman), "");
    EXPECT_EQ(Form1::iconControlName(8, Form1::playerComputer), "");
    EXPECT_EQ(Form1::iconControlName(3, 0), "");
}

TEST_F(BoardDrawing, PicturesAndOutlinesArePlacedOnTheSquareGrid) {
    form.描画_絵(59, 1, 1);
    form.描画_絵(Form1::titlePictureCode, 21.8, 0);
    form.描画_絵(9, 5, 5);  // no picture: the window is not asked at all
    form.描画_桝輪郭(Form1::selectColor, 19, 19);

    ASSERT_EQ(window.calls.size(), 3u);
    EXPECT_EQ(window.calls[0].code, 59);
    EXPECT_DOUBLE_EQ(window.calls[0].x, 1565);
    EXPECT_DOUBLE_EQ(window.calls[0].y, 595);
    EXPECT_NEAR(window.calls[1].x, 11237, 1e-6);
    EXPECT_NEAR(window.calls[1].y, 130, 1e-6);
    const WindowCall& box = window.calls[2];
    EXPECT_EQ(box.kind, Kind::Rectangle);
    EXPECT_EQ(box.code, Form1::selectColor);
    EXPECT_DOUBLE_EQ(box.x, 9935);
    EXPECT_DOUBLE_EQ(box.y, 8965);
    EXPECT_DOUBLE_EQ(box.x2, 10400);
    EXPECT_DOUBLE_EQ(box.y2, 9430);
}

TEST_F(BoardDrawing, BoardPaintsEachSquareThenItsOutlineColumnByColumn) {
    clearBoard();
    form.board[1][2] = 59;
    form.outlineColor = Form1::colorGreen;
    form.描画_盤();

    ASSERT_EQ(window.calls.size(), 2u * 361);
    for (std::size_t i = 0; i < window.calls.size(); i += 2) {
        EXPECT_EQ(window.calls[i].kind, Kind::Picture);
        EXPECT_EQ(window.calls[i + 1].kind, Kind::Rectangle);
        EXPECT_EQ(window.calls[i + 1].code, Form1::colorGreen);
        EXPECT_DOUBLE_EQ(window.calls[i].x, window.calls[i + 1].x);
        EXPECT_DOUBLE_EQ(window.calls[i].y, window.calls[i + 1].y);
    }
    // (1,1) empty, then (1,2) with the piece: y runs inside x.
    EXPECT_EQ(window.calls[0].code, Form1::emptyCode);
    EXPECT_EQ(window.calls[2].code, 59);
    EXPECT_DOUBLE_EQ(window.calls[2].y, 130 + 2 * 465);
    EXPECT_EQ(window.pictureAt(form.twipsX(10), form.twipsY(10)), Form1::centreCode);
    EXPECT_DOUBLE_EQ(window.calls.back().x, 1100 + 19 * 465);
}

TEST_F(BoardDrawing, GridOutlinesTouchNoPictureAndHighlightsNeedGuidance) {
    form.gridColor = Form1::colorGreen;
    form.描画_将棋盤桝();
    EXPECT_EQ(window.callsOf(Kind::Rectangle).size(), 361u);
    EXPECT_TRUE(window.callsOf(Kind::Picture).empty());

    // Guidance off: only the grid is redrawn, whatever the piece.
    window.clearCalls();
    clearBoard();
    form.board[5][5] = 51;
    window.setChecked("SIDOU", false);
    window.clearCalls();
    form.描画_移動可能桝色(5, 5, Form1::colorWhite, 51);
    ASSERT_EQ(window.calls.size(), 361u);
    for (const auto& c : window.calls) EXPECT_EQ(c.code, Form1::colorGreen);

    // Guidance on but no piece picked: the same.
    window.setChecked("SIDOU", true);
    window.clearCalls();
    form.描画_移動可能桝色(5, 5, Form1::colorWhite, Form1::emptyCode);
    EXPECT_EQ(window.calls.size(), 361u);
}

TEST_F(BoardDrawing, BlinkShowsThePieceThenTheEmptySquareAndRefreshesAfterEachPhase) {
    clearBoard();
    form.board[4][7] = 33;
    form.描画_桝点滅(4, 7, 2);

    const std::vector<std::pair<Kind, int>> phase = {{Kind::Picture, 33},         {Kind::Rectangle, form.outlineColor},
                                                     {Kind::Refresh, 0},          {Kind::Picture, Form1::emptyCode},
                                                     {Kind::Rectangle, form.outlineColor}, {Kind::Refresh, 0}};
    ASSERT_EQ(window.calls.size(), 2 * phase.size());
    for (std::size_t i = 0; i < window.calls.size(); ++i) {
        EXPECT_EQ(window.calls[i].kind, phase[i % phase.size()].first) << i;
        EXPECT_EQ(window.calls[i].code, phase[i % phase.size()].second) << i;
    }
    EXPECT_EQ(window.pictureAt(form.twipsX(4), form.twipsY(7)), Form1::emptyCode);
    // The board itself is not touched.
    EXPECT_EQ(form.board[4][7], 33);

    window.clearCalls();
    form.描画_桝点滅(4, 7, 0);
    form.描画_桝点滅(20, 7, 1);
    EXPECT_TRUE(window.calls.empty());
}

TEST_F(BoardDrawing, BackgroundTilesCoverTheWholeWindow) {
    form.描画_背景(Form1::bgCodeTake);
    const auto tiles = window.callsOf(Kind::Picture);
    ASSERT_EQ(window.calls.size(), 850u);
    ASSERT_EQ(tiles.size(), 850u);
    for (const auto& t : tiles) EXPECT_EQ(t.code, Form1::bgCodeTake);
    EXPECT_DOUBLE_EQ(tiles.front().x, -295);
    EXPECT_DOUBLE_EQ(tiles.front().y, -800);
    EXPECT_DOUBLE_EQ(tiles[1].x, -295);  // rows inside columns
    EXPECT_DOUBLE_EQ(tiles[1].y, -335);
    EXPECT_DOUBLE_EQ(tiles.back().x, 15050);
    EXPECT_DOUBLE_EQ(tiles.back().y, 10360);
}

// Index of the first text call printing `text`, or -1.
long firstText(const RecordingWindow& w, const std::string& text) {
    for (std::size_t i = 0; i < w.calls.size(); ++i)
        if (w.calls[i].kind == Kind::Text && w.calls[i].text == text) return static_cast<long>(i);
    return -1;
}

TEST_F(BoardDrawing, FullRedrawGoesBackgroundLabelsBoardLevelCountsTitle) {
    clearBoard();
    form.backgroundCode = Form1::bgCodeUchu;
    form.gameMode = Form1::modeOnePlayer;
    form.computerLevel = 2;
    window.setChecked("mochikoma", true);
    window.clearCalls();
    form.画面_再描画();

    // Background first.
    for (std::size_t i = 0; i < 850; ++i) ASSERT_EQ(window.calls[i].code, Form1::bgCodeUchu) << i;
    // Then the coordinate labels: the first cell cleared is (1, 0).
    EXPECT_EQ(window.calls[850].kind, Kind::Picture);
    EXPECT_DOUBLE_EQ(window.calls[850].x, form.twipsX(1));
    EXPECT_DOUBLE_EQ(window.calls[850].y, form.twipsY(0));
    const long labels = firstText(window, "19");
    const long firstSquare = 850 + 19 * 6;
    EXPECT_GT(labels, 850);
    // Then the board, starting at square (1, 1).
    EXPECT_EQ(window.calls[firstSquare].kind, Kind::Picture);
    EXPECT_EQ(window.calls[firstSquare].code, Form1::emptyCode);
    EXPECT_DOUBLE_EQ(window.calls[firstSquare].x, 1565);
    EXPECT_DOUBLE_EQ(window.calls[firstSquare].y, 595);
    const long level = firstText(window, "LEVEL");
    EXPECT_EQ(level, firstSquare + 722);
    EXPECT_EQ(window.calls[level + 2].text, "2");
    const long counts = firstText(window, "秦 取駒(王) ");
    EXPECT_GT(counts, level);
    // The title closes the redraw.
    EXPECT_EQ(window.calls.back().code, Form1::titlePictureCode);
    EXPECT_NEAR(window.calls.back().x, 11237, 1e-6);

    // Seven players: no level.
    form.gameMode = Form1::modeSevenPlayers;
    window.clearCalls();
    form.画面_再描画();
    EXPECT_EQ(firstText(window, "LEVEL"), -1);
    EXPECT_NE(firstText(window, "秦 取駒(王) "), -1);
}

}  // namespace
}  // namespace daro::test
