#include "protocol/TransmitBuffer.h"

#include <cstring>

namespace protocol {

bool TransmitBuffer::append(std::string_view bytes) {
    if (bytes.size() > kCapacity - length_) return false;
    if (!bytes.empty()) std::memcpy(bytes_.data() + length_, bytes.data(), bytes.size());
    length_ = static_cast<std::uint16_t>(length_ + bytes.size());
    return true;
}

void TransmitBuffer::setLength(std::uint16_t length) {
    length_ = length <= kCapacity ? length : static_cast<std::uint16_t>(kCapacity);
}

}  // namespace protocol
