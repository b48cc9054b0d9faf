#pragma once
// The open and save dialogs of the main window: Qt's in the program, scripted ones in tests.
// Filters use the "Описание(*.ext)|*.ext|..." form of the menu commands. As with the system's own
// dialogs, choosing a file makes its folder the process's current directory, so files resolved
// without a folder afterwards (the backup, the server export, the help contents) land beside it.
#include <optional>
#include <string>

namespace platform {

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // The chosen path (UTF-8), or nullopt when the operator cancels.
    virtual std::optional<std::string> open(const std::string& filter) = 0;
    virtual std::optional<std::string> save(const std::string& filter) = 0;
};

// Makes the folder of `path` the current directory (nothing when it has no folder part).
void enterFolderOf(const std::string& path);

}  // namespace platform
