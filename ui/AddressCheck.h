#pragma once
// Plausibility checks of the server address and port fields. They only report: each routine
// returns the warnings for one field's text, in the order they are to be shown, and the caller
// shows each one (warnEach) and leaves the text, the focus and the value as they are.
//
// Texts are UTF-8, as the edit fields hold them; a character is one code point, so a Cyrillic
// letter typed by mistake gives one warning, not two.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

inline constexpr long kMaxAddressPiece = 255;
inline constexpr long kMaxPort = 65535;

// The value the C library's string-to-long would read from the start of the text on a 32-bit
// long: leading blanks and a sign are taken, reading stops at the first non-digit, no digits give
// 0. Digits beyond the 32-bit range saturate, so a piece like "99999999999" reads as over any
// limit instead of wrapping to something small.
std::int32_t leadingNumber(std::string_view text);

// While an address is typed: one warning per character that is neither "." nor a digit, then one
// per dot-separated piece whose value is over 255.
std::vector<std::string> addressTypingWarnings(std::string_view text);

// When the focus leaves address field n (1...4): at most one warning, naming the field.
std::vector<std::string> addressCompletenessWarnings(std::string_view text, int fieldNumber);

// While a port is typed: one warning per non-digit character, then one if the value is over 65535.
std::vector<std::string> portWarnings(std::string_view text);

// Shows each warning in a plain message box with an OK button, one after another.
void warnEach(const std::vector<std::string>& warnings);

}  // namespace ui
