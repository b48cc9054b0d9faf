#pragma once
// The program's texts in the chosen language. The core has no Qt, so the front end installs the
// lookup at start (the windows and vigil both load the same compiled catalogues); until then, and
// for a text the catalogue lacks, the source text is shown as it stands.
//
// Every text a user sees is written as translated("Context", "source text") so that the catalogue
// tools find it (they are told that `translated` takes a context and a source, as Qt's translate
// does). A text kept in a constant is marked VIGIL_TRANSLATABLE(context, source) for the same tools
// and translated where it is shown.
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#define VIGIL_TRANSLATABLE(context, source) source

namespace platform {

// Returns the text for (context, source) in the chosen language, or an empty string for "none".
using CatalogueLookup = std::function<std::string(const char* context, const char* source)>;

void installCatalogue(CatalogueLookup lookup);
std::string translated(const char* context, const char* source);

// Fills a translated text's places: %1 with the first argument, %2 with the second and so on, as a
// translation may put them in another order than the source text.
std::string withArgs(std::string text, std::initializer_list<std::string_view> args);

}  // namespace platform
