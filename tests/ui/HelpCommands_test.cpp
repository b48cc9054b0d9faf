#include "ui/HelpCommands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/RecordingHelpService.h"
#include "platform/RecordingMessageService.h"
#include "ui/HelpFile.h"

namespace {

using platform::HelpRequest;

TEST(HelpEvent, ContextCommandsOpenTheTopicAndStopDefaultHelp) {
    for (std::uint16_t command : {ui::HELP_CONTEXT, ui::HELP_CONTEXTPOPUP}) {
        platform::RecordingHelpService help;
        bool callHelp = true;
        EXPECT_TRUE(ui::openHelpContext(help, "/opt/vigil/Vigil.chm", command, 2002, callHelp));
        EXPECT_FALSE(callHelp);
        EXPECT_EQ(help.requests,
                  (std::vector<HelpRequest>{{HelpRequest::Kind::Topic, "/opt/vigil/Vigil.chm", 2002}}));
    }
}

TEST(HelpEvent, OtherCommandsAreLeftAlone) {
    for (std::uint16_t command : {ui::HELP_CONTENTS, ui::HELP_SETPOPUP_POS, ui::HELP_KEY, std::uint16_t{0}}) {
        platform::RecordingHelpService help;
        bool callHelp = true;
        EXPECT_TRUE(ui::openHelpContext(help, "/opt/vigil/Vigil.chm", command, 2002, callHelp));
        EXPECT_TRUE(callHelp) << command;
        EXPECT_TRUE(help.requests.empty()) << command;
    }
}

TEST(HelpFile, FullPathBesideTheExecutable) {
    EXPECT_EQ(ui::helpFilePathBeside("/opt/vigil/bin/../Config_Vigil"), "/opt/vigil/Vigil.chm");
    const auto relative = ui::helpFilePathBeside("./app/Config_Vigil");
    EXPECT_EQ(relative, (std::filesystem::current_path() / "app" / "Vigil.chm").string());
}

TEST(HelpFile, MissingFileIsReportedWithThePathOnTheSecondLine) {
    platform::RecordingMessageService messages;
    const auto dir = std::filesystem::temp_directory_path() / "vigil_help_file_test";
    std::filesystem::create_directories(dir);
    const auto path = ui::helpFilePathBeside((dir / "Config_Vigil").string());
    std::filesystem::remove(path);

    EXPECT_FALSE(ui::checkHelpFile(path));
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Help file not found\n" + path});
    EXPECT_EQ(messages.shown()[0].caption, "");

    messages.clear();
    std::ofstream(path) << "x";
    EXPECT_TRUE(ui::checkHelpFile(path));
    EXPECT_TRUE(messages.texts().empty());
    std::filesystem::remove_all(dir);
}

}  // namespace
