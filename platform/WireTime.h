#pragma once
// How long bytes take on an asynchronous serial line: a start bit, eight data bits and a stop
// bit each. Time-outs of the settings requests, of the firmware records and of the command-line
// program's answers all start from this.
#include <cstddef>

namespace platform {

inline constexpr unsigned kBitsPerByte = 10;
inline constexpr unsigned kDefaultBitsPerSecond = 9600;  // the port's default rate

// Whole milliseconds, rounded up. A rate of 0 (not known) counts as the default rate.
constexpr unsigned long long wireTimeMs(std::size_t bytes, unsigned bitsPerSecond) {
    const unsigned long long rate = bitsPerSecond ? bitsPerSecond : kDefaultBitsPerSecond;
    return (bytes * kBitsPerByte * 1000ull + rate - 1) / rate;
}

}  // namespace platform
