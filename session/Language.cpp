#include "session/Language.h"

#include <algorithm>
#include <cctype>

namespace session {

std::optional<Language> parseLanguage(const std::string& text) {
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "ru") return Language::Russian;
    if (lower == "en") return Language::English;
    return std::nullopt;
}

const char* languageCode(Language language) {
    return language == Language::English ? "en" : "ru";
}

Language languageOfLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value == nullptr || *value == '\0') continue;
        const std::string text(value);
        return text.rfind("ru", 0) == 0 ? Language::Russian : Language::English;
    }
    return Language::English;
}

Language chooseLanguage(const std::optional<Language>& fromOption, const char* vigilLangVariable,
                        Language fallback) {
    if (fromOption) return *fromOption;
    if (vigilLangVariable != nullptr) {
        if (auto fromVariable = parseLanguage(vigilLangVariable)) return *fromVariable;
    }
    return fallback;
}

}  // namespace session
