#include "ui/HelpCommands.h"

#include "platform/HelpService.h"

namespace ui {

bool openHelpContext(platform::HelpService& help, const std::string& helpFilePath,
                     std::uint16_t command, std::int32_t data, bool& callHelp) {
    if (command == HELP_CONTEXT || command == HELP_CONTEXTPOPUP) {
        help.showTopic(helpFilePath, data);
        callHelp = false;
    }
    return true;
}

}  // namespace ui
