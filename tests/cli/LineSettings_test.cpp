// The line settings come from the registry store the windows write; --baud is checked against the
// component's rates.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cli/LineSettings.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class StoredSettings : public ::testing::Test {
  protected:
    StoredSettings()
        : path_(std::filesystem::temp_directory_path() /
                ("vigil-registry-" + std::to_string(::getpid()) + ".reg")) {
        ::setenv("VIGIL_REGISTRY", path_.c_str(), 1);
    }
    ~StoredSettings() override {
        ::unsetenv("VIGIL_REGISTRY");
        std::filesystem::remove(path_);
    }
    void store(const std::string& values) const {
        std::ofstream(path_) << "Windows Registry Editor Version 5.00\n\n[Quorveth\\ComPort]\n"
                             << values;
    }

    std::filesystem::path path_;
};

TEST_F(StoredSettings, TheWindowsSettingsAreTakenAndBadValuesKeepTheDefault) {
    store("\"ComBaud\"=dword:0000000c\n\"ComNum\"=dword:00000003\n\"StopBits\"=dword:00000002\n"
          "\"Control\"=dword:00000001\n\"DataBit\"=dword:00000002\n\"Parity\"=dword:00000002\n");
    TCommPort port;
    EXPECT_TRUE(cli::applyStoredLineSettings(port).empty());
    EXPECT_EQ(port.GetBaud(), 115200);
    EXPECT_EQ(port.StopBits(), sb2_0);
    EXPECT_EQ(port.Control(), ccSoft);
    EXPECT_EQ(port.DataBits(), 7);
    EXPECT_EQ(port.Parity(), paEven);
    EXPECT_EQ(port.ComNumber(), 1);  // the command names its port itself

    store("\"ComBaud\"=dword:00000020\n\"StopBits\"=\"one\"\n\"Control\"=dword:00000002\n");
    TCommPort other;
    const auto warnings = cli::applyStoredLineSettings(other);
    EXPECT_THAT(warnings, ElementsAre(HasSubstr("\"ComBaud\" = 32 is out of range"),
                                      HasSubstr("'StopBits'"), HasSubstr("'DataBit'"),
                                      HasSubstr("'Parity'")));
    EXPECT_EQ(other.GetBaud(), 9600);
    EXPECT_EQ(other.Control(), ccHard);
}

TEST_F(StoredSettings, NoStoreLeavesTheDefaultsAndBaudTakesOnlyKnownRates) {
    TCommPort port;
    EXPECT_TRUE(cli::applyStoredLineSettings(port).empty());
    EXPECT_EQ(port.GetBaud(), 9600);
    for (const int rate : {110, 9600, 115200, 256000}) EXPECT_TRUE(cli::isKnownLineRate(rate));
    for (const int rate : {0, 100, 12345, 230400}) EXPECT_FALSE(cli::isKnownLineRate(rate));
}

}  // namespace
