#include "session/ValueOverride.h"

#include <algorithm>
#include <cctype>

#include "platform/Catalogue.h"
#include "protocol/Cp1251.h"
#include "protocol/WriteCheck.h"
#include "session/ValueDomain.h"

namespace session {
namespace {

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::optional<OverrideKey> resolveOverrideKey(std::string_view key, std::string& error) {
    for (const protocol::Parameter& p : protocol::kParameters) {
        const bool byName = sameLetters(key, p.name);
        const bool byFileKey =
            !p.fileKey.empty() && sameLetters(key, p.fileKey.substr(0, p.fileKey.size() - 1));
        if (!byName && !byFileKey) continue;
        if (p.group == protocol::WriteGroup::None) {
            error = platform::withArgs(
                platform::translated("vigil",
                                     "%1 is reported by the terminal and cannot be written"),
                {key});
            return std::nullopt;
        }
        return OverrideKey{&p, !byName};
    }
    error = platform::withArgs(
        platform::translated("vigil", "unknown parameter %1 (a parameter name or an .abt key)"),
        {key});
    return std::nullopt;
}

std::optional<Override> makeOverride(const OverrideKey& key, std::string_view utf8Value,
                                     std::string& error) {
    const protocol::Parameter& p = *key.parameter;
    const std::optional<std::string> cp1251 = protocol::toCp1251(utf8Value);
    if (!cp1251) {
        error = platform::withArgs(
            platform::translated("vigil", "the value for %1 has characters Windows-1251 lacks"),
            {p.name});
        return std::nullopt;
    }
    const protocol::ValueForm form = key.abtKey ? protocol::fileForm(p) : p.form;
    std::optional<std::string> wire = linkValue(p, form, *cp1251);
    if (!wire) {
        error = invalidValueMessage(p, form, utf8Value);
        return std::nullopt;
    }
    return Override{&p, std::move(*wire)};
}

void applyOverride(protocol::ControlAccess& values, const Override& override) {
    protocol::applyValue(values, *override.parameter, override.wire);
}

}  // namespace session
