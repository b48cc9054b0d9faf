#pragma once
#include <string_view>

namespace files {

// Ends every message that refuses a save before any file is touched.
inline constexpr std::string_view kNotSaved = "Конфигурация не сохранена.";

}  // namespace files
