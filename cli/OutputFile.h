#pragma once
// Where a command's result goes: a file replaced whole (never left half-written), or standard
// output when no file is named.
#include <optional>
#include <string>
#include <string_view>

namespace cli {

// kExitOk, or kExitFailure with the reason shown. A link is followed; a device, FIFO, socket or
// folder at `path` is refused (platform/FileTarget.h).
int writeOutput(const std::optional<std::string>& path, std::string_view bytes);

}  // namespace cli

namespace cli {

// "" when a file may be written at `path` by the same rule (for files appended to, like the batch
// log), else the message saying why not.
std::string outputFileProblem(const std::string& path);

}  // namespace cli
