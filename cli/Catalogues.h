#pragma once
// The compiled catalogues vigil speaks from. Its own texts are written in English and its Russian
// comes from vigil_ru.qm; the shared core's texts are written in Russian and its English comes from
// the windows' catalogue. So a run loads the one catalogue that turns the other half into its
// language, and no line mixes the two.
//
// The catalogues are looked for in VIGIL_TRANSLATIONS (a folder) when set, else in
// ../share/vigil/translations beside the program (/usr/bin/vigil and the build tree alike).
// A build without Qt speaks the texts as written.
#include <string>

#include "session/Language.h"

namespace cli {

// The catalogue file this run needs ("vigil_ru.qm", "Config_Vigil_en.qm").
const char* catalogueFileFor(session::Language language);

// Installs the lookup for `language`. Returns what is wrong when the catalogue folder exists but
// the run's catalogue in it cannot be loaded (missing, damaged, unreadable): the texts then stay as
// written, English and Russian mixed, and the user is to be told why. Empty otherwise; a folder
// that does not exist is a build without catalogues, whose texts are meant as written.
std::string installCatalogues(session::Language language);

}  // namespace cli
