// The pieces of the program that decide what gets written and how: overrides in their two forms
// and the line settings taken from the registry store the windows write.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliFixture.h"
#include "cli/LineSettings.h"
#include "cli/Overrides.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

TEST(Overrides, EachKeyTakesTheValueFormItImplies) {
    const struct {
        const char* set;
        const char* parameter;
        const char* wire;  // as a write request carries it
    } cases[] = {
        {"ModulePhone=+7999", "ModulePhone", "+7999"},
        {"tl9=+7999", "ModulePhone", "+7999"},          // .abt key, any letter case
        {"Apn=", "Apn", ""},                            // an empty text is a value
        {"Apn=тест", "Apn", "\xF2\xE5\xF1\xF2"},        // cp1251 on the link
        {"AlarmPressCount=2", "AlarmPressCount", "2"},  // the press count itself...
        {"NmbPress=1", "AlarmPressCount", "2"},         // ...or the file's item index
        {"NmbPress=0", "AlarmPressCount", "1"},
        {"MicSensitivity=b", "MicSensitivity", "B"},
        {"REG=F", "MicSensitivity", "F"},
        {"Coord=4", "GpsSleepMode", "4"},
        {"ServerEnable2=1", "ServerEnable2", "1"},
        {"Ip2En=0", "ServerEnable2", "0"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto o = cli::parseOverride(c.set, error);
        ASSERT_TRUE(o) << c.set << ": " << error;
        EXPECT_EQ(o->parameter->name, c.parameter) << c.set;
        EXPECT_EQ(o->wire, c.wire) << c.set;
    }
}

TEST(Overrides, ValuesThatCannotBeSentAreRefused) {
    const struct {
        const char* set;
        const char* says;
    } cases[] = {
        {"ModulePhone", "KEY=VALUE"},
        {"=1", "KEY=VALUE"},
        {"BalanceValue=1", "cannot be written"},
        {"Phone9=1", "unknown parameter"},
        {"TL1=a:b", "a text without \":\""},
        {"Apn=\xE2\x82\xAC\xF0\x9F\x98\x80", "Windows-1251 lacks"},
        {"AlarmPressCount=0", "1 to 2"},
        {"AlarmPressCount=3", "1 to 2"},
        {"ServerProtocol1=2", "0 to 1"},
        {"GET1=5", "0 to 1"},  // the file reader would leave the list without selection
        {"MicSensitivity=10", "one hex digit"},
        {"SmsEnable1=", "0 or 1"},
        {"Sms1En=2", "0 or 1"},  // the file reader leaves the box alone
        {"Coord=9", "0 to 4"},   // the file reader takes the last item
        {"REG=Z", "one hex digit"},
        {"REG=10", "one hex digit"},
        {"REG=-1", "one hex digit"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(cli::parseOverride(c.set, error)) << c.set;
        EXPECT_THAT(error, HasSubstr(c.says)) << c.set;
    }
}

// The test's registry store (CliTest points VIGIL_REGISTRY at it).
class StoredSettings : public testsupport::CliTest {
  protected:
    void store(const std::string& values) const {
        writeFile("registry.reg",
                  "Windows Registry Editor Version 5.00\n\n[Quorveth\\ComPort]\n" + values);
    }
};

TEST_F(StoredSettings, TheWindowsSettingsAreTakenAndBadValuesKeepTheDefault) {
    store(
        "\"ComBaud\"=dword:0000000c\n\"ComNum\"=dword:00000003\n\"StopBits\"=dword:00000002\n"
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
    EXPECT_THAT(warnings,
                ElementsAre(HasSubstr("\"ComBaud\" = 32 is out of range"), HasSubstr("'StopBits'"),
                            HasSubstr("'DataBit'"), HasSubstr("'Parity'")));
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
