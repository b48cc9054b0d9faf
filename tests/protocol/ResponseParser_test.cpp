// The key search, the extractors and the parse of receptions, on answers as the terminal sends
// them.
#include "protocol/ResponseParser.h"

#include <gtest/gtest.h>

#include "support/MapControls.h"

namespace {

using protocol::ItemScanner;
using protocol::kKeyAbsent;
using test::MapControls;

const auto* bytes(std::string_view s) {
    return reinterpret_cast<const std::uint8_t*>(s.data());
}
ItemScanner over(std::string_view s, protocol::KeyMatch match = protocol::KeyMatch::Anywhere) {
    return ItemScanner(bytes(s), static_cast<std::uint16_t>(s.size()), match);
}
void parse(MapControls& c, std::string_view answer) {
    protocol::parseReception(bytes(answer), static_cast<std::uint16_t>(answer.size()), c);
}
const protocol::Parameter& param(std::string_view control) {
    return *protocol::findByControl(control);
}

TEST(FindKey, FirstOccurrenceFoldingTheDataOnlyOrAtAnItemStart) {
    const auto start = protocol::KeyMatch::ItemStart;
    const struct {
        std::string_view data, key;
        protocol::KeyMatch match;
        int at;
    } cases[] = {
        {"TL1=5:", "TL1=", {}, 0},
        {"xxTL1=5:TL1=6:", "TL1=", {}, 2},
        {"apn=x:", "APN=", {}, 0},
        {"TTL1=", "TL1=", {}, 1},  // restarts after a partial match
        {"TL1", "TL1=", {}, kKeyAbsent},
        {"", "TL1=", {}, kKeyAbsent},
        // Folding clears bit 0x20 only where bit 0x40 is set: "1" and "=" stay as they are.
        {"TL\x11\x1D", "TL1=", {}, kKeyAbsent},
        {"TL1=apn=x:Apn=real:", "APN=", {}, 4},
        {"TL1=apn=x:Apn=real:", "APN=", start, 10},
        {"TL1=1:\r\n  APN=a:\tAUS=b:", "AUS=", start, 17},
        {"  TL1=1:", "TL1=", start, 2},
        {"xTL1=1:", "TL1=", start, kKeyAbsent},
    };
    for (const auto& c : cases) EXPECT_EQ(over(c.data, c.match).FindKey(c.key), c.at) << c.data;
    // The count bounds the search even when the bytes go on.
    EXPECT_EQ(ItemScanner(bytes("xxxxTL1="), 7).FindKey("TL1="), kKeyAbsent);
}

TEST(Extractors, ReturnOneZeroOrMinusOneAndTouchTheControlOnlyOnOne) {
    MapControls c;
    c.setText("ETl1", "keep");
    EXPECT_EQ(over("TL2=1:").ExtractText("TL1=", 4, c, param("ETl1")), 0);
    for (std::string_view bad : {"TL1=", "TL1=123"})
        EXPECT_EQ(over(bad).ExtractText("TL1=", 4, c, param("ETl1")), -1) << bad;
    EXPECT_EQ(c.text("ETl1"), "keep");
    EXPECT_EQ(over("TL1=:").ExtractText("TL1=", 4, c, param("ETl1")), 1);
    EXPECT_EQ(c.text("ETl1"), "");

    c.setChecked("ChSim1ForP1", true);
    for (std::string_view bad : {"SMS1EN=2:", "SMS1EN=:", "SMS1EN=11:", "SMS1EN=1", "SMS1EN="})
        EXPECT_EQ(over(bad).ExtractFlag("SMS1EN=", 7, c, param("ChSim1ForP1")), -1) << bad;
    EXPECT_TRUE(c.checked("ChSim1ForP1"));
    EXPECT_EQ(over("SMS1EN=0:").ExtractFlag("SMS1EN=", 7, c, param("ChSim1ForP1")), 1);
    EXPECT_FALSE(c.checked("ChSim1ForP1"));

    c.setItemIndex("CBGet1", 1);
    for (std::string_view bad : {"GET1=/:", "GET1=1", "GET1=", "GET1=-1:", "GET1=1 :"})
        EXPECT_EQ(over(bad).ExtractNumber("GET1=", 5, c, param("CBGet1")), -1) << bad;
    EXPECT_EQ(c.itemIndex("CBGet1"), 1);
    EXPECT_EQ(over("GET1=2:").ExtractNumber("GET1=", 5, c, param("CBGet1")), 1);
    EXPECT_EQ(c.itemIndex("CBGet1"), -1);  // past the last item a combo box loses its selection
}

TEST(ParseReception, RadioGroupTakesItsLastItemForLargeNumbersAndZeroForEmpty) {
    MapControls c;
    for (auto [answer, index] : {std::pair{"COORD=7:", 4},
                                 {"COORD=:", 0},
                                 {"COORD=3:", 3},
                                 {"COORD=99999999999999999999:", 4}}) {
        parse(c, answer);
        EXPECT_EQ(c.itemIndex("RadioGroup1"), index) << answer;
    }
}

TEST(Extractors, HexDigitTakesTheLastByteAndClamps) {
    MapControls c;
    for (auto [data, position] : {std::pair{"REG=A:", 10},
                                  {"REG=F:", 15},
                                  {"REG=:", 0},
                                  {"REG=1C:", 12},   // the last byte counts
                                  {"REG=f:", 15},    // 'f' - 55 = 47, clamped
                                  {"REG=!:", 0},     // below "0": negative, clamped
                                  {"REG=\xFF:", 0},  // 255 - 55 = 200 is -56 as a signed byte
                                  {"REG=5:", 5}}) {
        EXPECT_EQ(over(data).ExtractHexDigit("REG=", 4, c, param("TrackBar1")), 1) << data;
        EXPECT_EQ(c.position("TrackBar1"), position) << data;
    }
    for (std::string_view bad : {"REG=3", "REG="})
        EXPECT_EQ(over(bad).ExtractHexDigit("REG=", 4, c, param("TrackBar1")), -1) << bad;
    EXPECT_EQ(c.position("TrackBar1"), 5);
}

TEST(ParseReception, MicrophoneRuleLooksAtOneByteWithinTheReception) {
    MapControls c;
    for (auto [answer, position] : {std::pair{"REG=A:", 10},
                                    {"REG=a:", 15},    // 'a' gives 42
                                    {"REG=\x01:", 0},  // negative as a signed byte
                                    {"REG=3", 3}}) {   // the byte after the digit is not examined
        parse(c, answer);
        EXPECT_EQ(c.position("TrackBar1"), position) << answer;
    }
    // "REG=" as the last four bytes: the byte after them is left over, not received.
    protocol::parseReception(bytes("xxREG=9"), 6, c);
    EXPECT_EQ(c.position("TrackBar1"), 3);
}

TEST(ParseReception, AFullAnswerFillsEveryControl) {
    MapControls c;
    parse(c,
          "TL1=+7900:TL2=2:TL3=3:TL4=4:TL5=5:TL6=6:TL7=7:TL8=8:TL9=9:"
          "SMS1EN=1:SMS2EN=0:SMS3EN=1:SMS4EN=0:SMS5EN=0:SMS6EN=0:SMS7EN=0:SMS8EN=1:"
          "VOICE1EN=0:VOICE2EN=1:VOICE3EN=0:VOICE4EN=0:VOICE5EN=0:VOICE6EN=0:VOICE7EN=0:"
          "VOICE8EN=1:IP1=1.1.1.1:PORT1=1:IP2=2.2.2.2:PORT2=2:IP3=3.3.3.3:PORT3=3:"
          "IP4=4.4.4.4:PORT4=4:CONT1=11:CONT2=12:CONT3=13:CONT4=14:GET1=0:GET2=1:GET3=1:"
          "GET4=0:IP1EN=1:IP2EN=0:IP3EN=0:IP4EN=1:APN=internet:AUS=u:APAS=p:BLST=*100#:"
          "BLTM=60:BLVL=12.5:LIM=10:IDCOD=0012 V2.1 OK:REG=C:NMBPRESS=1:COORD=3:ADCCOD=512:"
          "GPRMCT=120000:GPRDAT=010120:GPRSPD=0.5:GPRCOG=90:GPRLAT=5545.1234N:"
          "GPRLON=03737.1234E:");
    for (auto [edit, text] : {std::pair{"ETl1", "+7900"},
                              {"ETl9", "9"},
                              {"EditIp3", "3.3.3.3"},
                              {"EditPort4", "4"},
                              {"EConnectPeriod4", "14"},
                              {"EApn1", "internet"},
                              {"EBlSt1", "*100#"},
                              {"EBlVl1", "12.5"},
                              {"ELim1", "10"},
                              {"EIdCod", "0012 V2.1 OK"},
                              {"EAdcCod", "512"},
                              {"EGpsTime", "120000"},
                              {"EGpsLongitude", "03737.1234E"}})
        EXPECT_EQ(c.text(edit), text) << edit;
    for (auto [box, on] : {std::pair{"ChSim1ForP3", true},
                           {"ChSim1ForP8", true},
                           {"ChSim1ForP2", false},
                           {"ChSim1ForVoice2", true},
                           {"ChSim1ForVoice8", true},
                           {"ChSim1ForIp1", true},
                           {"ChSim1ForIp4", true}})
        EXPECT_EQ(c.checked(box), on) << box;
    EXPECT_EQ(c.itemIndex("CBGet2"), 1);
    EXPECT_EQ(c.itemIndex("CBGet4"), 0);
    EXPECT_EQ(c.position("TrackBar1"), 12);
    EXPECT_EQ(c.itemIndex("CBNmbPress"), 1);  // the value is the index: 1 selects item "2"
    EXPECT_EQ(c.itemIndex("RadioGroup1"), 3);
    EXPECT_TRUE(c.writeControlsEnabled);
    // Every text parameter is read from an answer (all values above are non-empty).
    for (const protocol::Parameter& p : protocol::kParameters)
        EXPECT_TRUE(p.kind != protocol::ControlKind::Edit || c.text(p.control) != "") << p.control;
}

TEST(ParseReception, CutItemsAreLostAnyCaseAndOrderFirstOccurrenceWins) {
    MapControls c;
    c.setText("ETl2", "old");
    parse(c, "TL1=111:TL2=22");
    parse(c, "2:TL3=333:");
    EXPECT_EQ(c.text("ETl1"), "111");
    EXPECT_EQ(c.text("ETl2"), "old");
    EXPECT_EQ(c.text("ETl3"), "333");
    parse(c, "apn=first:tl1=5:APN=second:Sms1En=1:");
    EXPECT_EQ(c.text("EApn1"), "first");
    EXPECT_EQ(c.text("ETl1"), "5");
    EXPECT_TRUE(c.checked("ChSim1ForP1"));
}

TEST(ParseReception, OnlyTextValuesEnableTheWriteControls) {
    MapControls c;
    parse(c, "IP1EN=1:GET1=1:REG=5:NMBPRESS=0:COORD=1:TL1=12");  // TL1 not terminated
    EXPECT_FALSE(c.writeControlsEnabled);
    EXPECT_TRUE(c.checked("ChSim1ForIp1"));
    parse(c, "LIM=:");
    EXPECT_TRUE(c.writeControlsEnabled);
}

}  // namespace
