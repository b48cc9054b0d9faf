#include "update/Crc16.h"

namespace update {

std::uint16_t Crc16Step(std::uint16_t crcRegister, std::uint8_t byte) {
    for (int bit = 7; bit >= 0; --bit) {
        const bool carry = (crcRegister & 0x8000u) != 0;
        crcRegister = static_cast<std::uint16_t>((crcRegister << 1) | ((byte >> bit) & 1u));
        if (carry) crcRegister ^= kCrcPolynomial;
    }
    return crcRegister;
}

std::uint16_t crc16Register(const std::uint8_t* data, std::size_t length) {
    std::uint16_t r = 0;
    for (std::size_t i = 0; i < length; ++i) r = Crc16Step(r, data[i]);
    return r;
}

std::uint16_t crc16Umts(const std::uint8_t* data, std::size_t length) {
    // The augmented register yields the plain CRC once sixteen zero bits have followed the data.
    std::uint16_t r = crc16Register(data, length);
    r = Crc16Step(r, 0);
    return Crc16Step(r, 0);
}

}  // namespace update
