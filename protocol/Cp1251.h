#pragma once
// UTF-8 <-> Windows-1251, the code page of the link and of the files (glibc iconv). A character
// the other side cannot carry is reported, never silently replaced.
#include <optional>
#include <string>
#include <string_view>

namespace protocol {

// nullopt when `utf8` holds a character cp1251 has no byte for, or is not valid UTF-8.
std::optional<std::string> toCp1251(std::string_view utf8);

// nullopt when `cp1251` holds the one byte the code page leaves undefined (0x98).
std::optional<std::string> fromCp1251(std::string_view cp1251);

// For showing bytes received from the terminal: an undefined byte becomes U+FFFD.
std::string fromCp1251ForDisplay(std::string_view cp1251);

}  // namespace protocol
