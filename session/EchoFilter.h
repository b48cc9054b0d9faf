#pragma once
// A line that echoes (an RS-485 adapter, a loop-back left on) carries the request back ahead of
// its answer. Taken for the answer, those bytes would confirm a write with the very values it
// sent. Both front ends pass every reception through this filter before they read an answer.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace session {

class EchoFilter {
  public:
    // A request went out: an echo of it may lead what comes next.
    void expect(std::string_view request);
    // `bytes` less the echo at the start of what follows the request. Bytes that may still be
    // the echo are held; they come out with the next reception once they prove not to be, and
    // are dropped once the whole echo has come.
    std::string pass(std::span<const std::uint8_t> bytes);

  private:
    std::string echo_;         // the request, while its echo may still come
    std::size_t matched_ = 0;  // how much of it came so far (held back)
};

}  // namespace session
