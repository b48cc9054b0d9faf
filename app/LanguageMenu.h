#pragma once
// Help > "Language / Язык": Russian or English for the windows. The choice is kept in the registry
// store and takes effect at the next start (every window is built in one language), which the
// operator is told.
class QMenu;

namespace app {

// Adds the submenu (objectName "LanguageMenu", actions "LanguageRussian" and "LanguageEnglish",
// the language now in use checked) to `menu`.
void addLanguageMenu(QMenu& menu);

}  // namespace app
