#include "platform/SteadyTimer.h"

namespace platform {

void SteadyTimer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    restart();
}

void SteadyTimer::setEnabled(bool enabled) {
    enabled_ = enabled;
    restart();
}

std::optional<SteadyTimer::Clock::time_point> SteadyTimer::dueAt() const {
    if (!enabled_) return std::nullopt;
    return due_;
}

bool SteadyTimer::fireIfDue() {
    if (!enabled_ || !onTimer || Clock::now() < due_) return false;
    restart();
    onTimer();
    return true;
}

void SteadyTimer::restart() {
    due_ = Clock::now() + std::chrono::milliseconds(interval_ < 0 ? 0 : interval_);
}

}  // namespace platform
