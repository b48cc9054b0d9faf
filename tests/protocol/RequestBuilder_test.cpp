// Requests byte for byte, as the terminal must receive them, and what they do to the controls.
#include "protocol/RequestBuilder.h"

#include <gtest/gtest.h>

#include "support/MapControls.h"

namespace {

using protocol::TransmitBuffer;
using test::MapControls;
namespace mask = protocol::mask;

// What the start-up state sends for each group.
constexpr std::string_view kEmptySettings = "REG=2:NmbPress=0:Coord=/:";
constexpr std::string_view kEmptyPhones =
    "TL1=:TL2=:TL3=:TL4=:TL5=:TL6=:TL7=:TL8=:TL9=:"
    "Sms1En=0:Sms2En=0:Sms3En=0:Sms4En=0:Sms5En=0:Sms6En=0:Sms7En=0:Sms8En=0:"
    "Voice1En=0:Voice2En=0:Voice3En=0:Voice4En=0:Voice5En=0:Voice6En=0:Voice7En=0:Voice8En=0:";
constexpr std::string_view kEmptyInternet =
    "Ip1=:Port1=:Ip2=:Port2=:Ip3=:Port3=:Ip4=:Port4=:"
    "CONT1=:CONT2=:CONT3=:CONT4=:GET1=/:GET2=/:GET3=/:GET4=/:"
    "Ip1En=0:Ip2En=0:Ip3En=0:Ip4En=0:";
constexpr std::string_view kEmptyAccess = "Apn1=:Aus1=:Apas1=:BlSt1=:BlTm1=:";

std::string request(std::string_view body) {
    return "$Pass=Vostel:" + std::string(body) + "End:";
}

struct Sent {
    protocol::ComposeResult result;
    std::string bytes;
    std::uint16_t maskAfter;
};

Sent send(MapControls& controls, std::uint16_t requestMask) {
    TransmitBuffer buffer;
    std::uint16_t m = requestMask;
    protocol::ComposeResult r = protocol::buildRequest(controls, m, buffer);
    return {r, std::string(buffer.view()), m};
}

TEST(RequestBytes, CommandsAndReadHaveTheirFixedSizes) {
    MapControls c;
    EXPECT_EQ(send(c, mask::Read).bytes, "$Pass=Vostel:End:");
    EXPECT_EQ(send(c, mask::Read).bytes.size(), 17u);
    EXPECT_EQ(send(c, mask::Erase).bytes, "$Pass=Vostel:Eeprom=Erase:End:");
    EXPECT_EQ(send(c, mask::Erase).bytes.size(), 30u);
    EXPECT_EQ(send(c, mask::MonitorOn).bytes, "$Pass=Vostel:Monitor=On:End:");
    EXPECT_EQ(send(c, mask::MonitorOn).bytes.size(), 28u);
    EXPECT_EQ(send(c, mask::MonitorOff).bytes, "$Pass=Vostel:Monitor=Off:End:");
    EXPECT_EQ(send(c, mask::MonitorOff).bytes.size(), 29u);
}

TEST(RequestBytes, SettingsGroupRendersHexPressCountAndIndexDigits) {
    MapControls c;
    c.setPosition("TrackBar1", 12);
    c.setItemIndex("CBNmbPress", 1);
    c.setItemIndex("RadioGroup1", 4);
    Sent s = send(c, mask::Settings);
    EXPECT_EQ(s.bytes, "$Pass=Vostel:REG=C:NmbPress=2:Coord=4:End:");
    EXPECT_EQ(s.bytes.size(), 17u + 25u);
    EXPECT_EQ(c.itemIndex("CBNmbPress"), -1);
    EXPECT_EQ(c.itemIndex("RadioGroup1"), -1);
    EXPECT_EQ(c.position("TrackBar1"), 12);  // the track bar is never emptied

    c.setPosition("TrackBar1", 10);
    c.setItemIndex("CBNmbPress", 0);
    c.setItemIndex("RadioGroup1", 0);
    EXPECT_EQ(send(c, mask::Settings).bytes, "$Pass=Vostel:REG=A:NmbPress=1:Coord=0:End:");
    // Nothing selected any more: "0" for the press count, "/" for the sleep mode.
    EXPECT_EQ(send(c, mask::Settings).bytes, "$Pass=Vostel:REG=A:NmbPress=0:Coord=/:End:");
}

TEST(RequestBytes, PhonesGroupSendsTextsFlagsAndCyrillicInCp1251) {
    MapControls c;
    c.setText("ETl1", "+79001234567");
    c.setUtf8("ETl2", "Иван");
    c.setText("ETl9", "89990001122");
    c.setChecked("ChSim1ForP2", true);
    c.setChecked("ChSim1ForVoice8", true);
    Sent s = send(c, mask::Phones);
    EXPECT_EQ(s.bytes, request("TL1=+79001234567:TL2=\xC8\xE2\xE0\xED:TL3=:TL4=:TL5=:TL6=:TL7=:"
                               "TL8=:TL9=89990001122:"
                               "Sms1En=0:Sms2En=1:Sms3En=0:Sms4En=0:Sms5En=0:Sms6En=0:Sms7En=0:"
                               "Sms8En=0:Voice1En=0:Voice2En=0:Voice3En=0:Voice4En=0:Voice5En=0:"
                               "Voice6En=0:Voice7En=0:Voice8En=1:"));
    EXPECT_EQ(c.text("ETl1"), "");
    EXPECT_FALSE(c.checked("ChSim1ForP2"));
    EXPECT_FALSE(c.checked("ChSim1ForVoice8"));
    EXPECT_EQ(send(c, mask::Phones).bytes, request(kEmptyPhones));
}

TEST(RequestBytes, InternetGroupAlternatesAddressAndPortAndEmptiesWhatItSent) {
    MapControls c;
    c.setText("EditIp1", "192.168.0.1");
    c.setText("EditPort1", "5000");
    c.setText("EditIp4", "10.0.0.4");
    c.setText("EConnectPeriod2", "10");
    c.setItemIndex("CBGet1", 1);
    c.setItemIndex("CBGet2", 0);
    c.setChecked("ChSim1ForIp1", true);
    c.setText("EApn1", "internet");  // another group: neither sent nor emptied
    Sent s = send(c, mask::Internet);
    EXPECT_EQ(s.bytes, request("Ip1=192.168.0.1:Port1=5000:Ip2=:Port2=:Ip3=:Port3=:"
                               "Ip4=10.0.0.4:Port4=:CONT1=:CONT2=10:CONT3=:CONT4=:"
                               "GET1=1:GET2=0:GET3=/:GET4=/:Ip1En=1:Ip2En=0:Ip3En=0:Ip4En=0:"));
    EXPECT_EQ(c.text("EApn1"), "internet");
    // A second press before any answer sends the emptied controls.
    EXPECT_EQ(send(c, mask::Internet).bytes, request(kEmptyInternet));
}

TEST(RequestBytes, AccessGroupSendsAnEmptyApnAsKeyAndColon) {
    MapControls c;
    c.setText("EAus1", "gdata");
    c.setText("EApas1", "secret");
    c.setText("EBlSt1", "*100#");
    c.setText("EBlTm1", "60");
    EXPECT_EQ(send(c, mask::Access).bytes,
              request("Apn1=:Aus1=gdata:Apas1=secret:BlSt1=*100#:BlTm1=60:"));
    EXPECT_EQ(c.text("EBlSt1"), "");
}

TEST(RequestBytes, WriteAllSendsTheFourGroupsInOrderAndNoReadOnlyValue) {
    MapControls c;
    for (const char* edit : {"EBlVl1", "ELim1", "EIdCod", "EAdcCod", "EGpsTime", "EGpsDate",
                             "EGpsSpeed", "EGpsCog", "EGpsLatitude", "EGpsLongitude"})
        c.setText(edit, "READONLY");
    Sent s = send(c, mask::WriteAll);
    EXPECT_EQ(s.bytes, request(std::string(kEmptySettings) + std::string(kEmptyPhones) +
                               std::string(kEmptyInternet) + std::string(kEmptyAccess)));
    EXPECT_EQ(s.maskAfter, 0);
}

TEST(RequestEmptying, ReadEmptiesEveryParameterControlButTheTrackBar) {
    MapControls c;
    for (const protocol::Parameter& p : protocol::kParameters) {
        if (p.kind == protocol::ControlKind::Edit) c.setText(p.control, "x");
        if (p.kind == protocol::ControlKind::CheckBox) c.setChecked(p.control, true);
        if (p.itemCount > 0 && p.kind != protocol::ControlKind::TrackBar)
            c.setItemIndex(p.control, 1);
    }
    c.setPosition("TrackBar1", 7);
    c.changed.clear();
    Sent s = send(c, mask::Read);
    ASSERT_TRUE(s.result.ok);
    for (const protocol::Parameter& p : protocol::kParameters) {
        SCOPED_TRACE(std::string(p.control));
        switch (p.kind) {
        case protocol::ControlKind::Edit: EXPECT_EQ(c.text(p.control), ""); break;
        case protocol::ControlKind::CheckBox: EXPECT_FALSE(c.checked(p.control)); break;
        case protocol::ControlKind::TrackBar: EXPECT_EQ(c.position(p.control), 7); break;
        default: EXPECT_EQ(c.itemIndex(p.control), -1);
        }
    }
    // The edits are emptied in the read order (the change checks of the address and port
    // fields run in it).
    std::vector<std::string> expected = {
        "ETl1", "ETl2", "ETl3", "ETl4", "ETl5", "ETl6", "ETl7", "ETl8", "ETl9",
        "EConnectPeriod1", "EConnectPeriod2", "EConnectPeriod3", "EConnectPeriod4",
        "EApn1", "EIdCod", "EAdcCod", "EditIp1", "EditIp2", "EditPort1", "EditPort2",
        "EBlSt1", "EBlVl1", "ELim1", "EBlTm1", "EditIp3", "EditIp4", "EditPort3", "EditPort4",
        "EAus1", "EApas1", "EGpsTime", "EGpsDate", "EGpsSpeed", "EGpsCog", "EGpsLatitude",
        "EGpsLongitude"};
    EXPECT_EQ(c.changed, expected);
}

TEST(RequestEmptying, AWriteDoesNotClearOtherGroups) {
    MapControls c;
    c.setText("ETl1", "1");
    c.setItemIndex("CBGet1", 1);
    send(c, mask::Settings);
    send(c, mask::Erase);
    send(c, mask::MonitorOn);
    EXPECT_EQ(c.text("ETl1"), "1");
    EXPECT_EQ(c.itemIndex("CBGet1"), 1);
}

// A refused request sends nothing and changes no control; the mask is spent all the same.
void expectRefused(MapControls& c, std::uint16_t requestMask, std::string_view inMessage) {
    auto before = c.state();
    TransmitBuffer buffer;
    std::uint16_t m = requestMask;
    protocol::ComposeResult r = protocol::buildRequest(c, m, buffer);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find(inMessage), std::string::npos) << r.message;
    EXPECT_EQ(buffer.length(), 0);
    EXPECT_EQ(c.state(), before);
    EXPECT_EQ(m, 0);
}

TEST(RequestRefusal, ColonInATextNamesTheField) {
    MapControls c;
    c.setText("ETl1", "111");
    c.setText("ETl3", "123:Apn1=evil");
    expectRefused(c, mask::Phones, "\"TL3\" на вкладке \"Телефоны\"");
    c.setText("EBlSt1", "*100#:");
    expectRefused(c, mask::WriteAll, "\"TL3\"");  // the first offending field in sending order
}

TEST(RequestRefusal, CharacterOutsideCp1251NamesTheField) {
    MapControls c;
    c.setText("EditIp1", "1.2.3.4");
    c.setUnencodable("EApas1");
    expectRefused(c, mask::Access, "\"APAS\" на вкладке \"Доступ\"");
    // Other groups still go out.
    EXPECT_TRUE(send(c, mask::Internet).result.ok);
}

TEST(RequestRefusal, OverlongRequestIsRefusedAtExactlyOneByteTooMany) {
    MapControls c;
    // 13 prefix + "Apn1=" + value + ":" + 27 for the other four items + 4 "End:" = 50 + value.
    c.setText("EApn1", std::string(4096 - 50, 'a'));
    Sent s = send(c, mask::Access);
    EXPECT_TRUE(s.result.ok);
    EXPECT_EQ(s.bytes.size(), 4096u);

    c.setText("EApn1", std::string(4096 - 49, 'a'));
    expectRefused(c, mask::Access, "4096");
}

TEST(RequestComposition, ComposingAloneChangesNothing) {
    MapControls c;
    c.setText("ETl1", "5");
    TransmitBuffer buffer;
    auto before = c.state();
    protocol::ComposedRequest r = protocol::composeRequest(c, mask::Phones, buffer);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(c.state(), before);
    EXPECT_EQ(buffer.view().substr(0, 19), "$Pass=Vostel:TL1=5:");
    protocol::applyEmptying(c, r);
    EXPECT_EQ(c.text("ETl1"), "");
}

}  // namespace
