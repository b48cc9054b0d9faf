#include "cli/Catalogues.h"

namespace cli {

const char* catalogueFileFor(session::Language language) {
    return language == session::Language::Russian ? "vigil_ru.qm" : "Config_Vigil_en.qm";
}

}  // namespace cli
