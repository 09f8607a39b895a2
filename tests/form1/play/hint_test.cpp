// ヒント in the window: LEVEL5's move for the human outlined, nothing played,
// and clicking the outlined squares plays it.
#include <gtest/gtest.h>

#include "GameFixture.h"

namespace daro::test {
namespace {

class Hint : public GameFixture {};

TEST_F(Hint, OutlinesAMoveOfTheHumanThatClickingPlays) {
    form.初期設定();
    window.clearCalls();
    form.HINT_Click();
    EXPECT_TRUE(window.callsOf(WindowCall::Kind::Rectangle).empty()) << "no game, no hint";

    form.JYUNBAN_1_Click();
    window.boxes.clear();
    const Board board = form.board;
    const std::size_t record = form.moveRecord.size();
    const int turn = form.turnSeat;
    window.clearCalls();
    form.HINT_Click();
    EXPECT_EQ(form.board, board);
    EXPECT_EQ(form.moveRecord.size(), record);
    EXPECT_EQ(form.turnSeat, turn);
    EXPECT_TRUE(window.boxes.empty());
    const auto outlines = window.callsOf(WindowCall::Kind::Rectangle);
    ASSERT_EQ(outlines.size(), 4u) << "two squares, two outlines each";
    // The squares under the outlines: the human's piece first, then its target.
    const auto squareOf = [&](const WindowCall& c) {
        return std::pair{static_cast<int>((c.x - form.boardLeft) / form.cellWidth),
                         static_cast<int>((c.y - form.boardTop) / form.cellHeight)};
    };
    const auto [fx, fy] = squareOf(outlines[0]);
    const auto [tx, ty] = squareOf(outlines[2]);
    EXPECT_EQ(outlines[0].code, 14);
    EXPECT_EQ(Form1::blockOfCode(form.board[fx][fy]), Form1::blockOfSeat(1));
    const int piece = form.board[fx][fy];

    clickSquare(fx, fy);
    clickSquare(tx, ty);
    ASSERT_GT(form.moveRecord.size(), record);
    const RecordEvent& played = form.moveRecord[record].move;
    EXPECT_EQ(played.kind, EventKind::Move);
    EXPECT_EQ(int{played.piece}, piece);
    EXPECT_EQ(played.toX, tx);
    EXPECT_EQ(played.toY, ty);
    EXPECT_EQ(played.fromX, fx);
}

}  // namespace
}  // namespace daro::test
