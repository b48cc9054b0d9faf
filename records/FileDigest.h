#pragma once
// The SHA-256 of an update file, as the records keep it beside its name and size.
#include <optional>
#include <string>
#include <string_view>

namespace records {

// Lower-case hex digest of the bytes.
std::string sha256Hex(std::string_view bytes);

// Of a file's whole content; nullopt when it cannot be read.
std::optional<std::string> sha256OfFile(const std::string& path);

}  // namespace records
