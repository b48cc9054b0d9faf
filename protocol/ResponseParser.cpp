#include "protocol/ResponseParser.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace protocol {
namespace {

constexpr std::uint8_t kSeparator = ':';

bool isLineSpace(std::uint8_t byte) {
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

int clampedPosition(int value) {
    return std::clamp(value, kTrackBarMin, kTrackBarMax);
}

}  // namespace

ItemScanner::ItemScanner(const std::uint8_t* data, std::uint16_t count, KeyMatch match)
    : data_(data),
      count_(count),
      match_(match),
      folded_(reinterpret_cast<const char*>(data), count) {
    // Bit 0x40 shifted down is the bit to clear; eight bytes at a time (no bit crosses a byte).
    constexpr std::uint64_t kBit40 = 0x4040404040404040u;
    char* byte = folded_.data();
    std::size_t i = 0;
    for (; i + 8 <= folded_.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, byte + i, 8);
        word &= ~((word & kBit40) >> 1);
        std::memcpy(byte + i, &word, 8);
    }
    for (; i < folded_.size(); ++i) {
        const auto b = static_cast<unsigned char>(byte[i]);
        byte[i] = static_cast<char>(b & ~((b & 0x40) >> 1));
    }
}

bool ItemScanner::startsItem(std::uint16_t position) const {
    while (position > 0 && isLineSpace(data_[position - 1])) --position;
    return position == 0 || data_[position - 1] == kSeparator;
}

// The first occurrence in the folded data is what the restart-on-mismatch search finds.
std::uint16_t ItemScanner::FindKey(std::string_view key) const {
    const std::string_view data(folded_);
    std::size_t position = data.find(key);
    if (match_ == KeyMatch::ItemStart) {
        while (position != std::string_view::npos &&
               !startsItem(static_cast<std::uint16_t>(position)))
            position = data.find(key, position + 1);
    }
    return position == std::string_view::npos ? kKeyAbsent : static_cast<std::uint16_t>(position);
}

// Where the value starts, or kKeyAbsent (key absent) / count_ (nothing follows the key).
std::uint16_t ItemScanner::valueStart(std::string_view key, std::size_t keyLength) const {
    std::uint16_t position = FindKey(key);
    if (position == kKeyAbsent) return kKeyAbsent;
    return static_cast<std::uint16_t>(std::min<std::size_t>(position + keyLength, count_));
}

int ItemScanner::ExtractText(std::string_view key, std::size_t keyLength, ControlAccess& controls,
                             const Parameter& edit) const {
    std::uint16_t start = valueStart(key, keyLength);
    if (start == kKeyAbsent) return 0;
    for (std::uint16_t end = start; end < count_; ++end) {
        if (data_[end] != kSeparator) continue;
        controls.setText(
            edit, std::string_view(reinterpret_cast<const char*>(data_ + start), end - start));
        controls.enableWriteControls();
        return 1;
    }
    return -1;
}

int ItemScanner::ExtractNumber(std::string_view key, std::size_t keyLength, ControlAccess& controls,
                               const Parameter& list) const {
    // Beyond this every number is past the last item; stops the value growing without bound.
    constexpr long kPastAnyList = 1'000'000;
    std::uint16_t start = valueStart(key, keyLength);
    if (start == kKeyAbsent) return 0;
    long number = 0;
    for (std::uint16_t i = start; i < count_; ++i) {
        std::uint8_t byte = data_[i];
        if (byte == kSeparator) {
            int index = static_cast<int>(number);
            if (index >= list.itemCount)
                index = list.kind == ControlKind::RadioGroup ? list.itemCount - 1 : kNoSelection;
            controls.setItemIndex(list, index);
            return 1;
        }
        if (byte < '0' || byte > '9') return -1;
        number = std::min(number * 10 + (byte - '0'), kPastAnyList);
    }
    return -1;
}

int ItemScanner::ExtractFlag(std::string_view key, std::size_t keyLength, ControlAccess& controls,
                             const Parameter& box) const {
    std::uint16_t start = valueStart(key, keyLength);
    if (start == kKeyAbsent) return 0;
    if (start + 1 >= count_ || data_[start + 1] != kSeparator) return -1;
    if (data_[start] != '0' && data_[start] != '1') return -1;
    controls.setChecked(box, data_[start] == '1');
    return 1;
}

int ItemScanner::ExtractHexDigit(std::string_view key, std::size_t keyLength,
                                 ControlAccess& controls, const Parameter& bar) const {
    std::uint16_t start = valueStart(key, keyLength);
    if (start == kKeyAbsent) return 0;
    if (start >= count_) return -1;
    int value = 0;
    for (std::uint16_t i = start; i < count_; ++i) {
        std::uint8_t byte = data_[i];
        if (byte == kSeparator) {
            controls.setPosition(bar, clampedPosition(value));
            return 1;
        }
        value = static_cast<std::int8_t>(byte <= '9' ? byte - 48 : byte - 55);
    }
    return -1;
}

void parseReception(const std::uint8_t* data, std::uint16_t count, ControlAccess& controls) {
    ItemScanner answer(data, count);

    // The microphone digit: only the byte after the key, as a signed 8-bit value.
    const Parameter& mic = *byName("MicSensitivity");
    std::uint16_t reg = answer.FindKey(mic.answerKey);
    if (reg != kKeyAbsent && reg + mic.answerKey.size() < count) {
        auto value = static_cast<std::int8_t>(data[reg + mic.answerKey.size()] - 48);
        if (value > 9) value = static_cast<std::int8_t>(value - 7);
        controls.setPosition(mic, clampedPosition(value));
    }

    for (const Parameter* p : kAnswerTexts)
        answer.ExtractText(p->answerKey, p->answerKey.size(), controls, *p);
    for (const Parameter* p : kAnswerNumbers)
        answer.ExtractNumber(p->answerKey, p->answerKey.size(), controls, *p);
    for (const Parameter* p : kAnswerFlags)
        answer.ExtractFlag(p->answerKey, p->answerKey.size(), controls, *p);
}

std::string_view nextUsbIndicatorText(std::uint8_t& counter) {
    counter = static_cast<std::uint8_t>(counter + 1);
    return (counter & 1) ? std::string_view("USB") : std::string_view("       USB");
}

}  // namespace protocol
