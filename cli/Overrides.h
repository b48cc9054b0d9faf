#pragma once
// Values given on the command line as --set KEY=VALUE, on top of a configuration file; the key
// and the value's form are those of session/ValueOverride.h.
#include <optional>
#include <string>
#include <string_view>

#include "session/ValueOverride.h"

namespace cli {

using session::applyOverride;
using session::Override;

// "KEY=VALUE" as --set takes it; nullopt with `error` set for anything else, an unknown or
// read-only key, or a value the key's form does not allow.
std::optional<Override> parseOverride(std::string_view keyEqualsValue, std::string& error);

}  // namespace cli
