// The domain every written value is checked against, and a configuration file read as values to
// write: out-of-range values are refused (never bent into range) and missing ones listed.
#include "session/ValueDomain.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "session/TemplateValues.h"

namespace {

using protocol::byControl;
using protocol::ValueForm;
using ::testing::ElementsAre;

const protocol::Parameter& mic = *byControl("TrackBar1");
const protocol::Parameter& coord = *byControl("RadioGroup1");
const protocol::Parameter& press = *byControl("CBNmbPress");
const protocol::Parameter& get1 = *byControl("CBGet1");
const protocol::Parameter& sms1 = *byControl("ChSim1ForP1");
const protocol::Parameter& tl1 = *byControl("ETl1");

TEST(ValueDomain, EachFormTakesItsDomainAndNothingElse) {
    const struct {
        const protocol::Parameter& p;
        ValueForm form;
        std::string_view value;
        std::optional<std::string> wire;
    } cases[] = {
        {mic, ValueForm::HexDigit, "F", "F"},
        {mic, ValueForm::HexDigit, "b", "B"},
        {mic, ValueForm::HexDigit, "Z", std::nullopt},   // the file reader made it F
        {mic, ValueForm::HexDigit, "10", std::nullopt},  // ... 0
        {mic, ValueForm::HexDigit, "-1", std::nullopt},  // ... 1
        {mic, ValueForm::HexDigit, "", std::nullopt},
        {coord, ValueForm::IndexDigit, "4", "4"},
        {coord, ValueForm::IndexDigit, "9", std::nullopt},  // ... the last item, 4
        {coord, ValueForm::IndexDigit, "04", std::nullopt},
        {get1, ValueForm::IndexDigit, "/", std::nullopt},  // no selection is nothing to write
        {press, ValueForm::IndexDigit, "1", "2"},          // the file's index, sent as the count
        {press, ValueForm::PressCountDigit, "2", "2"},
        {press, ValueForm::PressCountDigit, "0", std::nullopt},
        {sms1, ValueForm::Flag, "1", "1"},
        {sms1, ValueForm::Flag, "5", std::nullopt},  // the box stayed as it was
        {tl1, ValueForm::Text, "", ""},
        {tl1, ValueForm::Text, "+7\xC0", "+7\xC0"},
        {tl1, ValueForm::Text, "a:b", std::nullopt},
        {tl1, ValueForm::Text, "a\x98", std::nullopt},             // no character in Windows-1251
        {tl1, ValueForm::Text, "+7900\nTL2=+7911", std::nullopt},  // items run together
    };
    for (const auto& c : cases)
        EXPECT_EQ(session::linkValue(c.p, c.form, c.value), c.wire) << c.p.name << "=" << c.value;
    EXPECT_EQ(session::invalidValueMessage(mic, ValueForm::HexDigit, "Z"),
              "invalid value \"Z\" for MicSensitivity (REG): expected one hex digit 0 to F");
    EXPECT_EQ(session::invalidValueMessage(*byControl("EApn1"), ValueForm::Text, "a\nb\x01"),
              "invalid value \"a\\x0Ab\\x01\" for Apn: expected a text without \":\" or control "
              "characters (line breaks, tabs), in Windows-1251");
    EXPECT_EQ(session::acceptedValues(coord, ValueForm::IndexDigit), "0 to 4");
    EXPECT_EQ(session::acceptedValues(press, ValueForm::PressCountDigit), "1 to 2");
}

session::TemplateValues read(std::string_view file) {
    return session::readTemplateValues(reinterpret_cast<const std::uint8_t*>(file.data()),
                                       static_cast<std::uint16_t>(file.size()));
}

TEST(TemplateValues, ValuesAreFoundAsTheReaderFindsThemAndCheckedEach) {
    const auto file =
        read("x TL2=1:\r\n tl1=a\xC0:Sms1En=5:REG=Z:Coord=9:NmbPress=1:Apn=TL3=b:GET1=1");
    EXPECT_THAT(
        file.invalid,
        ElementsAre("invalid value \"5\" for SmsEnable1 (Sms1En): expected 0 or 1",
                    "GET1: the item does not end with \":\"",
                    "invalid value \"9\" for GpsSleepMode (Coord): expected 0 to 4",
                    "invalid value \"Z\" for MicSensitivity (REG): expected one hex digit 0 to F"));
    std::vector<std::pair<std::string_view, std::string>> values;
    for (const auto& v : file.values) values.emplace_back(v.parameter->name, v.value);
    // "TL2=" does not start an item and "TL3=" lies inside the APN's value.
    EXPECT_THAT(values,
                ElementsAre(std::pair{std::string_view("Phone1"), std::string("a\xC0")},
                            std::pair{std::string_view("AlarmPressCount"), std::string("2")},
                            std::pair{std::string_view("Apn"), std::string("TL3=b")}));
}

}  // namespace
