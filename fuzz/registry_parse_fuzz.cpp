// Hand-edited registry stores: the parse must stay inside the text, and whatever it accepts must
// save and read back to the same store (a save may never change or lose what was read).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/RegistryFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto doc = platform::parseRegistry(text, error);
    if (!doc) return 0;
    const std::string saved = platform::formatRegistry(*doc);
    const auto again = platform::parseRegistry(saved, error);
    if (!again || platform::formatRegistry(*again) != saved) {
        std::fprintf(stderr, "\n*** a saved store does not read back: %s\n", error.c_str());
        std::abort();
    }
    return 0;
}
