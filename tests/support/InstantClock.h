#pragma once
// A clock whose waits pass at once: time moves only when the game idles.

#include "platform/Clock.h"

namespace daro::test {

class InstantClock : public Clock {
public:
    double now() override { return seconds; }
    void idle(double s) override {
        ++idleCalls;
        // At least a millisecond, so a tiny remainder can never vanish in rounding.
        seconds += s > 0.001 ? s : 0.001;
    }
    double seconds = 1000.0;
    int idleCalls = 0;
};

}  // namespace daro::test
