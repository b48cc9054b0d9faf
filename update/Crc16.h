#pragma once
// The record checksum of the update file: CRC-16 with the polynomial 0x8005, initial value 0, no
// reflection, no final XOR (catalogued as CRC-16/UMTS or CRC-16/BUYPASS, check 0xFEE8 over
// "123456789"). The loader runs the register in its augmented form: a record body whose last two
// bytes are the CRC of the bytes before them (high byte first) leaves the register at 0.
#include <cstddef>
#include <cstdint>

namespace update {

constexpr std::uint16_t kCrcPolynomial = 0x8005;

// One step of the register: the byte's bits go in most significant first.
std::uint16_t Crc16Step(std::uint16_t crcRegister, std::uint8_t byte);

// The register after every byte of `data`, starting from 0.
std::uint16_t crc16Register(const std::uint8_t* data, std::size_t length);

// The CRC-16/UMTS of `data`: the value to append (high byte first) so that the body passes.
std::uint16_t crc16Umts(const std::uint8_t* data, std::size_t length);

}  // namespace update
