#pragma once
// The late-answer rule, for both front ends. The terminal relates an answer to no particular
// request, and one that answers late may send the answer given up at a time-out just after the
// next request went out. For kLateAnswerSettle after an answer was given up, what arrives may be
// that answer: `vigil` sends no request before then (and drops what comes meanwhile), the window
// takes what comes then for the given-up values as the late answer, confirming no write with it.
#include "session/ExchangeRules.h"

namespace session {

using Clock = std::chrono::steady_clock;

class LateAnswer {
  public:
    // An answer awaited until `at` did not come whole.
    void gaveUp(Clock::time_point at) { until_ = at + kLateAnswerSettle; }
    // An answer came whole: nothing of an earlier one is still on its way.
    void cameWhole() { until_ = {}; }
    // Whether bytes arriving at `at` may be the late answer.
    bool mayArriveAt(Clock::time_point at) const { return at < until_; }
    // The earliest moment the next request may go out, as far as this rule goes.
    Clock::time_point settledAt() const { return until_; }

  private:
    Clock::time_point until_{};
};

}  // namespace session
