#pragma once
// platform::Timer on the steady clock, for programs without a GUI event loop: the owner's loop asks
// dueAt() how long it may sleep and calls fireIfDue() when it wakes. Like the framework's timer it
// fires every `interval` ms while enabled, counted from the last (re)start; a 0 ms interval fires
// at the loop's next pass.
//
// Main thread only: the loop that fires it is the one that arms it.
#include <chrono>
#include <optional>

#include "platform/Timer.h"

namespace platform {

class SteadyTimer : public Timer {
  public:
    using Clock = std::chrono::steady_clock;

    void setInterval(int milliseconds) override;
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return enabled_; }

    // When it fires next; nullopt while disabled.
    std::optional<Clock::time_point> dueAt() const;
    // Runs onTimer once if enabled and due (restarting the interval first); returns whether it did.
    bool fireIfDue();

  private:
    void restart();

    int interval_ = 5000;
    bool enabled_ = false;
    Clock::time_point due_{};
};

}  // namespace platform
