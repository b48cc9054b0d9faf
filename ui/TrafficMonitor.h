#pragma once
// The lines the traffic monitor shows for one reception: each byte as two upper-case hex digits
// and a blank, padding, then the same bytes as text. Every reception starts a new line and a line
// holds at most 16 bytes.
//
// When the reception carries a GSM modem data notice ("+IPD,<length>:"), the first payload bytes
// are marked instead of shown: the first two form a little-endian block code that is spelled
// "ok" (200), "br" (400) or "fb" (403), and the next nine show as ". ".
//
// The text part holds only 0x20...0x7F and ". ", so the lines are plain ASCII.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

namespace ui {

inline constexpr std::size_t kMonitorBytesPerLine = 16;
inline constexpr std::size_t kMonitorMaxLines = 500;

struct ModemBlock {
    std::size_t payload = 0;  // index of the first byte after the notice's ":"
    std::uint16_t code = 0;   // 0: nothing to mark
};

// Looks for "+IPD," and then ":" before the first zero byte. A code byte lying beyond the
// reception counts as 0.
ModemBlock findModemBlock(std::span<const std::uint8_t> bytes);

std::vector<std::string> monitorLines(std::span<const std::uint8_t> bytes);

// Lines waiting to be shown, keeping only the newest kMonitorMaxLines: anything older would be
// pushed out of the view by the time it is shown.
class PendingLines {
  public:
    void add(std::vector<std::string> lines);
    bool empty() const { return lines_.empty(); }
    // True when the lines waiting fill the whole view on their own.
    bool replacesView() const { return lines_.size() >= kMonitorMaxLines; }
    std::deque<std::string> take();
    void clear() { lines_.clear(); }

  private:
    std::deque<std::string> lines_;
};

}  // namespace ui
