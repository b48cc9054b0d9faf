// The key search against its definition on arbitrary data and keys: a byte at a time, every data
// byte with bit 0x40 set compared with bit 0x20 cleared, back by the matched count on a mismatch.
// The scanner folds the data once and finds each key with a plain substring search; both must
// give the same position, anywhere in an answer and at item starts only in a file.
// Input: one byte of key length, the key, then the data.
// fuzz-flags: -max_len=4200 -dict=fuzz/keys.dict
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "protocol/ResponseParser.h"

namespace {

using protocol::kKeyAbsent;

std::uint16_t literalSearch(const std::uint8_t* data, std::uint16_t count, std::string_view key,
                            std::size_t from) {
    std::size_t position = from;
    std::size_t matched = 0;
    for (;;) {
        if (matched == key.size()) return static_cast<std::uint16_t>(position - key.size());
        if (position >= count) return kKeyAbsent;
        std::uint8_t byte = data[position];
        if (byte & 0x40) byte = static_cast<std::uint8_t>(byte & ~0x20);
        if (byte == static_cast<std::uint8_t>(key[matched])) {
            ++matched;
        } else {
            position -= matched;
            matched = 0;
        }
        ++position;
    }
}

// The file rule: at the start, or after ":" with only spaces, tabs and line breaks between.
bool atItemStart(const std::uint8_t* data, std::size_t position) {
    while (position > 0 && (data[position - 1] == ' ' || data[position - 1] == '\t' ||
                            data[position - 1] == '\r' || data[position - 1] == '\n'))
        --position;
    return position == 0 || data[position - 1] == ':';
}

std::uint16_t literalItemSearch(const std::uint8_t* data, std::uint16_t count,
                                std::string_view key) {
    std::uint16_t position = literalSearch(data, count, key, 0);
    while (position != kKeyAbsent && !atItemStart(data, position))
        position = literalSearch(data, count, key, position + 1u);
    return position;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    fuzz::Input in(input, size);
    const auto keyBytes = in.take(in.byte() % 16);
    const auto data = in.rest();
    if (data.size() > 0xFFFE) return 0;
    const std::string_view key(reinterpret_cast<const char*>(keyBytes.data()), keyBytes.size());
    const auto count = static_cast<std::uint16_t>(data.size());

    const protocol::ItemScanner answer(data.data(), count);
    fuzz::require(answer.FindKey(key) == literalSearch(data.data(), count, key, 0),
                  "the fast search finds what the literal search finds in an answer");
    const protocol::ItemScanner file(data.data(), count, protocol::KeyMatch::ItemStart);
    fuzz::require(file.FindKey(key) == literalItemSearch(data.data(), count, key),
                  "the fast search finds what the literal search finds at item starts");
    return 0;
}
