#pragma once
// Which language the program speaks: Russian (the source texts) or English. Both front ends choose
// it the same way: `--lang ru|en` first, then VIGIL_LANG, then the front end's default (the windows
// keep the operator's menu choice, Russian until one is made; vigil follows the user's locale).
#include <optional>
#include <string>
#include <vector>

namespace session {

enum class Language { Russian, English };

// "ru" or "en" (any letter case); nothing for another text.
std::optional<Language> parseLanguage(const std::string& text);
const char* languageCode(Language language);

// The locale's language from LC_ALL, LC_MESSAGES or LANG, the first that is set: Russian when it
// starts with "ru", English otherwise (C and POSIX included).
Language languageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);

// `--lang X` / `--lang=X` among a program's arguments. Options end at "--". A second --lang, a
// missing value or one that is neither ru nor en is a problem for the caller to word.
struct LanguageOption {
    enum class Problem { None, NoValue, GivenTwice, Unknown };
    std::optional<Language> language;  // nothing when the option is absent or has a problem
    Problem problem = Problem::None;
    std::string value;  // the unknown value, for the caller's message
};

// Finds the option in `args` and, when it has no problem, takes it out of them.
LanguageOption takeLanguageOption(std::vector<std::string>& args);

// The language for this run. An unknown VIGIL_LANG is passed over (the default holds); an unknown
// --lang is the caller's to refuse before this is asked.
Language chooseLanguage(const std::optional<Language>& fromOption, const char* vigilLangVariable,
                        Language fallback);

}  // namespace session
