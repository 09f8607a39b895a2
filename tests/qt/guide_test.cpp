// The guide: each diagram marks exactly the squares the move check lets its
// piece reach on the example board, and the guide follows the language.
#include <QTextBrowser>

#include "GameFixture.h"
#include "Guide.h"
#include "Language.h"
#include "QtFixture.h"
#include "guide/PieceExamples.h"

namespace daro::test {
namespace {

class GuideDiagrams : public GameFixture {};

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

TEST_F(GuideDiagrams, EachMarksExactlyTheMoveChecksReachOnItsExampleBoard) {
    int captures = 0;
    for (const guide::Example& e : guide::examples) {
        guide::setUp(form, e);
        const std::vector<guide::Square> reach = guide::reachOf(form.table, e.x, e.y);
        ASSERT_FALSE(reach.empty()) << "kind " << e.kind;
        const QImage image = qt::Guide::diagram(e.kind, 1.0);
        for (int x = 1; x <= guide::smallBoardSize; ++x)
            for (int y = 1; y <= guide::smallBoardSize; ++y) {
                const bool reached = std::find(reach.begin(), reach.end(), guide::Square{x, y}) != reach.end();
                const bool occupied = form.board[x][y] != Form1::emptyCode;
                const bool dot = QColor(image.pixel(middleOf(x, y))) == qt::Guide::moveMark();
                const bool frame = QColor(image.pixel(frameOf(x, y))) == qt::Guide::captureMark();
                EXPECT_EQ(dot, reached && !occupied) << "kind " << e.kind << " square " << x << "," << y;
                EXPECT_EQ(frame, reached && occupied) << "kind " << e.kind << " square " << x << "," << y;
                captures += reached && occupied;
            }
        // Nothing the piece reaches lies outside the small board shown.
        for (const guide::Square& s : reach)
            EXPECT_TRUE(s.x <= guide::smallBoardSize && s.y <= guide::smallBoardSize) << "kind " << e.kind;
    }
    // Every piece but 行 shows a capture; the cannon's is over its screen.
    EXPECT_EQ(captures, 9);
    const guide::Example& cannon = guide::examples[Form1::HOU];
    guide::setUp(form, cannon);
    const auto reach = guide::reachOf(form.table, cannon.x, cannon.y);
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
    const QString text = guide->text()->toPlainText();
    for (const char* words : {"capture two kings", "Cannon", "Zhou", "drops out"})
        EXPECT_TRUE(text.contains(QLatin1String(words))) << words;
    for (QChar c : text) EXPECT_FALSE(c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) << QString(c).toStdString();
    window.menuItem("LANGUAGE_ja")->trigger();
    QCoreApplication::sendPostedEvents();  // Qt tells the windows with the next turn of the loop
    EXPECT_TRUE(guide->text()->toPlainText().contains(QStringLiteral("王を二つ取る")));
}

}  // namespace
}  // namespace daro::test
