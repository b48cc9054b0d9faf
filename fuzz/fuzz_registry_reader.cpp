// The registry store's file parser on arbitrary text. A file it reads must keep every value when
// the program writes one of its own into it and saves: the saved text reads back to the same
// keys and values, and saving that again gives the same text. A file it refuses says where.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "platform/RegistryFormat.h"

namespace {

bool sameValue(const platform::RegistryValue& a, const platform::RegistryValue& b) {
    return a.type == b.type &&
           (a.type == platform::RegistryValue::Type::Dword ? a.dword == b.dword : a.text == b.text);
}

bool sameDocument(const platform::RegistryDocument& a, const platform::RegistryDocument& b) {
    if (a.keys.size() != b.keys.size()) return false;
    for (std::size_t k = 0; k < a.keys.size(); ++k) {
        const auto& x = a.keys[k];
        const auto& y = b.keys[k];
        if (x.path != y.path || x.values.size() != y.values.size()) return false;
        for (std::size_t v = 0; v < x.values.size(); ++v)
            if (x.values[v].first != y.values[v].first ||
                !sameValue(x.values[v].second, y.values[v].second))
                return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    auto document = platform::parseRegistry(text, error);
    if (!document) {
        fuzz::require(error.rfind("line ", 0) == 0, "a refused file names the line");
        return 0;
    }
    // What the port settings window does at exit.
    platform::RegistryValue comNum;
    comNum.dword = 3;
    document->ensure("Quorveth\\ComPort").set("ComNum", comNum);

    const std::string saved = platform::formatRegistry(*document);
    auto reread = platform::parseRegistry(saved, error);
    if (!reread) {
        std::fprintf(stderr, "saved text refused: %s\n---\n%s---\n", error.c_str(), saved.c_str());
        fuzz::fail("a saved file can be read");
    }
    if (!sameDocument(*document, *reread)) {
        std::fprintf(stderr, "saved text:\n%s---\n", saved.c_str());
        fuzz::fail("a saved file reads back to every key and value");
    }
    fuzz::require(platform::formatRegistry(*reread) == saved, "saving again gives the same text");
    return 0;
}
