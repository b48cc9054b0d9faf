#pragma once
// The exchange rule: a request has gone out and the receptions that follow are gathered into one
// answer, so an item cut between two receptions is not lost. The answer is over when every
// expected key has arrived with its ":", when the terminal pauses once it has begun (the answer
// pause), when nothing came by the first-byte time-out (plus the request's wire time), when the
// receive buffer is full, or at the answer limit. The times are ExchangeRules.h.
//
// The driver feeds the receptions and asks, whenever it wakes, whether the answer is over: the
// command line's blocking exchange runs its event loop on it. The window parses each reception
// on its own and waits for the controls a request emptied (app/AnswerWatch), bounded by
// answerTimeoutMs of the same rules.
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

    // A reception at `at`; what does not fit the receive buffer is dropped.
    void take(std::span<const std::uint8_t> bytes, Clock::time_point at);
    // Whether the answer is over at `now`, by any of the rule's ends.
    bool over(Clock::time_point now) const;
    // How it ended (or stands): every key, some bytes, or none.
    End end() const;
    // The latest moment to wait until, whatever comes.
    Clock::time_point limit() const;

    const std::string& bytes() const { return bytes_; }

  private:
    std::span<const protocol::Parameter* const> expected_;
    Clock::time_point sentAt_, firstByteBy_, lastByte_{};
    Clock::duration pause_;
    std::string bytes_;
    bool complete_ = false;
};

}  // namespace session
