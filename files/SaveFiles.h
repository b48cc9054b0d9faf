#pragma once
// File -> Save and File -> Open on paths; the dialogs are the main window's.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/ControlAccess.h"
#include "protocol/TransmitBuffer.h"

namespace files {

// The name the configuration is saved under: unchanged when the fourth character from the end of
// its file name (without folder) is ".", else with ".abt" appended.
std::string configurationFileName(const std::string& chosen);

// The backup of `replaced`: its base name (no folder, no extension) + ".BAK", in the folder of
// `replaced` itself, so it lands beside the file it keeps.
std::string backupFileName(const std::string& replaced);

// Saves the .abt file (backing up the file it replaces) and then "SettingsAbt.xml" in the
// current directory. Content that cannot be saved (":" in a text, cp1251, over 4096 bytes)
// refuses the whole save before any file is touched. A failure to write one file is reported
// and leaves that file and its backup as they were. Returns the messages to show (UTF-8),
// empty when everything was written. The buffer's length is 0 afterwards.
std::vector<std::string> saveConfiguration(const std::string& chosen,
                                           const protocol::ControlAccess& controls,
                                           protocol::TransmitBuffer& buffer);

enum class FileKind { Update, Configuration, Other };

// By the extension of the name without folder, from its last "." on, case-sensitively:
// ".enc" update, ".abt" configuration.
FileKind fileKindOf(std::string_view path);

enum class LoadStatus {
    Loaded,      // the buffer holds the file, its length the byte count
    CannotOpen,  // the command stops silently (`message`: the system's reason)
    TooLong,     // refused with `message`; the buffer is untouched
    NotRegular,  // a device, FIFO, socket or folder: refused with `message`, nothing read
    ReadFailed,  // reading failed: the "File Error" box
};
struct LoadResult {
    LoadStatus status;
    std::string message;
};

// Reads a whole configuration file into the transmit buffer (platform/InputFile.h).
LoadResult loadIntoBuffer(const std::string& path, protocol::TransmitBuffer& buffer);

}  // namespace files
