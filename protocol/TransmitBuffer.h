#pragma once
// The main window's transmit buffer: requests, .abt images and the server export are composed
// here, and an opened .abt file is read into it. Appending never writes past the 4096 bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace protocol {

class TransmitBuffer {
  public:
    static constexpr std::size_t kCapacity = 4096;

    // Appends all of `bytes`, or nothing and false when they would not fit.
    bool append(std::string_view bytes);
    bool append(char byte) { return append(std::string_view(&byte, 1)); }

    void clear() { length_ = 0; }
    // For readers that fill data() directly; `length` must not exceed kCapacity.
    void setLength(std::uint16_t length);

    std::uint16_t length() const { return length_; }
    const std::uint8_t* data() const { return bytes_.data(); }
    std::uint8_t* data() { return bytes_.data(); }
    std::string_view view() const {
        return {reinterpret_cast<const char*>(bytes_.data()), length_};
    }

  private:
    std::array<std::uint8_t, kCapacity> bytes_{};
    std::uint16_t length_ = 0;
};

}  // namespace protocol
