#include "ui/HelpCommands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/RecordingHelpService.h"
#include "ui/HelpFile.h"

namespace {

TEST(HelpEvent, OnlyContextCommandsOpenTheTopicAndStopDefaultHelp) {
    for (std::uint16_t command : {ui::HELP_CONTEXT, ui::HELP_CONTEXTPOPUP, ui::HELP_CONTENTS,
                                  ui::HELP_SETPOPUP_POS, ui::HELP_KEY, std::uint16_t{0}}) {
        const bool context = command == ui::HELP_CONTEXT || command == ui::HELP_CONTEXTPOPUP;
        platform::RecordingHelpService help;
        bool callHelp = true;
        EXPECT_TRUE(ui::openHelpContext(help, "/opt/vigil/Vigil.chm", command, 2002, callHelp));
        EXPECT_EQ(callHelp, !context) << command;
        using R = platform::HelpRequest;
        const std::vector<R> expected = {{R::Kind::Topic, "/opt/vigil/Vigil.chm", 2002}};
        EXPECT_EQ(help.requests, context ? expected : std::vector<R>{}) << command;
    }
}

// The window's tests cover the missing-file report and F1 over the pages.
TEST(HelpFile, FullPathBesideTheExecutable) {
    EXPECT_EQ(ui::helpFilePathBeside("/opt/vigil/bin/../Config_Vigil"), "/opt/vigil/Vigil.chm");
    EXPECT_EQ(ui::helpFilePathBeside("./app/Config_Vigil"),
              (std::filesystem::current_path() / "app" / "Vigil.chm").string());
}

}  // namespace
