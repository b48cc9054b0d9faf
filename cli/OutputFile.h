#pragma once
// Where a command's result goes: a file replaced whole (never left half-written), or standard
// output when no file is named.
#include <optional>
#include <string>
#include <string_view>

namespace cli {

// kExitOk, or kExitFailure with the reason shown.
int writeOutput(const std::optional<std::string>& path, std::string_view bytes);

}  // namespace cli
