#pragma once
// The clock of the real window: waits keep the window answering the window
// system (expose, "are you alive" pings) but hand no input to the game;
// clicks and keys made meanwhile are handled once the game returns.

#include "platform/Clock.h"

namespace daro::qt {

class QtClock : public daro::Clock {
public:
    double now() override;
    void idle(double seconds) override;
};

}  // namespace daro::qt
