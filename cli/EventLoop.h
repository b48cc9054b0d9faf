#pragma once
// The command-line program's event loop, in place of the windows' one: it runs the port's
// deliveries (platform::MainThread's queue), calls posted for later (a close must not run inside
// the port's own delivery), and the steady timers of the firmware upload.
//
// Main thread only.
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "platform/SteadyTimer.h"

namespace cli {

class EventLoop {
  public:
    using Clock = std::chrono::steady_clock;
    enum class Outcome { Done, TimedOut, Interrupted };

    // The calling thread becomes the main thread.
    EventLoop();

    // Runs `call` at the loop's next pass, outside whatever is running now.
    void post(std::function<void()> call);
    // The loop fires these while it runs, until they are removed.
    void addTimer(platform::SteadyTimer& timer);
    void removeTimer(platform::SteadyTimer& timer);

    // Runs until `done` holds, `deadline` passes or Ctrl+C is pressed.
    Outcome runUntil(const std::function<bool()>& done,
                     std::optional<Clock::time_point> deadline = std::nullopt);
    Outcome runFor(Clock::duration period);

  private:
    void pass(Clock::time_point wakeBy);

    std::vector<std::function<void()>> posted_;
    std::vector<platform::SteadyTimer*> timers_;
};

}  // namespace cli
