#include "session/CutItemJoiner.h"

#include <string_view>

#include "protocol/ResponseParser.h"

namespace session {

std::string CutItemJoiner::next(const std::uint8_t* data, std::size_t count) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), count);
    const std::size_t first = bytes.find(':');
    std::string joined;
    if (first != std::string_view::npos && !head_.empty() &&
        head_.size() + first + 1 <= kItemCapacity)
        joined = head_ + std::string(bytes.substr(0, first + 1));
    // Without any ":" the reception is the middle of one long item.
    const std::size_t last = bytes.rfind(':');
    if (last == std::string_view::npos)
        head_.append(bytes);
    else
        head_.assign(bytes.substr(last + 1));
    if (head_.size() > kItemCapacity) head_.clear();
    return joined;
}

void CutItemJoiner::parse(std::span<const std::uint8_t> reception,
                          protocol::ControlAccess& controls) {
    const auto count = static_cast<std::uint16_t>(reception.size());
    protocol::parseReception(reception.data(), count, controls);
    const std::string cut = next(reception.data(), count);
    if (!cut.empty())
        protocol::parseReception(reinterpret_cast<const std::uint8_t*>(cut.data()),
                                 static_cast<std::uint16_t>(cut.size()), controls);
}

}  // namespace session
