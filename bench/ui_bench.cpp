// Traffic monitor line formatting: lines per second for 2048-byte receptions, against a plain
// hex dump of the same bytes (16 per line, no text part, no modem notice search).
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "ui/TrafficMonitor.h"

namespace {

constexpr std::size_t kReceptionBytes = 2048;
constexpr double kRunSeconds = 0.5;

template <typename Format>
double linesPerSecond(Format format) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    std::size_t lines = 0;
    double elapsed = 0;
    do {
        for (int i = 0; i < 64; ++i) lines += format();
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < kRunSeconds);
    return static_cast<double>(lines) / elapsed;
}

std::size_t plainHexDump(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        line += kHex[bytes[i] >> 4];
        line += kHex[bytes[i] & 0x0F];
        line += ' ';
        if (i % 16 == 15 || i + 1 == bytes.size()) {
            lines.push_back(line);
            line.clear();
        }
    }
    return lines.size();
}

}  // namespace

int main() {
    std::mt19937 random(7);
    std::vector<std::uint8_t> reception(kReceptionBytes);
    for (auto& b : reception) b = static_cast<std::uint8_t>(random() % 255 + 1);  // no zero byte
    const std::string notice = "+IPD,2040:";
    std::copy(notice.begin(), notice.end(), reception.begin());

    const double monitor = linesPerSecond([&] { return ui::monitorLines(reception).size(); });
    const double baseline = linesPerSecond([&] { return plainHexDump(reception); });
    std::printf(
        "ROW\tmonitor lines, 2048-byte reception\t%.0f\tlines/s\tplain hex dump loop\t%.0f\t"
        ">= half the baseline\n",
        monitor, baseline);
    return 0;
}
