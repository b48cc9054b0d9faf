#include "app/CutItemJoiner.h"

#include <string_view>

namespace app {

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

}  // namespace app
