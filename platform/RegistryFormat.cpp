#include "platform/RegistryFormat.h"

#include <cctype>
#include <cstdio>

namespace platform {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && sameName(s.substr(0, prefix.size()), prefix);
}

// Reads a quoted text at the start of `s` (backslash escapes \\ and \"), leaving `s` after it.
std::optional<std::string> takeQuoted(std::string_view& s) {
    if (s.empty() || s.front() != '"') return std::nullopt;
    std::string out;
    for (std::size_t i = 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\') {
            if (++i == s.size()) break;
            out += s[i];
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::string quoted(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

std::optional<std::uint32_t> parseDword(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t v = 0;
    for (char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        const int d =
            std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
        v = v * 16 + static_cast<std::uint32_t>(d);
    }
    return v;
}

std::optional<RegistryValue> parseData(std::string_view data) {
    RegistryValue v;
    if (startsWith(data, "dword:")) {
        auto n = parseDword(data.substr(6));
        if (!n) return std::nullopt;
        v.type = RegistryValue::Type::Dword;
        v.dword = *n;
        return v;
    }
    if (!data.empty() && data.front() == '"') {
        auto s = takeQuoted(data);
        if (!s || !trim(data).empty()) return std::nullopt;
        v.type = RegistryValue::Type::String;
        v.text = *s;
        return v;
    }
    if (startsWith(data, "hex")) {
        v.type = RegistryValue::Type::Other;
        v.text = std::string(data);
        return v;
    }
    return std::nullopt;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto nl = text.find('\n');
        lines.push_back(text.substr(0, nl));
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
    return lines;
}

}  // namespace

const RegistryValue* RegistryKey::find(std::string_view name) const {
    for (const auto& [n, v] : values)
        if (sameName(n, name)) return &v;
    return nullptr;
}

void RegistryKey::set(std::string_view name, RegistryValue value) {
    for (auto& [n, v] : values)
        if (sameName(n, name)) {
            v = std::move(value);
            return;
        }
    values.emplace_back(std::string(name), std::move(value));
}

const RegistryKey* RegistryDocument::find(std::string_view path) const {
    for (const auto& k : keys)
        if (sameName(k.path, path)) return &k;
    return nullptr;
}

RegistryKey& RegistryDocument::ensure(std::string_view path) {
    for (auto& k : keys)
        if (sameName(k.path, path)) return k;
    keys.push_back({std::string(path), {}});
    return keys.back();
}

std::optional<RegistryDocument> parseRegistry(std::string_view text, std::string& error) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    RegistryDocument doc;
    RegistryKey* key = nullptr;
    const auto lines = splitLines(text);
    auto fail = [&](std::size_t index, const char* what) {
        error = "line " + std::to_string(index + 1) + ": " + what;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t first = i;
        std::string_view line = trim(lines[i]);
        if (line.empty() || line.front() == ';') continue;
        if (line == kHeader || line == kOldHeader) {
            if (key) return fail(i, "header after the first key");
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) return fail(i, "malformed key");
            key = &doc.ensure(line.substr(1, line.size() - 2));
            continue;
        }
        if (line.front() != '"') return fail(i, "neither a key nor a value");
        if (!key) return fail(i, "value before the first key");
        auto name = takeQuoted(line);
        if (!name) return fail(i, "unterminated value name");
        line = trim(line);
        if (line.empty() || line.front() != '=') return fail(i, "missing '='");
        std::string data(trim(line.substr(1)));
        // Binary data may go on over several lines, each but the last ending in a backslash.
        while (startsWith(data, "hex") && data.back() == '\\') {
            data.pop_back();
            // Blanks around a line break are not data (the saved text has none, so it reads back
            // the same); a dangling backslash on the last line continues nothing.
            data = std::string(trim(data));
            if (i + 1 < lines.size()) data += trim(lines[++i]);
        }
        auto value = parseData(data);
        if (!value) return fail(first, "unreadable value data");
        key->set(*name, std::move(*value));
    }
    return doc;
}

std::string formatRegistry(const RegistryDocument& document) {
    std::string out(kHeader);
    out += "\n";
    for (const auto& key : document.keys) {
        out += "\n[" + key.path + "]\n";
        for (const auto& [name, value] : key.values) {
            out += quoted(name) + "=";
            switch (value.type) {
                case RegistryValue::Type::Dword: {
                    char hex[9];
                    std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(value.dword));
                    out += std::string("dword:") + hex;
                    break;
                }
                case RegistryValue::Type::String:
                    out += quoted(value.text);
                    break;
                case RegistryValue::Type::Other:
                    out += value.text;
                    break;
            }
            out += "\n";
        }
    }
    return out;
}

}  // namespace platform
