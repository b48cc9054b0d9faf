// The traffic monitor's lines for one reception of arbitrary bytes, against the layout the page
// shows: at most 16 bytes a line, each as two upper-case hex digits and a blank (3k characters),
// padding to 105 - 3k, then the text part in plain ASCII; one line per started 16 bytes. The text
// part is rebuilt here byte by byte, with the marking of a modem data notice.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "ui/TrafficMonitor.h"

namespace {

constexpr std::size_t kLineWidth = 105;
constexpr std::size_t kMarkedBytes = 11;

struct Notice {
    std::size_t payload = 0;
    std::uint16_t code = 0;
};

// "+IPD," and then ":" before the first zero byte; a code byte past the reception counts as 0.
Notice noticeIn(std::span<const std::uint8_t> bytes) {
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::string_view searched = all.substr(0, all.find('\0'));
    const std::size_t start = searched.find("+IPD,");
    if (start == std::string_view::npos) return {};
    const std::size_t colon = searched.find(':', start + 5);
    if (colon == std::string_view::npos) return {};
    Notice n;
    n.payload = colon + 1;
    auto at = [&](std::size_t i) -> unsigned { return i < bytes.size() ? bytes[i] : 0u; };
    n.code = static_cast<std::uint16_t>(at(n.payload) | at(n.payload + 1) << 8);
    return n;
}

std::string textOf(std::uint8_t byte, std::size_t i, const Notice& n) {
    if (n.code != 0 && i >= n.payload && i < n.payload + kMarkedBytes) {
        if (i >= n.payload + 2) return ". ";
        const char* name = n.code == 200 ? "ok" : n.code == 400 ? "br" : n.code == 403 ? "fb" : "";
        return *name ? std::string(1, name[i - n.payload]) : std::string();
    }
    if (byte < 0x20 || byte >= 0x80) return ". ";
    return std::string(1, static_cast<char>(byte));
}

std::string hexOf(std::uint8_t byte) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    return {kHex[byte >> 4], kHex[byte & 0x0F], ' '};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;  // the receive buffer
    const std::span<const std::uint8_t> bytes(data, size);
    const std::vector<std::string> lines = ui::monitorLines(bytes);
    fuzz::require(lines.size() == (size + ui::kMonitorBytesPerLine - 1) / ui::kMonitorBytesPerLine,
                  "one line per started 16 bytes");

    const Notice notice = noticeIn(bytes);
    for (std::size_t line = 0; line < lines.size(); ++line) {
        const std::size_t first = line * ui::kMonitorBytesPerLine;
        const std::size_t k = std::min(ui::kMonitorBytesPerLine, size - first);
        std::string hex, text;
        for (std::size_t i = first; i < first + k; ++i) {
            hex += hexOf(bytes[i]);
            text += textOf(bytes[i], i, notice);
        }
        const std::string& got = lines[line];
        const std::size_t textStart = kLineWidth - 3 * k;
        fuzz::require(got.size() == textStart + text.size(), "the line has its width");
        fuzz::require(got.compare(0, 3 * k, hex) == 0, "the hex part shows the bytes");
        fuzz::require(got.find_first_not_of(' ', 3 * k) >= textStart,
                      "the hex part is padded with blanks to 105 - 3k");
        fuzz::require(std::all_of(got.begin() + static_cast<std::ptrdiff_t>(textStart), got.end(),
                                  [](char c) {
                                      auto b = static_cast<unsigned char>(c);
                                      return b >= 0x20 && b <= 0x7F;
                                  }),
                      "the text part is plain ASCII");
        if (got.compare(textStart, std::string::npos, text) != 0) {
            std::fprintf(stderr, "line %zu: \"%s\", expected text \"%s\"\n", line, got.c_str(),
                         text.c_str());
            fuzz::fail("the text part shows the bytes");
        }
    }

    ui::PendingLines pending;
    pending.add(lines);
    pending.add(lines);
    fuzz::require(!pending.empty() || lines.empty(), "added lines wait to be shown");
    const auto waiting = pending.take();
    fuzz::require(waiting.size() == std::min(2 * lines.size(), ui::kMonitorMaxLines),
                  "at most a view's worth of lines waits");
    fuzz::require(lines.empty() || waiting.back() == lines.back(), "the newest line is kept");
    return 0;
}
