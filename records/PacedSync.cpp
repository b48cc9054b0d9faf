#include "records/PacedSync.h"

namespace records {

std::optional<SyncResult> PacedSync::offer(Recorder& recorder) {
    if (recorder.teamAddress().empty()) return std::nullopt;
    const auto now = std::chrono::steady_clock::now();
    if (lastFailure_ && now - *lastFailure_ < retryPause_) return std::nullopt;
    SyncResult sync = recorder.sync();
    if (sync.problem.empty())
        lastFailure_.reset();
    else
        lastFailure_ = now;
    return sync;
}

}  // namespace records
