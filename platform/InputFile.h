#pragma once
// The one rule for every file either program reads (File -> Open, the units file, the template,
// the update file, the batch log, the settings stores): only a regular file, or a link to one, is
// read, and never more than the bound its kind allows. A FIFO would hold the window or the command
// until something writes to it, a device such as /dev/zero feeds it without end, and a file far
// larger than any real one of its kind would only be read to run out of memory.
#include <cstddef>
#include <string>

namespace platform {

enum class InputStatus {
    Read,        // `bytes` holds the whole file
    CannotOpen,  // nothing by that name (`error` ENOENT), or no right to open it
    NotRegular,  // a device, FIFO or socket; nothing was read from it
    TooLarge,    // longer than the bound; `bytes` is empty
    Failed,      // reading failed (a folder too)
};

struct InputFile {
    InputStatus status = InputStatus::Failed;
    std::string bytes;
    std::string reason;  // UTF-8: why it was not read, e.g. "это устройство, а не обычный файл"
    int error = 0;  // errno for CannotOpen and Failed
};

// Reads `path` whole if it is a regular file of at most `maxBytes` bytes. The kind of the file is
// judged on the opened file itself, so a FIFO put in its place after a look is refused as well.
InputFile readInputFile(const std::string& path, std::size_t maxBytes);

// "Файл "<path>" не открыт: <reason>." for a file refused unread (NotRegular, TooLarge).
std::string refusalText(const std::string& path, const InputFile& file);

// Bounds of the kinds of files read (bytes).
constexpr std::size_t kMaxUnitsFileBytes = 16u << 20;    // far more than any plant's units
constexpr std::size_t kMaxBatchLogBytes = 64u << 20;     // a row per unit, for years of batches
constexpr std::size_t kMaxSettingsFileBytes = 1u << 20;  // the registry store and the port map
// Hexadecimal text of a 256 KiB image: two digits and a separator per byte, line breaks, and
// room for generous spacing; beyond that the text cannot be an update file.
constexpr std::size_t kMaxUpdateFileBytes = 2u << 20;

}  // namespace platform
