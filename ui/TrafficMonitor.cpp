#include "ui/TrafficMonitor.h"

#include <algorithm>
#include <string_view>

namespace ui {
namespace {

constexpr std::string_view kNoticeStart = "+IPD,";
constexpr std::size_t kMarkedPayloadBytes = 11;
// The hex part and its padding together are this long less 3 characters per byte.
constexpr std::size_t kLineWidth = 105;

constexpr std::uint16_t kCodeOk = 200;
constexpr std::uint16_t kCodeBadRequest = 400;
constexpr std::uint16_t kCodeForbidden = 403;

// The two characters shown at the code bytes, or nothing for a code without a name.
std::string_view codeName(std::uint16_t code) {
    switch (code) {
        case kCodeOk:
            return "ok";
        case kCodeBadRequest:
            return "br";
        case kCodeForbidden:
            return "fb";
        default:
            return "";
    }
}

void appendText(std::string& text, std::uint8_t byte) {
    if (byte < 0x20 || byte >= 0x80)
        text += ". ";
    else
        text += static_cast<char>(byte);
}

}  // namespace

ModemBlock findModemBlock(std::span<const std::uint8_t> bytes) {
    const auto limit = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    const auto notice =
        std::search(bytes.begin(), limit, kNoticeStart.begin(), kNoticeStart.end(),
                    [](std::uint8_t b, char c) { return b == static_cast<std::uint8_t>(c); });
    if (notice == limit) return {};
    const auto colon = std::find(notice + kNoticeStart.size(), limit, std::uint8_t{':'});
    if (colon == limit) return {};
    ModemBlock block;
    block.payload = static_cast<std::size_t>(colon - bytes.begin()) + 1;
    const auto byteAt = [&](std::size_t i) -> std::uint16_t {
        return i < bytes.size() ? bytes[i] : 0;
    };
    block.code = static_cast<std::uint16_t>(byteAt(block.payload) | byteAt(block.payload + 1) << 8);
    return block;
}

std::vector<std::string> monitorLines(std::span<const std::uint8_t> bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const ModemBlock block = findModemBlock(bytes);
    const std::string_view name = codeName(block.code);
    std::vector<std::string> lines;
    std::string hex;
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        hex += kHex[bytes[i] >> 4];
        hex += kHex[bytes[i] & 0x0F];
        hex += ' ';
        if (block.code != 0 && i >= block.payload && i < block.payload + kMarkedPayloadBytes) {
            if (i < block.payload + 2) {
                if (!name.empty()) text += name[i - block.payload];
            } else {
                text += ". ";
            }
        } else {
            appendText(text, bytes[i]);
        }
        if (i % kMonitorBytesPerLine == kMonitorBytesPerLine - 1 || i + 1 == bytes.size()) {
            hex.resize(kLineWidth - hex.size(), ' ');
            lines.push_back(hex + text);
            hex.clear();
            text.clear();
        }
    }
    return lines;
}

void PendingLines::add(std::vector<std::string> lines) {
    for (auto& line : lines) lines_.push_back(std::move(line));
    while (lines_.size() > kMonitorMaxLines) lines_.pop_front();
}

std::deque<std::string> PendingLines::take() {
    std::deque<std::string> taken;
    taken.swap(lines_);
    return taken;
}

}  // namespace ui
