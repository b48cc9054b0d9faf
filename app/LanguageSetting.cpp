#include "app/LanguageSetting.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/RegistryStore.h"

namespace app {
namespace {

constexpr const char* kLanguageKey = "Quorveth\\Language";
constexpr const char* kLanguageValue = "Language";

}  // namespace

std::optional<session::Language> storedLanguage() {
    // Read before any window can show a message: a damaged store is told by the first read after
    // that (the port window's), in the chosen language, not spent here on standard error.
    const auto document = platform::RegistryStore(platform::registryPath()).loadQuietly();
    const platform::RegistryKey* key = document ? document->find(kLanguageKey) : nullptr;
    const platform::RegistryValue* value = key ? key->find(kLanguageValue) : nullptr;
    if (!value || value->type != platform::RegistryValue::Type::String) return std::nullopt;
    return session::parseLanguage(value->text);
}

bool storeLanguage(session::Language language) {
    try {
        platform::Registry registry;
        if (!registry.openKey(kLanguageKey, true)) return false;
        registry.writeString(kLanguageValue, session::languageCode(language));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<session::Language> languageOption(int argc, char** argv, bool& invalid) {
    std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    const session::LanguageOption option = session::takeLanguageOption(args);
    invalid = option.problem != session::LanguageOption::Problem::None;
    return option.language;
}

session::Language windowsLanguage(const std::optional<session::Language>& fromOption) {
    return session::chooseLanguage(fromOption, std::getenv("VIGIL_LANG"),
                                   storedLanguage().value_or(session::Language::Russian));
}

}  // namespace app
