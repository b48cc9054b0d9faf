#pragma once
// The language of one run of vigil: `--lang ru|en` anywhere before "--", then VIGIL_LANG, then
// the user's locale (Russian where it is Russian, English otherwise).
#include <optional>
#include <string>
#include <vector>

#include "session/Language.h"

namespace cli {

// Takes every "--lang X" / "--lang=X" out of `args` (the options end at "--"). nullopt with
// `error` set (in the catalogue installed then) when a value is missing or is neither ru nor en,
// or the option is given twice; `args` is then left as it was.
std::optional<std::optional<session::Language>> takeLanguageOption(std::vector<std::string>& args,
                                                                   std::string& error);

// The run's language from the option (if given) and the environment.
session::Language runLanguage(const std::optional<session::Language>& fromOption);

}  // namespace cli
