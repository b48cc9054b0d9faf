#pragma once
// The clock behind the main window's Timer1: a Qt timer in the program, a hand-driven one in tests.
// Like the framework's timer it fires every `interval` ms while enabled; the upload disables it
// first thing in its tick, which makes each arming a one-shot.
#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>

namespace platform {

class Timer {
  public:
    virtual ~Timer() = default;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
    std::function<void()> onTimer;
};

// Arms `timer` for the moment `at` (at once when it has passed), or stops it when there is none.
inline void armAt(Timer& timer, std::optional<std::chrono::steady_clock::time_point> at) {
    timer.setEnabled(false);
    if (!at) return;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(*at - std::chrono::steady_clock::now());
    timer.setInterval(static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count())));
    timer.setEnabled(true);
}

// Test clock: nothing fires until the test calls fire() (or advance()).
class ManualTimer : public Timer {
  public:
    void setInterval(int ms) override { interval_ = ms; }
    int interval() const override { return interval_; }
    void setEnabled(bool e) override { enabled_ = e; }
    bool enabled() const override { return enabled_; }
    // Fires once if enabled; returns whether it fired.
    bool fire() {
        if (!enabled_ || !onTimer) return false;
        onTimer();
        return true;
    }

  private:
    int interval_ = 5000;
    bool enabled_ = false;
};

}  // namespace platform
