#pragma once
#include "platform/Catalogue.h"

namespace files {

// Ends every message that refuses a save before any file is touched (translated where shown).
inline constexpr const char* kNotSaved =
    VIGIL_TRANSLATABLE("SaveFiles", "Конфигурация не сохранена.");

}  // namespace files
