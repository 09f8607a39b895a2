// What a move and a withdrawal paint, in order. Needs the board drawing;
// skipped while the drawing procedures paint nothing.
#include <cmath>
#include <sstream>

#include "GameFixture.h"

using daro::Form1;
using daro::test::GameFixture;
using daro::test::WindowCall;

namespace {

class Repaint : public GameFixture {
protected:
    void SetUp() override {
        clearBoard();
        window.clearCalls();
        form.描画_絵(Form1::emptyCode, 1, 1);
        if (window.callsOf(WindowCall::Kind::Picture).empty()) GTEST_SKIP() << "board drawing not built in";
        window.clearCalls();
    }
    static std::string tag(char kind, int code, int x, int y) {
        std::ostringstream s;
        s << kind << code << '@' << x << ',' << y;
        return s.str();
    }
    // Pictures, outlines and refreshes, as "P<code>@x,y", "R<colour>@x,y", "F".
    std::vector<std::string> painted() const {
        std::vector<std::string> out;
        for (const WindowCall& c : window.calls) {
            const int x = static_cast<int>(std::lround((c.x - form.boardLeft) / form.cellWidth));
            const int y = static_cast<int>(std::lround((c.y - form.boardTop) / form.cellHeight));
            if (c.kind == WindowCall::Kind::Picture) out.push_back(tag('P', c.code, x, y));
            if (c.kind == WindowCall::Kind::Rectangle) out.push_back(tag('R', c.code, x, y));
            if (c.kind == WindowCall::Kind::Refresh) out.push_back("F");
        }
        return out;
    }
};

TEST_F(Repaint, MoveClearsTheFromSquareThenPaintsTheMoverWithTwoOutlines) {
    form.board[3][3] = 52;
    form.board[3][4] = 11;
    form.描画_駒移動(3, 3, 3, 4, 52);
    const int o = form.outlineColor;
    EXPECT_EQ(painted(), (std::vector<std::string>{"P0@3,3", tag('R', o, 3, 3), "P52@3,4", tag('R', o, 3, 4),
                                                   tag('R', o, 3, 4)}));
}

TEST_F(Repaint, WithdrawalBlinksEachPieceOnAndOffThreeTimes) {
    form.board[2][5] = 12;
    form.board[4][1] = 19;
    form.描画_戦線離脱(5);
    const int o = form.outlineColor;
    const std::vector<std::string> cycle = {"P12@2,5", tag('R', o, 2, 5), "P19@4,1", tag('R', o, 4, 1), "F",
                                            "P0@2,5",  tag('R', o, 2, 5), "P0@4,1",  tag('R', o, 4, 1), "F"};
    std::vector<std::string> expected;
    for (int i = 0; i < 3; ++i) expected.insert(expected.end(), cycle.begin(), cycle.end());
    EXPECT_EQ(painted(), expected);
}

}  // namespace
