#pragma once
// The SHA-256 of an update file, as the records keep it beside its name and size.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "records/Event.h"

namespace records {

// Lower-case hex digest of the bytes.
std::string sha256Hex(std::string_view bytes);

// Of a file's whole content; nullopt when it cannot be read.
std::optional<std::string> sha256OfFile(const std::string& path);

// An update file as an upload event keeps it: its name, digest and size on disk, and the records
// of the image read from it (each a 2-byte big-endian length, then that many bytes). The outcome
// is left for the upload to say.
UploadFacts updateFileFacts(const std::string& path, std::span<const std::uint8_t> image);

}  // namespace records
