#include "protocol/Cp1251.h"

#include <iconv.h>

#include <cerrno>

namespace protocol {
namespace {

// One conversion with a fresh descriptor (iconv state is per descriptor, so this stays
// safe to call from any thread). Fails on any input the target cannot carry.
std::optional<std::string> convert(const char* to, const char* from, std::string_view input) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string output(input.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    bool ok = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1) &&
              iconv(cd, nullptr, nullptr, &out, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!ok || inLeft != 0) return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

}  // namespace

std::optional<std::string> toCp1251(std::string_view utf8) {
    return convert("CP1251", "UTF-8", utf8);
}

std::optional<std::string> fromCp1251(std::string_view cp1251) {
    return convert("UTF-8", "CP1251", cp1251);
}

std::string fromCp1251ForDisplay(std::string_view cp1251) {
    if (auto whole = fromCp1251(cp1251)) return *whole;
    std::string text;
    for (char byte : cp1251) {
        auto one = fromCp1251(std::string_view(&byte, 1));
        text += one ? *one : "\xEF\xBF\xBD";
    }
    return text;
}

}  // namespace protocol
