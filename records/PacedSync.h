#pragma once
// Sends the outbox right after an event is kept (a command-line run has no thread to spare), but
// after a server that did not answer waits a while, not a connect time-out per unit of a batch.
#include <chrono>
#include <optional>
#include <string>

#include "records/Recorder.h"

namespace records {

class PacedSync {
  public:
    explicit PacedSync(std::chrono::seconds retryPause = std::chrono::seconds(60))
        : retryPause_(retryPause) {}

    // The send's result, or nullopt when none was tried (no server set, or one failed lately).
    std::optional<SyncResult> offer(Recorder& recorder);

  private:
    std::chrono::seconds retryPause_;
    std::optional<std::chrono::steady_clock::time_point> lastFailure_;
};

// A problem told once: the same one again is not news, a different one is.
class ToldOnce {
  public:
    bool fresh(const std::string& problem) {
        if (problem.empty() || problem == told_) return false;
        told_ = problem;
        return true;
    }

  private:
    std::string told_;
};

}  // namespace records
