#pragma once
// A file a command reads, under the rule of every file read (platform/InputFile.h).
#include <cstddef>
#include <optional>
#include <string>

namespace cli {

// The whole file, or nullopt with `error` as "PATH: why" (a FIFO, a device, a folder, a file
// beyond `maxBytes`, or the system's reason).
std::optional<std::string> readInputText(const std::string& path, std::size_t maxBytes,
                                         std::string& error);

}  // namespace cli
