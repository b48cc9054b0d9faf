#pragma once
// The exchange rule: a request has gone out and the receptions that follow are gathered into one
// answer, so an item cut between two receptions is not lost. The answer is over when every
// expected key has arrived with its ":", when the terminal pauses once it has begun (the answer
// pause), when it has not begun by the time-out of an empty answer (the terminal starts once it
// has the request, however long its answer), when the receive buffer is full, or at the answer's
// time-out, fixed from the wire time when the request went out. The times are ExchangeRules.h.
//
// Both front ends drive it. The command line's blocking exchange runs its event loop until
// over(); the window feeds every reception as it parses it (session/AnswerWatch) and sets its
// timer to deadline(), since it sends at once and may have several requests on their way. The
// window waits out the terminal's pauses (waitOutPauses): a terminal may stop in the middle of an
// answer and go on, and the window takes every byte whenever it comes, so calling the answer short
// at a pause would put back, and report as missing, values that are still on their way.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/ParameterTable.h"

namespace session {

using Clock = std::chrono::steady_clock;

inline constexpr std::size_t kAnswerCapacity = 4096;  // the windows' receive buffer

// Every parameter of the table, in table order: what a read's answer reports.
const std::vector<const protocol::Parameter*>& everyParameter();

// Parameters whose answer key does not occur in `bytes` followed, somewhere after it, by ":".
std::vector<const protocol::Parameter*> missingAnswerKeys(
    std::string_view bytes, std::span<const protocol::Parameter* const> expected);

class AnswerGathering {
  public:
    enum class End { Complete, Paused, Silent };

    // `requestBytes` went out at `sentAt`; the answer should bring every key of `expected`.
    AnswerGathering(std::span<const protocol::Parameter* const> expected, std::size_t requestBytes,
                    unsigned bitsPerSecond, Clock::time_point sentAt);

    // Only the expected keys or the time-out end the answer: neither a late first byte nor a pause
    // (after which more may still come) nor a full buffer (the window parses every reception,
    // gathered or not) does. For a driver that need not move on to a next request of its own.
    void waitOutPauses() { silenceEnds_ = false; }

    // A reception at `at`; what does not fit the receive buffer is dropped.
    void take(std::span<const std::uint8_t> bytes, Clock::time_point at);
    // When the answer is over if nothing more comes (already past once it is).
    Clock::time_point deadline() const;
    bool over(Clock::time_point now) const { return now >= deadline(); }
    // The latest moment to wait until, whatever comes: the time-out.
    Clock::time_point limit() const { return timeoutAt_; }
    // How it ended (or stands): every key, some bytes, or none.
    End end() const;

    const std::string& bytes() const { return bytes_; }

  private:
    std::vector<const protocol::Parameter*> expected_;
    Clock::time_point timeoutAt_, firstByteBy_, lastByte_{};
    Clock::duration pause_;
    std::string bytes_;
    bool complete_ = false;
    bool silenceEnds_ = true;
};

}  // namespace session
