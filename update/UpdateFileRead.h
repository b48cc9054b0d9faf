#pragma once
// Reading an update file from disk into the image, for the window's File -> Open and for
// `vigil upload`, under the rule of every file read (platform/InputFile.h).
#include <cstddef>
#include <optional>
#include <string>

#include "update/UpdateFile.h"

namespace update {

enum class UpdateFileStatus {
    Loaded,      // the image holds the file's numbers (still to be checked with checkRecords)
    CannotOpen,  // `message`: the system's reason; the image is untouched
    Refused,     // not a regular file, or text far beyond any image: `message`, image untouched
    ReadFailed,  // `message` (a folder too); the image is emptied
    TooLarge,    // more numbers than the image holds: tooLargeText(); the image is emptied
};

struct UpdateFileRead {
    UpdateFileStatus status;
    std::string message;  // UTF-8
    // Loaded: the offset of the character that ended reading when hexadecimal text still
    // follows it (something appended or pasted into the file), so the image ends there and the
    // rest is dropped. The windows read such a file as they always have; `vigil upload` refuses it.
    std::optional<std::size_t> cutAt;
};

UpdateFileRead readUpdateFile(const std::string& path, FirmwareImage& image);

}  // namespace update
