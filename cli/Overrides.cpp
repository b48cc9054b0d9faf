#include "cli/Overrides.h"

#include "cli/Texts.h"
#include "platform/Catalogue.h"

namespace cli {

std::optional<Override> parseOverride(std::string_view keyEqualsValue, std::string& error) {
    const std::size_t eq = keyEqualsValue.find('=');
    if (eq == std::string_view::npos || eq == 0) {
        error = withArgs(platform::translated("vigil", "--set needs KEY=VALUE, got \"%1\""),
                         {keyEqualsValue});
        return std::nullopt;
    }
    const auto key = session::resolveOverrideKey(keyEqualsValue.substr(0, eq), error);
    if (!key) return std::nullopt;
    return session::makeOverride(*key, keyEqualsValue.substr(eq + 1), error);
}

}  // namespace cli
