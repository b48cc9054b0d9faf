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

LanguageOption takeLanguageOption(std::vector<std::string>& args) {
    LanguageOption found;
    std::vector<std::string> kept;
    bool given = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            kept.insert(kept.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
            break;
        }
        std::string value;
        if (arg == "--lang") {
            if (i + 1 == args.size()) return {std::nullopt, LanguageOption::Problem::NoValue, {}};
            value = args[++i];
        } else if (arg.rfind("--lang=", 0) == 0) {
            value = arg.substr(7);
        } else {
            kept.push_back(arg);
            continue;
        }
        if (given) return {std::nullopt, LanguageOption::Problem::GivenTwice, {}};
        given = true;
        found.language = parseLanguage(value);
        if (!found.language) return {std::nullopt, LanguageOption::Problem::Unknown, value};
    }
    args = std::move(kept);
    return found;
}

}  // namespace session
