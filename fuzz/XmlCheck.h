#pragma once
// A small well-formedness check of the server export, as the server's XML parser would judge it:
// an XML declaration, one root element, tags that balance, no raw "&" or "<" in text, only the
// predefined entities, no character XML 1.0 forbids, and every byte defined in windows-1251.
// Enough for the export's plain layout (no attributes, no CDATA, no DOCTYPE).
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

namespace xml_detail {

// The one byte of the code page without a character (iconv refuses it; too slow to ask per run).
constexpr char kUndefinedCp1251Byte = '\x98';

inline bool isNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

inline bool isNameChar(unsigned char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

inline bool isSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Control characters other than tab and line ends may not appear, not even as references.
inline bool isForbidden(unsigned char c) {
    return c < 0x20 && !isSpace(c);
}

inline bool isEntity(std::string_view rest) {
    for (std::string_view e : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"})
        if (rest.substr(0, e.size()) == e) return true;
    return false;
}

}  // namespace xml_detail

// Empty when `doc` is well-formed, else what is wrong and where.
inline std::string xmlProblem(std::string_view doc) {
    using namespace xml_detail;
    auto at = [](std::size_t pos, const char* what) {
        return std::string(what) + " at byte " + std::to_string(pos);
    };
    if (std::size_t b = doc.find(kUndefinedCp1251Byte); b != std::string_view::npos)
        return at(b, "the byte windows-1251 does not define");
    constexpr std::string_view kDeclaration = "<?xml ";
    if (doc.substr(0, kDeclaration.size()) != kDeclaration) return "no XML declaration";

    std::vector<std::string_view> open;
    bool rootSeen = false;
    std::size_t pos = 0;
    while (pos < doc.size()) {
        const auto c = static_cast<unsigned char>(doc[pos]);
        if (c == '<') {
            std::string_view rest = doc.substr(pos);
            if (rest.substr(0, 4) == "<!--") {
                std::size_t end = doc.find("--", pos + 4);
                if (end == std::string_view::npos) return at(pos, "unterminated comment");
                if (doc.substr(end, 3) != "-->") return at(end, "\"--\" inside a comment");
                for (std::size_t i = pos + 4; i < end; ++i)
                    if (isForbidden(static_cast<unsigned char>(doc[i])))
                        return at(i, "forbidden character");
                pos = end + 3;
                continue;
            }
            if (rest.substr(0, 2) == "<?") {
                std::size_t end = doc.find("?>", pos + 2);
                if (end == std::string_view::npos) return at(pos, "unterminated declaration");
                if (pos != 0) return at(pos, "declaration not at the start");
                pos = end + 2;
                continue;
            }
            const bool closing = rest.substr(0, 2) == "</";
            std::size_t nameStart = pos + (closing ? 2 : 1);
            std::size_t nameEnd = nameStart;
            if (nameEnd >= doc.size() || !isNameStart(static_cast<unsigned char>(doc[nameEnd])))
                return at(pos, "raw \"<\" or a bad tag name");
            while (nameEnd < doc.size() && isNameChar(static_cast<unsigned char>(doc[nameEnd])))
                ++nameEnd;
            std::string_view name = doc.substr(nameStart, nameEnd - nameStart);
            std::size_t end = nameEnd;
            while (end < doc.size() && isSpace(static_cast<unsigned char>(doc[end]))) ++end;
            const bool empty = !closing && doc.substr(end, 2) == "/>";
            if (!empty && (end >= doc.size() || doc[end] != '>'))
                return at(pos, "a tag that does not end in \">\"");
            pos = end + (empty ? 2 : 1);
            if (closing) {
                if (open.empty() || open.back() != name) return at(nameStart, "unbalanced end tag");
                open.pop_back();
                continue;
            }
            if (open.empty()) {
                if (rootSeen) return at(nameStart, "a second root element");
                rootSeen = true;
            }
            if (!empty) open.push_back(name);
            continue;
        }
        if (isForbidden(c)) return at(pos, "forbidden character");
        if (open.empty() && !isSpace(c)) return at(pos, "text outside the root element");
        if (c == '&' && !isEntity(doc.substr(pos))) return at(pos, "raw \"&\"");
        if (c == '>' && pos >= 2 && doc.substr(pos - 2, 3) == "]]>")
            return at(pos, "\"]]>\" in text");
        ++pos;
    }
    if (!open.empty()) return "unclosed element <" + std::string(open.back()) + ">";
    if (!rootSeen) return "no root element";
    return {};
}

}  // namespace fuzz
