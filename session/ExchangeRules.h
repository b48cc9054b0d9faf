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
#include <vector>

#include "platform/WireTime.h"
#include "protocol/ParameterTable.h"

namespace session {

// Nothing at all for this long after a request: the terminal is silent.
inline constexpr std::chrono::milliseconds kFirstByteTimeout{2000};
// A pause this long once an answer has begun ends it (plus the wire time of kPauseWireBytes).
inline constexpr std::chrono::milliseconds kAnswerPause{300};
inline constexpr std::size_t kPauseWireBytes = 64;
// No answer takes longer than this in all; nor does the wait for a quiet line.
inline constexpr std::chrono::milliseconds kAnswerLimit{10000};

// The wire time of `bytes` at `bitsPerSecond` (0: the default rate), in whole milliseconds.
constexpr std::chrono::milliseconds wireTime(std::size_t bytes, unsigned bitsPerSecond) {
    return std::chrono::milliseconds(platform::wireTimeMs(bytes, bitsPerSecond));
}

// The pause that ends an answer, and the quiet the line must keep before a request is sent.
constexpr std::chrono::milliseconds answerPause(unsigned bitsPerSecond) {
    return kAnswerPause + wireTime(kPauseWireBytes, bitsPerSecond);
}

// The window's bound on an answer it watches for (it sends at once and may have several requests
// on their way): kAnswerTimeoutBaseMs plus three times the wire time of the request and of the
// answer expected for `answered` (a text value counted at kTextValueBytesEstimate bytes).
inline constexpr int kAnswerTimeoutBaseMs = 2000;
inline constexpr std::size_t kTextValueBytesEstimate = 24;
std::size_t expectedAnswerBytes(const std::vector<const protocol::Parameter*>& answered);
int answerTimeoutMs(std::size_t requestBytes, std::size_t answerBytes, unsigned bitsPerSecond);

}  // namespace session
