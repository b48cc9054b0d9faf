#include "cli/Clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace cli {
namespace {

std::tm localNow(long& milliseconds) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    milliseconds = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

}  // namespace

std::string timeOfDayWithMilliseconds() {
    long ms = 0;
    const std::tm t = localNow(ms);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03ld", t.tm_hour, t.tm_min, t.tm_sec, ms);
    return text;
}

std::string localTimestamp() {
    long ms = 0;
    const std::tm t = localNow(ms);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &t);
    return text;
}

}  // namespace cli
