#pragma once
// The terminal's answers: the key search, the extractors, and the parse of one reception.
// The same operations read an .abt file loaded into the transmit buffer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/ControlAccess.h"
#include "protocol/ParameterTable.h"

namespace protocol {

inline constexpr std::uint16_t kKeyAbsent = 0xFFFF;

// Where a key may match. Answers are searched anywhere (the terminal's own format); a file
// is searched only where an item can start, so a value holding a key's text is not taken for it.
enum class KeyMatch {
    Anywhere,
    ItemStart,  // at the start, or after ":" with only spaces, tabs and line breaks between
};

// The key search and the extractors over one byte range. Extractor results: 1 found and applied,
// 0 key absent, -1 malformed or not terminated by ":" within the data (control unchanged).
// The range is folded once here, so each key costs one plain substring search.
class ItemScanner {
  public:
    ItemScanner(const std::uint8_t* data, std::uint16_t count, KeyMatch match = KeyMatch::Anywhere);

    // Position of the first occurrence of the (upper-case) key, kKeyAbsent when absent. Data
    // bytes with bit 0x40 set are compared with bit 0x20 cleared.
    std::uint16_t FindKey(std::string_view key) const;

    // Text up to ":" into the edit; enables the write controls.
    int ExtractText(std::string_view key, std::size_t keyLength, ControlAccess& controls,
                    const Parameter& edit) const;
    // Decimal digits up to ":" as item index; past the last item a combo box loses its
    // selection, a radio group selects its last item.
    int ExtractNumber(std::string_view key, std::size_t keyLength, ControlAccess& controls,
                      const Parameter& list) const;
    // Exactly "0" or "1", then ":".
    int ExtractFlag(std::string_view key, std::size_t keyLength, ControlAccess& controls,
                    const Parameter& box) const;
    // The last byte before ":" as a hex digit, clamped into the track bar's range.
    int ExtractHexDigit(std::string_view key, std::size_t keyLength, ControlAccess& controls,
                        const Parameter& bar) const;

  private:
    bool startsItem(std::uint16_t position) const;
    std::uint16_t valueStart(std::string_view key, std::size_t keyLength) const;

    const std::uint8_t* data_;
    std::uint16_t count_;
    KeyMatch match_;
    std::string folded_;  // the data with bit 0x20 cleared on every byte that has bit 0x40 set
};

// Applies one reception: "REG=" with its own rule, then texts, item indexes, flags.
void parseReception(const std::uint8_t* data, std::uint16_t count, ControlAccess& controls);

// Status panel 0 at each parsed reception: advances the counter (wrapping at 255) and returns
// "USB" for an odd value, "       USB" for an even one.
std::string_view nextUsbIndicatorText(std::uint8_t& counter);

}  // namespace protocol
