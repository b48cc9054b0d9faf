#pragma once
// The windows' language: `--lang ru|en`, else VIGIL_LANG, else the operator's menu choice kept in
// the registry store, else Russian.
#include <optional>
#include <string>

#include "session/Language.h"

namespace app {

// The choice kept by the menu; nothing when none was made (or the store cannot be read).
std::optional<session::Language> storedLanguage();
// Keeps the menu choice; false when the store refused it.
bool storeLanguage(session::Language language);

// The value of --lang among the program's arguments (session::takeLanguageOption): nothing when
// the option is absent; `invalid` is set when it is present without ru or en.
std::optional<session::Language> languageOption(int argc, char** argv, bool& invalid);

// The language for this run of the windows.
session::Language windowsLanguage(const std::optional<session::Language>& fromOption);

}  // namespace app
