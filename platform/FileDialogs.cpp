#include "platform/FileDialogs.h"

#include <unistd.h>

namespace platform {

void enterFolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return;
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    // A folder that vanished meanwhile leaves the current directory as it was.
    if (::chdir(folder.c_str()) != 0) return;
}

}  // namespace platform
