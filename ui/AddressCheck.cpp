#include "ui/AddressCheck.h"

#include <limits>

#include "platform/Catalogue.h"
#include "platform/MessageService.h"

namespace ui {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Blanks as the C locale's isspace knows them.
bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Calls visit(first byte) once per UTF-8 character; a broken sequence counts byte by byte.
template <typename Visit>
void forEachCharacter(std::string_view text, Visit visit) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        if (lead >= 0xC0) {
            const std::size_t expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            while (length < expected && i + length < text.size() &&
                   (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80)
                ++length;
        }
        visit(text[i]);
        i += length;
    }
}

}  // namespace

std::int32_t leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulate the magnitude with room for one step past the limit, then clamp.
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) magnitude = limit;
    }
    if (negative) return static_cast<std::int32_t>(-magnitude);
    if (magnitude >= limit) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(magnitude);
}

std::vector<std::string> addressTypingWarnings(std::string_view text) {
    std::vector<std::string> warnings;
    forEachCharacter(text, [&](char c) {
        if (c != '.' && !isDigit(c))
            warnings.emplace_back(platform::translated("AddressCheck", "Только цифры и точки"));
    });
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = text.find('.', start);
        if (leadingNumber(text.substr(start, dot - start)) > kMaxAddressPiece)
            warnings.emplace_back(platform::translated("AddressCheck", "Не более 255"));
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    return warnings;
}

std::vector<std::string> addressCompletenessWarnings(std::string_view text, int fieldNumber) {
    const std::string field = "IP" + std::to_string(fieldNumber);
    if (text.empty()) return {};
    if (text.back() == '.')
        return {platform::translated("AddressCheck", "Точка не должна быть последней в ") + field};
    if (text.find("..") != std::string_view::npos)
        return {platform::translated("AddressCheck", "Две точки подряд в ") + field};
    std::size_t dots = 0;
    for (char c : text) dots += c == '.';
    if (dots != 3) return {platform::translated("AddressCheck", "Неверный адрес ") + field};
    return {};
}

std::vector<std::string> portWarnings(std::string_view text) {
    std::vector<std::string> warnings;
    forEachCharacter(text, [&](char c) {
        if (!isDigit(c))
            warnings.emplace_back(platform::translated("AddressCheck", "Только цифры"));
    });
    if (leadingNumber(text) > kMaxPort)
        warnings.emplace_back(platform::translated("AddressCheck", "Не более 65535"));
    return warnings;
}

void warnEach(const std::vector<std::string>& warnings) {
    for (const auto& text : warnings)
        platform::messages().show(text, "", platform::MessageIcon::None,
                                  platform::MessageButtons::Ok);
}

}  // namespace ui
