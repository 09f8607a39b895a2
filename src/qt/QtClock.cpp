#include "QtClock.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace daro::qt {
namespace {

// Holds back the input meant for the program's windows while a wait lasts
// and hands it back, in order, when the wait is over. Input reaches a
// window before Qt routes it to a widget, so held input never touches a
// menu or the board.
class HeldInput : public QObject {
public:
    explicit HeldInput(const std::function<void(QtClock::Leave)>& leave) : leave_(leave) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~HeldInput() override {
        QCoreApplication::instance()->removeEventFilter(this);
        for (auto& [target, event] : held_)
            if (target) QCoreApplication::postEvent(target, event.release());
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!receiver->isWindowType()) return false;
        if (event->type() == QEvent::Close) {
            event->ignore();  // the game decides, as for every close
            return wantsToLeave(QtClock::Leave::Close);
        }
        if (!event->isInputEvent()) return false;
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return wantsToLeave(QtClock::Leave::Escape);
        held_.emplace_back(receiver, std::unique_ptr<QEvent>(event->clone()));
        return true;
    }

private:
    bool wantsToLeave(QtClock::Leave how) {
        if (leave_) leave_(how);
        return true;
    }

    const std::function<void(QtClock::Leave)>& leave_;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> held_;
};

}  // namespace

double QtClock::now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void QtClock::idle(double seconds) {
    // Even a zero wait lets a little time pass, so a polling caller never
    // spins a core.
    const double deadline = now() + std::max(seconds, 0.001);
    HeldInput held(leave_);
    QTimer alarm;
    alarm.setSingleShot(true);
    alarm.setTimerType(Qt::PreciseTimer);
    for (;;) {
        const double left = deadline - now();
        if (left <= 0) return;
        // Sleeps in the event loop until the window system or the alarm has something.
        alarm.start(std::max(1, int(std::ceil(left * 1000))));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void QtClock::after(double seconds, std::function<void()> done) {
    const int ms = std::max(0, int(std::ceil(seconds * 1000)));
    QTimer::singleShot(ms, Qt::PreciseTimer, QCoreApplication::instance(), std::move(done));
}

void QtClock::holdInput(bool hold) {
    if (hold) {
        if (!held_) held_ = std::make_unique<HeldInput>(leave_);
        return;
    }
    if (!held_) return;
    // Handing back posts the held input behind what the game did.
    held_.reset();
    if (released_) released_();
}

}  // namespace daro::qt
