// The window as the game means it: the screen changes at the game's
// refreshes, the drawing area is covered by the background to its last
// pixel, labels keep apart, questions need an answer, Esc is heard during
// a wait.
#include <QPaintEvent>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <functional>

#include "QtClock.h"
#include "QtFixture.h"

namespace daro::test {
namespace {

// The regions the canvas repaints.
class PaintLog : public QObject {
public:
    explicit PaintLog(QWidget* w) : widget(w) { w->installEventFilter(this); }
    QWidget* widget;
    std::vector<QRegion> regions;
    long long pixels() const {
        long long n = 0;
        for (const QRegion& r : regions)
            for (const QRect& rect : r) n += (long long)rect.width() * rect.height();
        return n;
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == widget && e->type() == QEvent::Paint) regions.push_back(static_cast<QPaintEvent*>(e)->region());
        return false;
    }
};

void settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

class WindowFrameTest : public QtWindowTest {
protected:
    // A pixel of the canvas as the screen shows it (the offscreen platform's
    // screen is the windows' backing stores).
    QRgb onScreen(QPoint canvasPixel) {
        const QPoint at = window.canvas()->mapTo(&window, canvasPixel);
        return window.screen()->grabWindow(window.winId(), at.x(), at.y(), 1, 1).toImage().pixel(0, 0) | 0xff000000u;
    }
    QRgb inBuffer(QPoint canvasPixel) { return window.canvas()->buffer().pixel(canvasPixel) | 0xff000000u; }
    void SetUp() override {
        window.load();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        settle();
    }
    QRect squarePixels(int x, int y) {
        qt::Canvas* c = window.canvas();
        return QRect(QPoint(qt::Canvas::toLogical(form.twipsX(x)), qt::Canvas::toLogical(form.twipsY(y))),
                     QPoint(qt::Canvas::toLogical(form.twipsX(x + 1)) - 1,
                            qt::Canvas::toLogical(form.twipsY(y + 1)) - 1))
            .intersected(c->rect());
    }
};

TEST_F(WindowFrameTest, DrawingReachesTheScreenOnlyAtARefreshOrBackInTheEventLoopAndOnlyWhereItChanged) {
    qt::Canvas* canvas = window.canvas();
    PaintLog log(canvas);
    const QRect square = squarePixels(9, 9);
    const QPoint inside = square.center();
    window.dispatch([&](Form1& f) {
        f.描画_絵(f.emptyCode, 9, 9);
        f.描画_絵(59, 9, 9);  // a king where there was none
        settle();             // a wait lets the window system in, not the frame
        EXPECT_TRUE(log.regions.empty());
        EXPECT_NE(onScreen(inside), inBuffer(inside));
        canvas->repaint(square.adjusted(-40, -40, 40, 40));  // as for an expose
        EXPECT_NE(onScreen(inside), inBuffer(inside)) << "an expose showed a frame before its time";
        log.regions.clear();

        f.window.refresh();
        ASSERT_EQ(log.regions.size(), 1u);
        EXPECT_TRUE(log.regions[0].boundingRect().contains(square));
        EXPECT_LE(log.regions[0].boundingRect().width(), square.width() + 4);
        EXPECT_EQ(onScreen(inside), inBuffer(inside));
        f.window.refresh();  // nothing new: nothing repainted
        EXPECT_EQ(log.regions.size(), 1u);
        f.描画_桝輪郭(f.colorWhite, 3, 4);
    });
    settle();
    // Back in the event loop: the outline drawn after the refresh, and no more.
    ASSERT_EQ(log.regions.size(), 2u);
    EXPECT_TRUE(log.regions[1].boundingRect().contains(squarePixels(3, 4)));
    EXPECT_LT(log.pixels(), 4 * square.width() * square.height());
    const QPoint outline = squarePixels(3, 4).topLeft() + QPoint(10, 0);
    EXPECT_EQ(onScreen(outline), inBuffer(outline));
    settle();
    EXPECT_EQ(log.regions.size(), 2u);
}

TEST_F(WindowFrameTest, TheBackgroundCoversTheDrawingAreaToItsLastPixelUnderEveryPicture) {
    qt::Canvas* canvas = window.canvas();
    // The drawing area is what a classic frame leaves of 14000 x 11000 twips.
    EXPECT_EQ(canvas->size(), QSize(925, 687));
    const QColor bare(255, 0, 255);
    for (int code = Form1::bgCodeMidori; code <= Form1::bgCodeRenga; ++code) {
        canvas->clear(bare);
        form.描画_背景(code);
        const QImage& b = canvas->buffer();
        int uncovered = 0;
        for (int x = 0; x < b.width(); ++x)
            for (int y : {0, b.height() - 2, b.height() - 1}) uncovered += QColor(b.pixel(x, y)) == bare;
        for (int y = 0; y < b.height(); ++y)
            for (int x : {0, b.width() - 2, b.width() - 1}) uncovered += QColor(b.pixel(x, y)) == bare;
        EXPECT_EQ(uncovered, 0) << "background " << code;
    }
}

// Columns of a row band where `b` differs from `a`, counting only pixels
// of `b` that pass `ink` (all of them by default).
std::pair<int, int> changedColumns(const QImage& a, const QImage& b, int top, int bottom,
                                   const std::function<bool(QRgb)>& ink = [](QRgb) { return true; }) {
    int first = a.width(), last = -1;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && ink(b.pixel(x, y))) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

bool whiteInk(QRgb p) { return qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) > 200; }

TEST_F(WindowFrameTest, NumbersKeepClearOfTheWordsBesideThem) {
    qt::Canvas* canvas = window.canvas();
    form.backgroundCode = 7;  // a code with no picture: clearing paints nothing
    form.fontBold = true;     // as after the first coordinate labels
    const QImage paper = [&] { canvas->clear(Qt::magenta); return canvas->buffer().copy(); }();
    const int rows = qt::Canvas::toLogical(form.twipsY(1.5));

    // "LEVEL" and the level digit.
    canvas->clear(Qt::magenta);
    form.描画_数値(-1.3, 0, "LEVEL", Form1::colorBlack, 0, 10);
    form.描画_数値(-1.4, -0.1, "LEVEL", Form1::colorWhite, 0, 10);
    const QImage word = canvas->buffer().copy();
    for (int level = 1; level <= 3; ++level) {
        canvas->clear(Qt::magenta);
        form.描画_レベル(level);
        // The white letters, over their shadows, keep at least a pixel apart.
        const int wordLast = changedColumns(paper, word, 0, rows, whiteInk).second;
        const int digitFirst = changedColumns(word, canvas->buffer(), 0, rows, whiteInk).first;
        EXPECT_GT(digitFirst, wordLast + 1) << "LEVEL" << level;
    }

    // The move number and "手目", up to four digits.
    canvas->clear(Qt::magenta);
    form.描画_文字列(-0.9, 0.3, Form1::moveSuffixStringCode, Form1::colorBlack, 10);
    form.描画_文字列(-1, 0.2, Form1::moveSuffixStringCode, Form1::colorWhite, 10);
    const QImage suffix = canvas->buffer().copy();
    const int suffixFirst = changedColumns(paper, suffix, 0, rows).first;
    for (int n : {9, 99, 999, 1000, 1888, 9999}) {
        canvas->clear(Qt::magenta);
        form.描画_手数(n);
        const auto [first, last] = changedColumns(suffix, canvas->buffer(), 0, rows);
        EXPECT_LT(last, suffixFirst) << n;
        // Still inside the area the move number clears.
        EXPECT_GE(first, qt::Canvas::toLogical(form.twipsX(-3))) << n;
    }
}

TEST_F(WindowFrameTest, AShorterMoveNumberLeavesNothingOfALongerOne) {
    qt::Canvas* canvas = window.canvas();
    const auto callerClearsAndDraws = [&](int n) {
        for (int x = -2; x <= 0; ++x) form.描画_絵(form.backgroundCode, x, 0);
        form.描画_手数(n);
    };
    const QRect area(QPoint(0, 0), QPoint(qt::Canvas::toLogical(form.twipsX(1)) - 1,
                                          qt::Canvas::toLogical(form.twipsY(2)) - 1));
    for (int longer : {10, 100, 1000}) {
        callerClearsAndDraws(7);
        const QImage fresh = canvas->buffer().copy(area);
        callerClearsAndDraws(longer);
        callerClearsAndDraws(7);  // as after 戻
        EXPECT_EQ(canvas->buffer().copy(area), fresh) << longer;
    }
}

TEST_F(WindowFrameTest, TheQuestionToPlayOnIsAnsweredOnlyByItsButtons) {
    int tries = 0;
    bool stillOpenAfterEscAndClose = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (++tries == 1) {
            QTest::keyClick(box, Qt::Key_Escape);
            box->close();
            if (box->windowHandle()) box->windowHandle()->close();
            return;
        }
        stillOpenAfterEscAndClose = box->isVisible();
        poll.stop();
        box->button(QMessageBox::Yes)->click();
    });
    poll.start();
    EXPECT_EQ(window.messageBox("続けますか？", "再ゲーム", BoxButtons::YesNo, BoxIcon::None), BoxAnswer::Yes);
    EXPECT_TRUE(stillOpenAfterEscAndClose);
    EXPECT_EQ(exits, 0);

    // An OK box still closes with Esc.
    SeenBox seen;
    QTimer::singleShot(50, [] {
        if (auto* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(window.messageBox("秦の番です", "", BoxButtons::Ok, BoxIcon::None), BoxAnswer::Ok);
}

TEST_F(WindowFrameTest, AnEmptyTitleShowsNothingNotTheProgramsName) {
    QString shownTitle = "unset";
    QTimer::singleShot(20, [&] {
        auto* box = QApplication::activeModalWidget();
        if (!box) return;
        shownTitle = box->windowHandle() ? box->windowHandle()->title() : box->windowTitle();
        static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    window.messageBox("自殺はできません", "", BoxButtons::Ok, BoxIcon::None);
    EXPECT_FALSE(shownTitle.contains(QCoreApplication::applicationName())) << shownTitle.toStdString();
    for (QChar c : shownTitle) EXPECT_FALSE(c.isPrint() && !c.isSpace()) << shownTitle.toStdString();
}

// A click during a wait is not handed to the game until the waiting call
// has returned; Esc during a wait ends the program inside the wait.
TEST_F(WindowFrameTest, ClicksDuringAWaitWaitTheirTurnEscEndsAtOnce) {
    qt::QtClock clock([this](qt::QtClock::Leave how) { window.leaveDuringWait(how == qt::QtClock::Leave::Escape); });
    QWindow* handle = window.windowHandle();
    ASSERT_NE(handle, nullptr);
    const QPoint onTheBoard = window.canvas()->mapTo(&window, squarePixels(5, 10).center());
    SeenBox refused;
    answerNextBox(QMessageBox::Ok, &refused);  // no game yet: the click is refused
    bool clickedInsideTheWait = true;
    window.dispatch([&](Form1&) {
        QTimer::singleShot(0, [&] { QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, onTheBoard); });
        clock.idle(0.05);
        clock.idle(0.05);
        clickedInsideTheWait = !sound.argsOf("dsPlay").empty() || refused.shown;
    });
    EXPECT_FALSE(clickedInsideTheWait);
    for (int i = 0; i < 50 && !refused.shown; ++i) QTest::qWait(10);
    EXPECT_EQ(refused.title, QStringLiteral("開始"));

    int exitsInsideTheWait = -1;
    window.dispatch([&](Form1&) {
        QTimer::singleShot(0, [&] { QTest::keyClick(handle, Qt::Key_Escape); });
        clock.idle(0.05);
        exitsInsideTheWait = exits;
    });
    EXPECT_EQ(exitsInsideTheWait, 1);
    EXPECT_TRUE(form.ended);
}

}  // namespace
}  // namespace daro::test
