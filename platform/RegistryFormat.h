#pragma once
// The text form of the registry store: the registry editor's export format, so the file can be read
// and edited by hand and every value keeps its type.
//
//     Windows Registry Editor Version 5.00
//
//     [Quorveth\ComPort]
//     "ComBaud"=dword:00000006
//     "Name"="text with \" and \\ escaped"
//
// Values of other types ("hex:", "hex(7):" ...) are kept verbatim, so a hand-edited file loses
// nothing when the program saves it again. Key paths and value names compare case-insensitively,
// as in the registry; they keep the spelling they were first written with.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct RegistryValue {
    enum class Type { Dword, String, Other };
    Type type = Type::Dword;
    std::uint32_t dword = 0;
    std::string text;  // the string's bytes, or for Other the data as written after "="
};

struct RegistryKey {
    std::string path;  // e.g. "Quorveth\ComPort"
    std::vector<std::pair<std::string, RegistryValue>> values;

    const RegistryValue* find(std::string_view name) const;
    void set(std::string_view name, RegistryValue value);
};

struct RegistryDocument {
    std::vector<RegistryKey> keys;

    const RegistryKey* find(std::string_view path) const;
    RegistryKey& ensure(std::string_view path);
};

// Parses a whole store file. Any line it does not understand makes the whole file unreadable:
// dropping only that line would silently lose it at the next save. On failure `error` tells the
// line number and what was wrong.
std::optional<RegistryDocument> parseRegistry(std::string_view text, std::string& error);
std::string formatRegistry(const RegistryDocument& document);

}  // namespace platform
