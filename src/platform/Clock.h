#pragma once

#include <functional>

namespace daro {

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic seconds; never jumps back.
    virtual double now() = 0;
    // Lets up to `seconds` pass without delivering any input to the game.
    // The window may still answer the window system meanwhile.
    virtual void idle(double seconds) = 0;
    // Calls `done` once `seconds` have passed. A clock that waits at once
    // may call it before returning.
    virtual void after(double seconds, std::function<void()> done) {
        const double start = now();
        for (double elapsed = 0; elapsed < seconds; elapsed = now() - start) idle(seconds - elapsed);
        done();
    }
    // While true, input meant for the game is held back, to be handed over
    // in order once it is false again; leaving still works at once.
    virtual void holdInput(bool hold) { (void)hold; }
};

}  // namespace daro
