#include "ui/HelpFile.h"

#include <filesystem>
#include <system_error>

#include "platform/Catalogue.h"
#include "platform/MessageService.h"

namespace ui {

std::string helpFilePathBeside(const std::string& executablePath) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path beside = fs::path(executablePath).parent_path() / kHelpFileName;
    fs::path full = fs::absolute(beside, error);
    if (error) full = beside;
    // Like expanding a file name: "." and ".." go, links stay as they are.
    return full.lexically_normal().string();
}

bool checkHelpFile(const std::string& helpFilePath) {
    std::error_code error;
    if (std::filesystem::exists(helpFilePath, error)) return true;
    platform::messages().show(
        platform::translated("HelpFile", "Help file not found\n") + helpFilePath, "",
        platform::MessageIcon::None, platform::MessageButtons::Ok);
    return false;
}

}  // namespace ui
