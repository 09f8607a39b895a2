#include "QtClock.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <thread>

namespace daro::qt {

double QtClock::now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void QtClock::idle(double seconds) {
    // Even a zero wait lets a little time pass, so a polling caller never
    // spins a core.
    const double deadline = now() + std::max(seconds, 0.001);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const double left = deadline - now();
        if (left <= 0) return;
        std::this_thread::sleep_for(std::chrono::duration<double>(std::min(left, 0.01)));
    }
}

}  // namespace daro::qt
