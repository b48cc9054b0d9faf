#include "cli/EventLoop.h"

#include <algorithm>

#include "cli/Interrupt.h"
#include "platform/MainThread.h"

namespace cli {
namespace {

// The longest sleep of one pass: how soon Ctrl+C is noticed.
constexpr std::chrono::milliseconds kLongestWait{20};

}  // namespace

EventLoop::EventLoop() {
    platform::MainThread::adoptCurrentThread();
}

void EventLoop::post(std::function<void()> call) {
    posted_.push_back(std::move(call));
}

void EventLoop::addTimer(platform::SteadyTimer& timer) {
    timers_.push_back(&timer);
}

void EventLoop::removeTimer(platform::SteadyTimer& timer) {
    std::erase(timers_, &timer);
}

EventLoop::Outcome EventLoop::runUntil(const std::function<bool()>& done,
                                       std::optional<Clock::time_point> deadline) {
    for (;;) {
        if (done()) return Outcome::Done;
        if (interruptRequested()) return Outcome::Interrupted;
        const Clock::time_point now = Clock::now();
        if (deadline && now >= *deadline) return Outcome::TimedOut;
        Clock::time_point wakeBy = now + kLongestWait;
        if (deadline) wakeBy = std::min(wakeBy, *deadline);
        pass(wakeBy);
    }
}

EventLoop::Outcome EventLoop::runFor(Clock::duration period) {
    const Outcome outcome = runUntil([] { return false; }, Clock::now() + period);
    return outcome == Outcome::TimedOut ? Outcome::Done : outcome;
}

void EventLoop::pass(Clock::time_point wakeBy) {
    if (!posted_.empty()) wakeBy = Clock::now();
    for (const platform::SteadyTimer* timer : timers_)
        if (auto due = timer->dueAt()) wakeBy = std::min(wakeBy, *due);
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(wakeBy - Clock::now());
    platform::MainThread::drainFor(std::max(wait, std::chrono::milliseconds(0)));

    std::vector<std::function<void()>> calls;
    calls.swap(posted_);
    for (auto& call : calls) call();
    for (platform::SteadyTimer* timer : timers_) timer->fireIfDue();
}

}  // namespace cli
