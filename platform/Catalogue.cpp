#include "platform/Catalogue.h"

#include <mutex>
#include <utility>

namespace platform {
namespace {
std::mutex catalogueMutex;
CatalogueLookup& installedLookup() {
    static CatalogueLookup lookup;
    return lookup;
}
}  // namespace

void installCatalogue(CatalogueLookup lookup) {
    std::lock_guard lock(catalogueMutex);
    installedLookup() = std::move(lookup);
}

std::string translated(const char* context, const char* source) {
    CatalogueLookup lookup;
    {
        std::lock_guard lock(catalogueMutex);
        lookup = installedLookup();
    }
    if (lookup) {
        std::string text = lookup(context, source);
        if (!text.empty()) return text;
    }
    return source;
}

std::string withArgs(std::string text, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const std::size_t index = static_cast<std::size_t>(next - '1');
        // One pass over the text: an argument that itself holds "%2" stays as it is.
        if (text[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
            out += *(args.begin() + static_cast<std::ptrdiff_t>(index));
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace platform
