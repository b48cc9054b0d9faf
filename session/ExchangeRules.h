#pragma once
// How long the front ends wait on the terminal's settings firmware, and when the line is free
// for the next request.
//
// A request is never sent into a line that is still talking: whatever comes before the line has
// been quiet for one answer pause is the late answer of an earlier request (a previous run that
// gave up, or a read this run no longer waits for) and is discarded, so it cannot be taken for
// the answer to the next one. The windows send at once and judge late answers by their own
// answer watch.
#include <chrono>
#include <cstddef>
#include <span>

#include "platform/WireTime.h"
#include "protocol/ParameterTable.h"

namespace session {

// A pause this long once an answer has begun ends it (plus the wire time of kPauseWireBytes).
inline constexpr std::chrono::milliseconds kAnswerPause{300};
inline constexpr std::size_t kPauseWireBytes = 64;
// The wait for a quiet line before a request ends after this, however the line talks.
inline constexpr std::chrono::milliseconds kQuietLineLimit{10000};
// After an answer that did not come whole (none, or cut short by a pause) the terminal may still
// be about to send it: the next request waits until this long has passed since that answer was
// given up, and the line has then kept quiet for one answer pause, so a late answer is dropped
// instead of being taken for the next request's.
inline constexpr std::chrono::milliseconds kLateAnswerSettle{2000};

// The wire time of `bytes` at `bitsPerSecond` (0: the default rate), in whole milliseconds.
constexpr std::chrono::milliseconds wireTime(std::size_t bytes, unsigned bitsPerSecond) {
    return std::chrono::milliseconds(platform::wireTimeMs(bytes, bitsPerSecond));
}

// The pause that ends an answer, and the quiet the line must keep before a request is sent.
constexpr std::chrono::milliseconds answerPause(unsigned bitsPerSecond) {
    return kAnswerPause + wireTime(kPauseWireBytes, bitsPerSecond);
}

// The answer's time-out, fixed when the request goes out: kAnswerTimeoutBaseMs plus three times
// the wire time of the request and of the answer expected for `answered` (a text value counted at
// kTextValueBytesEstimate bytes). It bounds the whole answer, and grows with the answer at a slow
// rate: about 6 s for a read and 4 s for a group write at 9600 bit/s. The silence before a first
// byte is bounded by the time-out of an empty answer (answerBytes 0, about 2 s): the terminal
// begins once it has the request, so a silent one, an unplugged unit, is known as soon for a read
// as for a short write.
inline constexpr int kAnswerTimeoutBaseMs = 2000;
inline constexpr std::size_t kTextValueBytesEstimate = 24;
std::size_t expectedAnswerBytes(std::span<const protocol::Parameter* const> answered);
int answerTimeoutMs(std::size_t requestBytes, std::size_t answerBytes, unsigned bitsPerSecond);

}  // namespace session
