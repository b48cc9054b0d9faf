#pragma once
// The line rates the port component knows, in the order of TBaudRate, which is also the order of
// the port window's list of rates and of the index the registry store keeps for it.
#include <array>
#include <optional>
#include <string>

namespace serial {

inline constexpr std::array<int, 15> kLineRates = {110,   300,   600,    1200,   2400,
                                                   4800,  9600,  14400,  19200,  38400,
                                                   56000, 57600, 115200, 128000, 256000};

// The rate's place in the list; none for a rate the component does not know.
inline std::optional<int> lineRateIndex(int bitsPerSecond) {
    for (std::size_t i = 0; i < kLineRates.size(); ++i)
        if (kLineRates[i] == bitsPerSecond) return static_cast<int>(i);
    return std::nullopt;
}

// "110, 300, ..., 256000", for messages that list the choices.
inline std::string lineRateList() {
    std::string text;
    for (const int rate : kLineRates) text += (text.empty() ? "" : ", ") + std::to_string(rate);
    return text;
}

}  // namespace serial
