#include "ui/HelpCommands.h"

#include <filesystem>
#include <system_error>

#include "platform/HelpService.h"
#include "ui/HelpFile.h"

namespace ui {

bool openHelpContext(platform::HelpService& help, const std::string& helpFilePath,
                     std::uint16_t command, std::int32_t data, bool& callHelp) {
    if (command == HELP_CONTEXT || command == HELP_CONTEXTPOPUP) {
        help.showTopic(helpFilePath, data);
        callHelp = false;
    }
    return true;
}

void showContents(platform::HelpService& help, const std::string& helpFilePath) {
    std::error_code error;
    if (std::filesystem::exists(kHelpFileName, error))
        help.showContents(kHelpFileName);
    else if (checkHelpFile(helpFilePath))
        help.showContents(helpFilePath);
}

}  // namespace ui
