#include "session/ValueDomain.h"

#include <algorithm>

#include "platform/Catalogue.h"

namespace session {
namespace {

using protocol::ValueForm;

constexpr char kSeparator = ':';
constexpr char kUndefinedCp1251 = '\x98';

// A line break, NUL or other control byte is nothing a one-line field holds; in a file it means
// items run together ("TL1=+7900\nTL2=...").
bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The item index one decimal digit names, or -1 outside 0..itemCount-1 (`first` is the digit of
// item 0: '0' for an index, '1' for a press count).
int itemIndex(const protocol::Parameter& p, std::string_view value, char first) {
    if (value.size() != 1 || value[0] < first || value[0] > '9') return -1;
    const int index = value[0] - first;
    return index < p.itemCount ? index : -1;
}

}  // namespace

std::optional<std::string> linkValue(const protocol::Parameter& p, ValueForm form,
                                     std::string_view value) {
    switch (form) {
        case ValueForm::Text:
            if (value.find(kSeparator) != std::string_view::npos) return std::nullopt;
            if (value.find(kUndefinedCp1251) != std::string_view::npos) return std::nullopt;
            if (std::any_of(value.begin(), value.end(), isControl)) return std::nullopt;
            return std::string(value);
        case ValueForm::Flag:
            if (value != "0" && value != "1") return std::nullopt;
            return std::string(value);
        case ValueForm::IndexDigit:
        case ValueForm::PressCountDigit: {
            const int index = itemIndex(p, value, form == ValueForm::IndexDigit ? '0' : '1');
            if (index < 0) return std::nullopt;
            const char first = p.form == ValueForm::PressCountDigit ? '1' : '0';
            return std::string(1, static_cast<char>(first + index));
        }
        case ValueForm::HexDigit: {
            if (value.size() != 1 || hexDigit(value[0]) < 0) return std::nullopt;
            return std::string(1, "0123456789ABCDEF"[hexDigit(value[0])]);
        }
    }
    return std::nullopt;
}

std::string acceptedValues(const protocol::Parameter& p, ValueForm form) {
    switch (form) {
        case ValueForm::Text:
            return platform::translated(
                "vigil",
                "a text without \":\" or control characters (line breaks, tabs), in Windows-1251");
        case ValueForm::Flag:
            return platform::translated("vigil", "0 or 1");
        case ValueForm::IndexDigit:
            return platform::withArgs(platform::translated("vigil", "%1 to %2"),
                                      {"0", std::to_string(p.itemCount - 1)});
        case ValueForm::PressCountDigit:
            return platform::withArgs(platform::translated("vigil", "%1 to %2"),
                                      {"1", std::to_string(p.itemCount)});
        case ValueForm::HexDigit:
            return platform::translated("vigil", "one hex digit 0 to F");
    }
    return {};
}

std::string invalidValueMessage(const protocol::Parameter& p, ValueForm form,
                                std::string_view shownValue) {
    // A control byte is shown as \xHH, so the message stays on one line.
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string shown;
    for (const char c : shownValue) {
        const auto byte = static_cast<unsigned char>(c);
        if (isControl(c))
            shown.append("\\x").append(1, kHex[byte >> 4]).append(1, kHex[byte & 15]);
        else
            shown += c;
    }
    return platform::withArgs(
        platform::translated("vigil", "invalid value \"%1\" for %2: expected %3"),
        {shown, parameterLabel(p), acceptedValues(p, form)});
}

std::string parameterLabel(const protocol::Parameter& p) {
    std::string name(p.name);
    if (fileKeyName(p) != p.name) name += " (" + std::string(fileKeyName(p)) + ")";
    return name;
}

std::string_view fileKeyName(const protocol::Parameter& p) {
    return p.fileKey.empty() ? p.fileKey : p.fileKey.substr(0, p.fileKey.size() - 1);
}

}  // namespace session
