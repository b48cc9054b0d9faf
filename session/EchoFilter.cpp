#include "session/EchoFilter.h"

namespace session {

void EchoFilter::expect(std::string_view request) {
    echo_.assign(request);
    matched_ = 0;
}

std::string EchoFilter::pass(std::span<const std::uint8_t> bytes) {
    std::size_t at = 0;
    while (!echo_.empty() && at < bytes.size()) {
        if (static_cast<char>(bytes[at]) == echo_[matched_]) {
            ++at;
            if (++matched_ == echo_.size()) echo_.clear();  // the whole echo: dropped
            continue;
        }
        // Not the echo after all: what was held is part of the answer.
        std::string out = echo_.substr(0, matched_);
        echo_.clear();
        out.append(reinterpret_cast<const char*>(bytes.data()) + at, bytes.size() - at);
        return out;
    }
    return std::string(reinterpret_cast<const char*>(bytes.data()) + at, bytes.size() - at);
}

}  // namespace session
