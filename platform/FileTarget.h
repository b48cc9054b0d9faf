#pragma once
// The one rule for every file either program writes (File -> Save, its backup and the server
// export, `vigil read --out`, the batch log): a file is replaced only if it is a regular file.
// A symbolic link is followed, so the file it points to is written and the link stays; a link
// whose file does not exist yet creates it there. A device, a FIFO, a socket or a folder is
// refused: renaming a new file over it would replace a system device node by a plain file, and
// writing into it would hang on a FIFO or harm a device.
#include <string>

namespace platform {

struct FileTarget {
    std::string path;   // the file to replace or create (the end of a link chain)
    std::string error;  // UTF-8 message naming `requested`; empty when it may be written
};

// Resolves `requested` as above. A link loop, or a chain longer than the system follows, is an
// error too, as is a failing lookup other than "does not exist".
FileTarget writableTarget(const std::string& requested);

// "" for a regular file's mode, else what the file is, e.g. "это именованный канал (FIFO), а не
// обычный файл". Files that are read follow platform/InputFile.h.
std::string notRegularReason(unsigned mode);

}  // namespace platform
