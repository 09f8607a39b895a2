// ヒント in the real window, the search on its own thread as in the program:
// the menu item returns at once and the board answers a click before the
// hint comes; then the two squares are framed in light cyan on the canvas,
// and Esc takes the frames away without ending the program.
#include <QKeyEvent>

#include <cmath>

#include "Eventually.h"
#include "QtFixture.h"
#include "QtSearcher.h"

namespace daro::test {
namespace {

class HintInTheWindow : public ::testing::Test {
protected:
    HintInTheWindow() {
        QDir::setCurrent(folder.path());
        window.setExitAction([this] { ++exits; });
        window.attach(form);
    }
    ~HintInTheWindow() override { QDir::setCurrent(previousFolder); }

    // Light cyan at the hint's frame, 5 pixels in from the square's left edge.
    bool framed(int x, int y) const {
        const int left = int(std::ceil(form.twipsX(x) / 15.0)), top = int(std::ceil(form.twipsY(y) / 15.0));
        return window.canvas()->buffer().pixelColor(left + 5, top + 15) == qt::MainWindow::qbColor(11);
    }
    int framedSquares() const {
        int n = 0;
        for (int x = 1; x <= Form1::boardSize; ++x)
            for (int y = 1; y <= Form1::boardSize; ++y) n += framed(x, y) ? 1 : 0;
        return n;
    }

    QString previousFolder = QDir::currentPath();
    QTemporaryDir folder;
    qt::MainWindow window;
    InstantClock clock;
    RecordingSoundLibrary sound;
    qt::QtSearcher searcher;
    Form1 form{window, clock, &sound, {}, &searcher};
    int exits = 0;
};

TEST_F(HintInTheWindow, ThoughtBesideTheWindowFramedInCyanAndTakenAwayByEsc) {
    window.load();
    SeenBox whoseTurn;
    answerNextBox(QMessageBox::Ok, &whoseTurn);
    window.dispatch([](Form1& f) { f.JYUNBAN_1_Click(); });
    ASSERT_EQ(form.table.next(), (Step{StepKind::human, 1}));
    const Board board = form.board;
    ASSERT_EQ(framedSquares(), 0);

    window.menuItem("HINT")->trigger();
    // The answer comes back through the event loop, so nothing is framed yet
    // and the window takes a click meanwhile.
    EXPECT_TRUE(form.hintWanted());
    EXPECT_EQ(framedSquares(), 0);
    window.dispatch([](Form1& f) { f.Form_MouseDown(1, 0, f.twipsX(5.5), f.twipsY(10.5)); });
    EXPECT_EQ(form.clickPhase, 1) << "the click was held up by the hint";

    ASSERT_TRUE(eventually([&] { return framedSquares() == 2; }, 30000));
    EXPECT_EQ(form.board, board) << "the hint played nothing";
    EXPECT_EQ(form.moveNumber, 0);

    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window, &esc);
    EXPECT_EQ(exits, 0);
    EXPECT_FALSE(form.hintWanted());
    EXPECT_EQ(framedSquares(), 0);
}

}  // namespace
}  // namespace daro::test
