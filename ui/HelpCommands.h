#pragma once
// The application's help commands and what the main window does with them. F1 reaches the main
// window as a help event (command, data, call-help flag); only context requests open a topic.
#include <cstdint>
#include <functional>
#include <string>

namespace platform {
class HelpService;
}

namespace ui {

// Application help commands (WinHelp numbering, which the routing keeps).
inline constexpr std::uint16_t HELP_CONTEXT = 1;
inline constexpr std::uint16_t HELP_CONTENTS = 3;
inline constexpr std::uint16_t HELP_CONTEXTPOPUP = 8;
inline constexpr std::uint16_t HELP_SETPOPUP_POS = 13;
inline constexpr std::uint16_t HELP_KEY = 257;
// Commands of the HTML help viewer.
inline constexpr int HH_HELP_CONTEXT = 15;
inline constexpr int HH_CLOSE_ALL = 18;

// The application's help event: returns whether it was handled; clearing callHelp stops the
// default help.
using HelpEventHandler =
    std::function<bool(std::uint16_t command, std::int32_t data, bool& callHelp)>;

// The body of the main window's help event: context requests open the topic of the help file and
// clear callHelp; every other command is left alone. Always returns true.
bool openHelpContext(platform::HelpService& help, const std::string& helpFilePath,
                     std::uint16_t command, std::int32_t data, bool& callHelp);

// Help -> Contents: "Vigil.chm" in the current folder comes first (the file dialogs move that
// folder); without one there, the help file beside the program; when that is missing too, the
// missing-file message names it instead of nothing happening.
void showContents(platform::HelpService& help, const std::string& helpFilePath);

}  // namespace ui
