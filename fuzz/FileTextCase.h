#pragma once
// The shape of a fuzz target over a file a reader takes whole or refuses (the batch's units file,
// its log): the input is the file's text under a fixed name; a refusal is checked for what it
// says, a file taken for what was made of it.
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

inline std::string_view textOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// `read(text, name, error)` gives the contents, or nothing with `error` set; then either
// `refused(error)` or `taken(contents)` runs.
template <class Read, class Refused, class Taken>
void readFileText(std::string_view text, const std::string& name, Read read, Refused refused,
                  Taken taken) {
    std::string error;
    const auto contents = read(text, name, error);
    if (contents)
        taken(*contents);
    else
        refused(error);
}

}  // namespace fuzz
