// What the real window costs the game, measured on Qt's offscreen platform:
//   - a click that picks a piece (move guidance on): handler plus paint, median;
//   - bytes the canvas repaints for one computer move (blinks included);
//   - a whole repaint of the window at twice the classic size, median
//     (goal: under 5 ms).
//
//   bench_window [clicks] [computer moves] [repaints]
//
// Paint events are counted by their region, in device pixels of 4 bytes.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Canvas.h"
#include "Form1.h"
#include "MainWindow.h"
#include "QtClock.h"

namespace {

// A device that plays nothing, so start-up shows no warning box.
class SilentSound : public daro::SoundLibrary {
public:
    std::int32_t dsInitialize(std::int32_t) override { return 1; }
    std::int32_t dsTerminate(std::int32_t) override { return 1; }
    std::int32_t dsCreateDSB(std::int32_t, const std::uint8_t*, std::size_t, std::int32_t) override { return 0; }
    std::int32_t dsFree(std::int32_t) override { return 0; }
    std::int32_t dsPlay(std::int32_t) override { return 0; }
    std::int32_t dsPlayLooping(std::int32_t) override { return 0; }
    std::int32_t dsStop(std::int32_t) override { return 0; }
};

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* canvas) : canvas_(canvas) { canvas->installEventFilter(this); }
    long long bytes = 0;
    int events = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == canvas_ && event->type() == QEvent::Paint) {
            const qreal ratio = canvas_->devicePixelRatioF();
            long long pixels = 0;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                pixels += (long long)(r.width() * ratio) * (long long)(r.height() * ratio);
            bytes += pixels * 4;
            ++events;
        }
        return false;
    }

private:
    QWidget* canvas_;
};

void drain() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const int clicks = argc > 1 ? std::atoi(argv[1]) : 100;
    const int computerMoves = argc > 2 ? std::atoi(argv[2]) : 3;
    QApplication app(argc, argv);
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());  // the settings file is written here

    daro::qt::MainWindow window;
    daro::qt::QtClock clock;
    SilentSound sound;
    daro::Form1 form(window, clock, &sound);
    window.setExitAction([] {});
    window.attach(form);
    window.load();
    window.show();
    drain();
    PaintCounter counter(window.canvas());

    // Seven humans; 秦 to move; move guidance on.
    window.dispatch([&](daro::Form1& f) {
        f.gameStarted = f.valueYes;
        f.gameMode = f.modeSevenPlayers;
        for (int s = 1; s <= 7; ++s) f.seatPlayer[s] = f.playerHuman;
        f.turnSeat = 1;
        f.window.setChecked("SIDOU", true);
        f.guideColor = f.colorWhite;
    });
    drain();
    // 秦's 行 on (5, 10).
    const double x = 1100 + 465 * 5 + 200, y = 130 + 465 * 10 + 200;
    std::vector<double> times;
    long long clickBytes = 0;
    for (int i = 0; i < clicks; ++i) {
        window.dispatch([](daro::Form1& f) { f.clickPhase = 0; });
        drain();
        counter.bytes = 0;
        QElapsedTimer t;
        t.start();
        window.dispatch([=](daro::Form1& f) { f.Form_MouseDown(1, 0, x, y); });
        drain();
        times.push_back(t.nsecsElapsed() / 1e6);
        clickBytes += counter.bytes;
    }
    std::printf("pick click, handler + paint: median %.3f ms over %d clicks (%lld bytes repainted each)\n",
                median(times), clicks, clicks ? clickBytes / clicks : 0);

    // One human (燕), six computers; 秦 moves first.
    window.dispatch([](daro::Form1& f) {
        f.gameMode = f.modeOnePlayer;
        for (int s = 1; s <= 7; ++s) f.seatPlayer[s] = s == 7 ? f.playerHuman : f.playerComputer;
        f.clickPhase = 0;
        f.描画_将棋盤桝();
    });
    drain();
    long long moveBytes = 0;
    int moveEvents = 0;
    for (int m = 0; m < computerMoves; ++m) {
        counter.bytes = 0;
        counter.events = 0;
        window.dispatch([](daro::Form1& f) {
            f.com_ban(f.turnSeat);
            f.turnSeat = f.table.手番_進(f.turnSeat);
        });
        drain();
        moveBytes += counter.bytes;
        moveEvents += counter.events;
    }
    if (computerMoves > 0)
        std::printf("computer move: %lld bytes repainted in %.1f paint events per move (%d moves)\n",
                    moveBytes / computerMoves, double(moveEvents) / computerMoves, computerMoves);

    // Twice the classic size: the game's area is drawn at twice the pixels.
    const int repaints = argc > 3 ? std::atoi(argv[3]) : 50;
    window.resize(window.size() + window.canvas()->size());
    drain();
    std::vector<double> paints;
    for (int i = 0; i < repaints; ++i) {
        QElapsedTimer t;
        t.start();
        window.canvas()->repaint();
        paints.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("whole repaint at %.2fx the classic size (%dx%d): median %.3f ms over %d\n",
                window.canvas()->scale(), window.canvas()->width(), window.canvas()->height(), median(paints),
                repaints);
    // And the game drawing everything anew there, as after a resize.
    std::vector<double> redraws;
    for (int i = 0; i < repaints / 5 + 1; ++i) {
        QElapsedTimer t;
        t.start();
        form.redrawWhole();
        redraws.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("the game's whole redraw at that size: median %.3f ms\n", median(redraws));
    return 0;
}
