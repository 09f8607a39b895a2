#pragma once

namespace daro {

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic seconds; never jumps back.
    virtual double now() = 0;
    // Lets up to `seconds` pass without delivering any input to the game.
    // The window may still answer the window system meanwhile.
    virtual void idle(double seconds) = 0;
};

}  // namespace daro
