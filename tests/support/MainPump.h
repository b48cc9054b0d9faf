#pragma once
// Runs queued main-thread calls until a condition holds or a generous liveness bound passes.
#include <chrono>
#include <functional>

#include "platform/MainThread.h"

namespace testsupport {

inline bool pumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds bound = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        platform::MainThread::drainFor(std::chrono::milliseconds(5));
    }
    return true;
}

// Runs queued calls for a while (to show that nothing more happens).
inline void pumpFor(std::chrono::milliseconds period) {
    const auto deadline = std::chrono::steady_clock::now() + period;
    while (std::chrono::steady_clock::now() < deadline)
        platform::MainThread::drainFor(std::chrono::milliseconds(5));
}

}  // namespace testsupport
