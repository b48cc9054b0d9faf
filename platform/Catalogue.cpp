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

}  // namespace platform
