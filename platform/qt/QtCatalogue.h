#pragma once
// The chosen language's catalogues for a Qt front end (the windows and vigil alike): our own
// compiled catalogues and Qt's (dialog buttons, context menus), loaded into the application, and
// the core's platform::translated() answered from them. Needs only Qt Core.
#include <QString>

#include "session/Language.h"

class QCoreApplication;

namespace platform {

// Loads every catalogue of ours for the language (<name>_<code>.qm in the translations folder) and
// Qt's own, then installs the core's lookup over QCoreApplication::translate. False when none of
// ours was found for the language; the source texts then stand (for Russian they are the texts).
bool loadCatalogues(session::Language language, QCoreApplication& application);

// The language loadCatalogues was last asked for; Russian (the source texts) before that.
session::Language loadedLanguage();

// Qt's own texts only (qtbase_<code>.qm from Qt's translations folder); false when not installed.
bool loadQtCatalogue(session::Language language, QCoreApplication& application);

// The folder our .qm files are read from: the installed one beside the program
// (<prefix>/share/vigil/translations), else the build tree's. Empty when neither exists.
QString catalogueFolder();

}  // namespace platform
