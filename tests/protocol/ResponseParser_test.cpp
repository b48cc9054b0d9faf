// The key search, the extractors and the parse of receptions, on answers as the terminal sends
// them.
#include "protocol/ResponseParser.h"

#include <gtest/gtest.h>

#include "support/MapControls.h"

namespace {

using protocol::ItemScanner;
using protocol::kKeyAbsent;
using test::MapControls;

const auto* bytes(std::string_view s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }
std::uint16_t size(std::string_view s) { return static_cast<std::uint16_t>(s.size()); }

ItemScanner over(std::string_view s) { return ItemScanner(bytes(s), size(s)); }

void parse(MapControls& c, std::string_view answer) {
    protocol::parseReception(bytes(answer), size(answer), c);
}

const protocol::Parameter& param(std::string_view control) {
    return *protocol::findByControl(control);
}

TEST(FindKey, FindsTheFirstOccurrenceFoldingTheDataOnly) {
    EXPECT_EQ(over("TL1=5:").FindKey("TL1="), 0);
    EXPECT_EQ(over("xxTL1=5:TL1=6:").FindKey("TL1="), 2);
    EXPECT_EQ(over("apn=x:").FindKey("APN="), 0);
    EXPECT_EQ(over("TTL1=").FindKey("TL1="), 1);   // restarts after a partial match
    EXPECT_EQ(over("TL1").FindKey("TL1="), kKeyAbsent);
    EXPECT_EQ(over("").FindKey("TL1="), kKeyAbsent);
    // Folding clears bit 0x20 only where bit 0x40 is set: "1" and "=" stay as they are.
    EXPECT_EQ(over("TL\x11\x1D").FindKey("TL1="), kKeyAbsent);
    // The count bounds the search even when the bytes go on.
    std::string_view data = "xxxxTL1=";
    EXPECT_EQ(ItemScanner(bytes(data), 7).FindKey("TL1="), kKeyAbsent);
}

TEST(Extractors, ReturnOneZeroOrMinusOne) {
    MapControls c;
    const auto& edit = param("ETl1");
    EXPECT_EQ(over("TL1=123:").ExtractText("TL1=", 4, c, edit), 1);
    EXPECT_EQ(c.text("ETl1"), "123");
    EXPECT_EQ(over("TL1=:").ExtractText("TL1=", 4, c, edit), 1);
    EXPECT_EQ(c.text("ETl1"), "");
    c.setText("ETl1", "keep");
    EXPECT_EQ(over("TL2=1:").ExtractText("TL1=", 4, c, edit), 0);
    EXPECT_EQ(over("TL1=").ExtractText("TL1=", 4, c, edit), -1);
    EXPECT_EQ(over("TL1=123").ExtractText("TL1=", 4, c, edit), -1);
    EXPECT_EQ(c.text("ETl1"), "keep");

    const auto& box = param("ChSim1ForP1");
    EXPECT_EQ(over("SMS1EN=1:").ExtractFlag("SMS1EN=", 7, c, box), 1);
    EXPECT_TRUE(c.checked("ChSim1ForP1"));
    for (std::string_view bad : {"SMS1EN=2:", "SMS1EN=:", "SMS1EN=11:", "SMS1EN=1", "SMS1EN="})
        EXPECT_EQ(over(bad).ExtractFlag("SMS1EN=", 7, c, box), -1) << bad;
    EXPECT_TRUE(c.checked("ChSim1ForP1"));
    EXPECT_EQ(over("SMS1EN=0:").ExtractFlag("SMS1EN=", 7, c, box), 1);
    EXPECT_FALSE(c.checked("ChSim1ForP1"));

    const auto& combo = param("CBGet1");
    EXPECT_EQ(over("GET1=1:").ExtractNumber("GET1=", 5, c, combo), 1);
    EXPECT_EQ(c.itemIndex("CBGet1"), 1);
    for (std::string_view bad : {"GET1=/:", "GET1=1", "GET1=", "GET1=-1:", "GET1=1 :"})
        EXPECT_EQ(over(bad).ExtractNumber("GET1=", 5, c, combo), -1) << bad;
    EXPECT_EQ(c.itemIndex("CBGet1"), 1);
}

TEST(Extractors, NumbersPastTheLastItemDependOnTheControl) {
    MapControls c;
    EXPECT_EQ(over("GET1=2:").ExtractNumber("GET1=", 5, c, param("CBGet1")), 1);
    EXPECT_EQ(c.itemIndex("CBGet1"), -1);  // a combo box loses its selection
    EXPECT_EQ(over("COORD=7:").ExtractNumber("COORD=", 6, c, param("RadioGroup1")), 1);
    EXPECT_EQ(c.itemIndex("RadioGroup1"), 4);  // a radio group takes its last item
    EXPECT_EQ(over("COORD=:").ExtractNumber("COORD=", 6, c, param("RadioGroup1")), 1);
    EXPECT_EQ(c.itemIndex("RadioGroup1"), 0);  // empty means 0
    // A number too large for any integer is still just past the last item.
    EXPECT_EQ(over("COORD=99999999999999999999:").ExtractNumber("COORD=", 6, c,
                                                                 param("RadioGroup1")), 1);
    EXPECT_EQ(c.itemIndex("RadioGroup1"), 4);
}

TEST(Extractors, HexDigitTakesTheLastByteAndClamps) {
    MapControls c;
    const auto& bar = param("TrackBar1");
    auto position = [&](std::string_view data) {
        EXPECT_EQ(over(data).ExtractHexDigit("REG=", 4, c, bar), 1) << data;
        return c.position("TrackBar1");
    };
    EXPECT_EQ(position("REG=A:"), 10);
    EXPECT_EQ(position("REG=F:"), 15);
    EXPECT_EQ(position("REG=3:"), 3);
    EXPECT_EQ(position("REG=:"), 0);
    EXPECT_EQ(position("REG=1C:"), 12);  // the last byte counts
    EXPECT_EQ(position("REG=f:"), 15);   // 'f' - 55 = 47, clamped
    EXPECT_EQ(position("REG=!:"), 0);    // below "0": negative, clamped
    EXPECT_EQ(position("REG=\xFF:"), 0); // 255 - 55 = 200 is -56 as a signed byte
    c.setPosition("TrackBar1", 5);
    EXPECT_EQ(over("REG=5").ExtractHexDigit("REG=", 4, c, bar), -1);
    EXPECT_EQ(over("REG=").ExtractHexDigit("REG=", 4, c, bar), -1);
    EXPECT_EQ(c.position("TrackBar1"), 5);
}

TEST(ItemStartMatching, SkipsKeysInsideValues) {
    MapControls c;
    std::string_view file = "TL1=apn=x:Apn=real:";
    ItemScanner scanner(bytes(file), size(file), protocol::KeyMatch::ItemStart);
    EXPECT_EQ(scanner.FindKey("APN="), 10);
    EXPECT_EQ(over(file).FindKey("APN="), 4);  // the answers' plain search
    std::string_view spaced = "TL1=1:\r\n  APN=a:\tAUS=b:";
    ItemScanner spacedScanner(bytes(spaced), size(spaced), protocol::KeyMatch::ItemStart);
    EXPECT_EQ(spacedScanner.FindKey("APN="), 10);
    EXPECT_EQ(spacedScanner.FindKey("AUS="), 17);
    std::string_view leading = "  TL1=1:";
    EXPECT_EQ(ItemScanner(bytes(leading), size(leading), protocol::KeyMatch::ItemStart)
                  .FindKey("TL1="), 2);
    std::string_view none = "xTL1=1:";
    EXPECT_EQ(ItemScanner(bytes(none), size(none), protocol::KeyMatch::ItemStart).FindKey("TL1="),
              kKeyAbsent);
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
    EXPECT_EQ(c.text("ETl1"), "+7900");
    EXPECT_EQ(c.text("ETl9"), "9");
    EXPECT_TRUE(c.checked("ChSim1ForP3"));
    EXPECT_TRUE(c.checked("ChSim1ForP8"));
    EXPECT_FALSE(c.checked("ChSim1ForP2"));
    EXPECT_TRUE(c.checked("ChSim1ForVoice2"));
    EXPECT_TRUE(c.checked("ChSim1ForVoice8"));
    EXPECT_EQ(c.text("EditIp3"), "3.3.3.3");
    EXPECT_EQ(c.text("EditPort4"), "4");
    EXPECT_EQ(c.text("EConnectPeriod4"), "14");
    EXPECT_EQ(c.itemIndex("CBGet2"), 1);
    EXPECT_EQ(c.itemIndex("CBGet4"), 0);
    EXPECT_TRUE(c.checked("ChSim1ForIp1"));
    EXPECT_TRUE(c.checked("ChSim1ForIp4"));
    EXPECT_EQ(c.text("EApn1"), "internet");
    EXPECT_EQ(c.text("EBlSt1"), "*100#");
    EXPECT_EQ(c.text("EBlVl1"), "12.5");
    EXPECT_EQ(c.text("ELim1"), "10");
    EXPECT_EQ(c.text("EIdCod"), "0012 V2.1 OK");
    EXPECT_EQ(c.position("TrackBar1"), 12);
    EXPECT_EQ(c.itemIndex("CBNmbPress"), 1);  // the value is the index: 1 selects item "2"
    EXPECT_EQ(c.itemIndex("RadioGroup1"), 3);
    EXPECT_EQ(c.text("EAdcCod"), "512");
    EXPECT_EQ(c.text("EGpsTime"), "120000");
    EXPECT_EQ(c.text("EGpsLongitude"), "03737.1234E");
    EXPECT_TRUE(c.writeControlsEnabled);
}

TEST(ParseReception, AnItemCutAtAChunkEndIsLostTheRestApplied) {
    MapControls c;
    c.setText("ETl2", "old");
    parse(c, "TL1=111:TL2=22");
    EXPECT_EQ(c.text("ETl1"), "111");
    EXPECT_EQ(c.text("ETl2"), "old");
    parse(c, "2:TL3=333:");
    EXPECT_EQ(c.text("ETl2"), "old");
    EXPECT_EQ(c.text("ETl3"), "333");
}

TEST(ParseReception, KeysInAnyCaseAndOrderFirstOccurrenceWins) {
    MapControls c;
    parse(c, "apn=first:tl1=5:APN=second:Sms1En=1:");
    EXPECT_EQ(c.text("EApn1"), "first");
    EXPECT_EQ(c.text("ETl1"), "5");
    EXPECT_TRUE(c.checked("ChSim1ForP1"));
}

TEST(ParseReception, MicrophoneRuleLooksAtOneByteWithinTheReception) {
    MapControls c;
    parse(c, "REG=A:");
    EXPECT_EQ(c.position("TrackBar1"), 10);
    parse(c, "REG=a:");
    EXPECT_EQ(c.position("TrackBar1"), 15);  // 'a' gives 42, clamped
    parse(c, "REG=3");                       // the byte after the digit is not examined
    EXPECT_EQ(c.position("TrackBar1"), 3);
    parse(c, "REG=\x01:");                   // negative as a signed byte
    EXPECT_EQ(c.position("TrackBar1"), 0);
    c.setPosition("TrackBar1", 6);
    // "REG=" as the last four bytes: the byte after them is left over, not received.
    std::string_view stale = "xxREG=9";
    protocol::parseReception(bytes(stale), 6, c);
    EXPECT_EQ(c.position("TrackBar1"), 6);
}

TEST(ParseReception, MalformedValuesLeaveTheirControls) {
    MapControls c;
    c.setChecked("ChSim1ForP3", true);
    c.setText("ETl1", "keep");
    c.setItemIndex("RadioGroup1", 2);
    parse(c, "SMS3EN=2:TL1=123");
    EXPECT_TRUE(c.checked("ChSim1ForP3"));
    EXPECT_EQ(c.text("ETl1"), "keep");
    parse(c, "COORD=:");
    EXPECT_EQ(c.itemIndex("RadioGroup1"), 0);
    parse(c, "COORD=7:");
    EXPECT_EQ(c.itemIndex("RadioGroup1"), 4);
}

TEST(ParseReception, OnlyTextValuesEnableTheWriteControls) {
    MapControls c;
    parse(c, "IP1EN=1:GET1=1:REG=5:NMBPRESS=0:COORD=1:");
    EXPECT_FALSE(c.writeControlsEnabled);
    EXPECT_TRUE(c.checked("ChSim1ForIp1"));
    parse(c, "TL1=12");  // not terminated: no text extracted
    EXPECT_FALSE(c.writeControlsEnabled);
    parse(c, "LIM=:");
    EXPECT_TRUE(c.writeControlsEnabled);
}

TEST(UsbIndicator, AlternatesAndWraps) {
    std::uint8_t counter = 0;
    EXPECT_EQ(protocol::nextUsbIndicatorText(counter), "USB");
    EXPECT_EQ(protocol::nextUsbIndicatorText(counter), "       USB");
    counter = 255;
    EXPECT_EQ(protocol::nextUsbIndicatorText(counter), "       USB");  // wraps to 0: even
    EXPECT_EQ(counter, 0);
}

}  // namespace
