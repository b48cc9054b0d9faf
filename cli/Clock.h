#pragma once
// Local wall-clock times for what the program prints and logs.
#include <string>

namespace cli {

// "10:15:30.123"
std::string timeOfDayWithMilliseconds();
// "2026-12-08T10:15:30"
std::string localTimestamp();

}  // namespace cli
