#pragma once
// Building update files: any payload split into records of at most 1040 payload bytes, each with
// its big-endian length and its CRC, written as the hexadecimal text the configurator reads.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

constexpr std::size_t kMaxRecordPayload = 1040;

// The image: records one after the other. An empty payload gives an empty image.
std::vector<std::uint8_t> makeImage(const std::vector<std::uint8_t>& payload,
                                    std::size_t recordPayload = kMaxRecordPayload);
// Upper-case two-digit numbers, sixteen to a line, separated by spaces, lines ending in CR LF.
std::string hexText(const std::vector<std::uint8_t>& image);

}  // namespace sim
