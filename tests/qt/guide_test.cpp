// The guide: each diagram marks exactly the squares the move check lets its
// piece reach on the example board, and the guide follows the language.
#include <QPushButton>
#include <QTextBrowser>

#include "table/Table.h"
#include "Guide.h"
#include "Language.h"
#include "QtFixture.h"
#include "guide/PieceExamples.h"

namespace daro::test {
namespace {

class GuideDiagrams : public ::testing::Test {
protected:
    Table form;
};

// The pixel at the middle of a square, where a move's dot is, and one on the
// frame round a piece that is taken.
QPoint middleOf(int x, int y) {
    const int s = qt::Guide::squarePixels, b = qt::Guide::borderPixels;
    return {b + (x - 1) * s + s / 2, b + (y - 1) * s + s / 2};
}
QPoint frameOf(int x, int y) {
    const int s = qt::Guide::squarePixels, b = qt::Guide::borderPixels;
    return {b + (x - 1) * s + 3, b + (y - 1) * s + s / 2};
}

// The squares the game accepts the example's move on, asked of the table
// itself: the example set up as a position of seven humans, the piece's
// kingdom to move, each move submitted to a copy.
std::vector<guide::Square> acceptedMoves(const guide::Example& e) {
    Table table;
    guide::setUp(table, e);
    std::array<SeatKind, 8> humans{};
    for (auto& seat : humans) seat.human = true;
    table.seat(Table::modeSevenPlayers, humans);
    guide::setUp(table, e);
    // The kingdom to move needs its king on the board; one stands far off
    // behind the wall when the example has none.
    if (e.kind != Codes::OHU) table.board[Table::boardSize][Table::boardSize] = 10 * guide::moverBlock + Codes::OHU;
    table.turnSeat = Codes::seatOfBlock(guide::moverBlock);
    std::vector<guide::Square> accepted;
    for (int x = 1; x <= Table::boardSize; ++x)
        for (int y = 1; y <= Table::boardSize; ++y) {
            Table trial = table;
            if (trial.submit(trial.turnSeat, {e.x, e.y, x, y}) == Refusal::none) accepted.push_back({x, y});
        }
    return accepted;
}

TEST_F(GuideDiagrams, EachMarksExactlyTheSquaresTheGameAcceptsTheMoveOnKingRuleIncluded) {
    int captures = 0, refusedCrosses = 0;
    for (const guide::Example& e : guide::examples) {
        const std::vector<guide::Square> reach = acceptedMoves(e);
        guide::setUp(form, e);
        ASSERT_FALSE(reach.empty()) << "kind " << e.kind;
        const QImage image = qt::Guide::diagram(e.kind, 1.0);
        for (int x = 1; x <= guide::smallBoardSize; ++x)
            for (int y = 1; y <= guide::smallBoardSize; ++y) {
                const bool reached = std::find(reach.begin(), reach.end(), guide::Square{x, y}) != reach.end();
                const bool occupied = form.board[x][y] != Codes::emptyCode;
                const bool dot = QColor(image.pixel(middleOf(x, y))) == qt::Guide::moveMark();
                const bool frame = QColor(image.pixel(frameOf(x, y))) == qt::Guide::captureMark();
                const bool cross = QColor(image.pixel(middleOf(x, y))) == qt::Guide::refusedMark();
                EXPECT_EQ(dot, reached && !occupied) << "kind " << e.kind << " square " << x << "," << y;
                EXPECT_EQ(frame, reached && occupied) << "kind " << e.kind << " square " << x << "," << y;
                // A cross only where the move check lets the king go and the game refuses it.
                const bool moveCheckReaches =
                    form.移動チェック(e.x, e.y, x, y, form.board[e.x][e.y]) == Codes::valueYes;
                EXPECT_EQ(cross, moveCheckReaches && !reached) << "kind " << e.kind << " square " << x << "," << y;
                captures += reached && occupied;
                refusedCrosses += cross;
            }
        // Nothing the piece reaches lies outside the small board shown.
        for (const guide::Square& s : reach)
            EXPECT_TRUE(s.x <= guide::smallBoardSize && s.y <= guide::smallBoardSize) << "kind " << e.kind;
    }
    // Every piece but 行 shows a capture; the cannon's is over its screen;
    // the king's example shows the square next to the other kingdom's sword.
    EXPECT_EQ(captures, 9);
    EXPECT_EQ(refusedCrosses, 1);
    const guide::Example& cannon = guide::examples[Codes::HOU];
    const auto reach = acceptedMoves(cannon);
    EXPECT_NE(std::find(reach.begin(), reach.end(), guide::Square{5, 2}), reach.end());
    EXPECT_EQ(std::find(reach.begin(), reach.end(), guide::Square{5, 4}), reach.end());
}

TEST_F(QtWindowTest, TheGuideOpensFromTheMenuAndReadsInTheWindowsLanguage) {
    window.menuItem("ASOBIKATA")->trigger();
    qt::Guide* guide = window.guide();
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    EXPECT_EQ(guide->windowTitle(), QStringLiteral("遊び方"));
    EXPECT_EQ(window.menuItem("ASOBIKATA")->shortcut(), QKeySequence(QKeySequence::HelpContents));
    window.menuItem("LANGUAGE_en")->trigger();
    QCoreApplication::sendPostedEvents();  // Qt tells the windows with the next turn of the loop
    EXPECT_EQ(guide->windowTitle(), QStringLiteral("How to play"));
    EXPECT_EQ(guide->closeButton()->text(), QStringLiteral("Close"));
    const QString text = guide->text()->toPlainText();
    for (const char* words : {"capture two kings", "Cannon", "Zhou", "drops out"})
        EXPECT_TRUE(text.contains(QLatin1String(words))) << words;
    for (QChar c : text) EXPECT_FALSE(c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) << QString(c).toStdString();
    window.menuItem("LANGUAGE_ja")->trigger();
    QCoreApplication::sendPostedEvents();  // Qt tells the windows with the next turn of the loop
    EXPECT_TRUE(guide->text()->toPlainText().contains(QStringLiteral("王を二つ取る")));
    EXPECT_EQ(guide->closeButton()->text(), QStringLiteral("閉じる"));
}

}  // namespace
}  // namespace daro::test
