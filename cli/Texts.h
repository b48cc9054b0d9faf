#pragma once
// vigil's own texts. Each is written in English as translated("vigil", "...") where it is shown, or
// marked VIGIL_TRANSLATABLE("vigil", "...") (platform/Catalogue.h) where it is kept for later (a
// command's help and summary), so that the catalogue tools find it; placeholders are %1, %2...
// filled by withArgs after translation.
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/Catalogue.h"

namespace cli {

// Where a text goes: the screen speaks the run's language; a log file keeps the text as written,
// so that one log reads the same whichever language each run spoke.
enum class TextFor { Screen, Log };
std::string worded(TextFor where, std::string_view source);

// Fills a translated text's places (%1, %2...) in the translation's own order.
using platform::withArgs;

// withArgs on standard output.
void printText(const std::string& text, std::initializer_list<std::string_view> args = {});

}  // namespace cli
