#pragma once
// The clock of the real window: waits keep the window answering the window
// system (expose, "are you alive" pings) but hand no input to the game;
// clicks and keys made meanwhile are handled once the game returns. The
// one exception is the wish to leave: Esc or closing the window during a
// wait calls the leave action at once.

#include <QObject>

#include <functional>
#include <memory>

#include "platform/Clock.h"

namespace daro::qt {

class QtClock : public daro::Clock {
public:
    enum class Leave { Escape, Close };
    explicit QtClock(std::function<void(Leave)> leave = {}) : leave_(std::move(leave)) {}

    double now() override;
    void idle(double seconds) override;
    // A timer on the event loop: the window goes on answering meanwhile.
    void after(double seconds, std::function<void()> done) override;
    void holdInput(bool hold) override;
    // Told when held input has been handed back: the game is idle again.
    void setReleased(std::function<void()> released) { released_ = std::move(released); }

private:
    std::function<void(Leave)> leave_;
    std::function<void()> released_;
    std::unique_ptr<QObject> held_;
};

}  // namespace daro::qt
