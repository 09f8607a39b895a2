#pragma once
// The clock of the real window: waits keep the window answering the window
// system (expose, "are you alive" pings) but hand no input to the game;
// clicks and keys made meanwhile are handled once the game returns. The
// one exception is the wish to leave: Esc or closing the window during a
// wait calls the leave action at once.

#include <functional>

#include "platform/Clock.h"

namespace daro::qt {

class QtClock : public daro::Clock {
public:
    enum class Leave { Escape, Close };
    explicit QtClock(std::function<void(Leave)> leave = {}) : leave_(std::move(leave)) {}

    double now() override;
    void idle(double seconds) override;

private:
    std::function<void(Leave)> leave_;
};

}  // namespace daro::qt
