// The timeline of the window's waits: blinks, drop-outs and the computer's
// thinking are steps, so a wait never nests an event loop.
#include "Form1.h"

namespace daro {

void Form1::queue(TimelineStep step) {
    // Inside a running step, what it queues runs right after it, in order.
    if (timelineRunning_)
        queuedByStep_.push_back(std::move(step));
    else
        timeline_.push_back(std::move(step));
}

void Form1::then(std::function<void()> action) {
    queue({std::move(action), {}});
    runTimeline();
}

void Form1::awaitStep(std::function<void(std::function<void()>)> start) {
    queue({{}, std::move(start)});
    runTimeline();
}

double Form1::paced(double seconds) const {
    if (window.isChecked("HAYASA_SAISOKU")) return 0;
    if (window.isChecked("HAYASA_HAYAI")) return seconds / 4;
    return seconds;
}

bool Form1::blinking() const { return !window.isChecked("HAYASA_SAISOKU"); }

void Form1::待ち時間(double classicSeconds) {
    const double seconds = paced(classicSeconds);
    awaitStep([this, seconds](std::function<void()> done) { clock.after(seconds, std::move(done)); });
}

void Form1::runTimeline() {
    if (timelineRunning_ || waiting_) return;
    timelineRunning_ = true;
    while (!ended && !timeline_.empty()) {
        TimelineStep step = std::move(timeline_.front());
        timeline_.pop_front();
        if (step.await) {
            waiting_ = true;
            auto resumed = std::make_shared<bool>(false);
            step.await([this, resumed] {
                if (*resumed) return;
                *resumed = true;
                waiting_ = false;
                runTimeline();
            });
            if (waiting_) {
                // Waits for a timer or a search: input is held until the end.
                clock.holdInput(true);
                timelineRunning_ = false;
                return;
            }
            continue;
        }
        step.action();
        timeline_.insert(timeline_.begin(), std::make_move_iterator(queuedByStep_.begin()),
                         std::make_move_iterator(queuedByStep_.end()));
        queuedByStep_.clear();
    }
    timelineRunning_ = false;
    if (ended) timeline_.clear();
    clock.holdInput(false);
}

}  // namespace daro
