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

// Sends the request; `refusal` non-empty expects a refusal whose message holds it.
std::string send(MapControls& c, std::uint16_t requestMask, std::string_view refusal = {}) {
    TransmitBuffer buffer;
    std::uint16_t m = requestMask;
    const auto before = c.state();
    protocol::ComposeResult r = protocol::buildRequest(c, m, buffer);
    EXPECT_EQ(m, 0);  // spent, refused or not
    EXPECT_EQ(r.ok, refusal.empty()) << r.message;
    if (!refusal.empty()) {
        // A refused request sends nothing and changes no control.
        EXPECT_NE(r.message.find(refusal), std::string::npos) << r.message;
        EXPECT_EQ(buffer.length(), 0);
        EXPECT_EQ(c.state(), before);
    }
    return std::string(buffer.view());
}

TEST(RequestBytes, CommandsAreFixedAndChangeNoControl) {
    MapControls c;
    c.setText("ETl1", "1");
    c.setItemIndex("CBGet1", 1);
    const auto before = c.state();
    EXPECT_EQ(send(c, mask::Erase), "$Pass=Vostel:Eeprom=Erase:End:");
    EXPECT_EQ(send(c, mask::MonitorOn), "$Pass=Vostel:Monitor=On:End:");
    EXPECT_EQ(send(c, mask::MonitorOff), "$Pass=Vostel:Monitor=Off:End:");
    EXPECT_EQ(c.state(), before);
    EXPECT_EQ(send(c, mask::Read), "$Pass=Vostel:End:");
}

TEST(RequestBytes, SettingsGroupRendersHexPressCountAndIndexDigits) {
    MapControls c;
    c.setText("ETl1", "other group");
    c.setPosition("TrackBar1", 12);
    c.setItemIndex("CBNmbPress", 1);
    c.setItemIndex("RadioGroup1", 4);
    EXPECT_EQ(send(c, mask::Settings), request("REG=C:NmbPress=2:Coord=4:"));
    EXPECT_EQ(c.itemIndex("CBNmbPress"), -1);
    EXPECT_EQ(c.itemIndex("RadioGroup1"), -1);
    EXPECT_EQ(c.position("TrackBar1"), 12);  // the track bar is never emptied
    EXPECT_EQ(c.text("ETl1"), "other group");

    c.setPosition("TrackBar1", 10);
    c.setItemIndex("CBNmbPress", 0);
    c.setItemIndex("RadioGroup1", 0);
    EXPECT_EQ(send(c, mask::Settings), request("REG=A:NmbPress=1:Coord=0:"));
    // Nothing selected any more: "0" for the press count, "/" for the sleep mode.
    EXPECT_EQ(send(c, mask::Settings), request("REG=A:NmbPress=0:Coord=/:"));
}

TEST(RequestBytes, PhonesGroupSendsTextsFlagsAndCyrillicInCp1251) {
    MapControls c;
    c.setText("ETl1", "+79001234567");
    c.setUtf8("ETl2", "Иван");
    c.setText("ETl9", "89990001122");
    c.setChecked("ChSim1ForP2", true);
    c.setChecked("ChSim1ForVoice8", true);
    EXPECT_EQ(send(c, mask::Phones),
              request("TL1=+79001234567:TL2=\xC8\xE2\xE0\xED:TL3=:TL4=:TL5=:TL6=:TL7=:TL8=:"
                      "TL9=89990001122:Sms1En=0:Sms2En=1:Sms3En=0:Sms4En=0:Sms5En=0:Sms6En=0:"
                      "Sms7En=0:Sms8En=0:Voice1En=0:Voice2En=0:Voice3En=0:Voice4En=0:"
                      "Voice5En=0:Voice6En=0:Voice7En=0:Voice8En=1:"));
    // A second press before any answer sends the emptied controls.
    EXPECT_EQ(send(c, mask::Phones), request(kEmptyPhones));
}

TEST(RequestBytes, InternetAndAccessGroups) {
    MapControls c;
    c.setText("EditIp1", "192.168.0.1");
    c.setText("EditPort1", "5000");
    c.setText("EditIp4", "10.0.0.4");
    c.setText("EConnectPeriod2", "10");
    c.setItemIndex("CBGet1", 1);
    c.setItemIndex("CBGet2", 0);
    c.setChecked("ChSim1ForIp1", true);
    c.setText("EAus1", "gdata");
    c.setText("EApas1", "secret");
    c.setText("EBlSt1", "*100#");
    c.setText("EBlTm1", "60");
    EXPECT_EQ(send(c, mask::Internet),
              request("Ip1=192.168.0.1:Port1=5000:Ip2=:Port2=:Ip3=:Port3=:Ip4=10.0.0.4:Port4=:"
                      "CONT1=:CONT2=10:CONT3=:CONT4=:GET1=1:GET2=0:GET3=/:GET4=/:"
                      "Ip1En=1:Ip2En=0:Ip3En=0:Ip4En=0:"));
    EXPECT_EQ(send(c, mask::Internet), request(kEmptyInternet));
    // An empty APN goes out as key and colon.
    EXPECT_EQ(send(c, mask::Access),
              request("Apn1=:Aus1=gdata:Apas1=secret:BlSt1=*100#:BlTm1=60:"));
    EXPECT_EQ(send(c, mask::Access), request(kEmptyAccess));
}

TEST(RequestBytes, WriteAllSendsTheFourGroupsInOrderAndNoReadOnlyValue) {
    MapControls c;
    for (const char* edit : {"EBlVl1", "ELim1", "EIdCod", "EAdcCod", "EGpsTime", "EGpsDate",
                             "EGpsSpeed", "EGpsCog", "EGpsLatitude", "EGpsLongitude"})
        c.setText(edit, "READONLY");
    EXPECT_EQ(send(c, mask::WriteAll),
              request(std::string(kEmptySettings) + std::string(kEmptyPhones) +
                      std::string(kEmptyInternet) + std::string(kEmptyAccess)));
}

TEST(RequestEmptying, ReadEmptiesEveryParameterControlButTheTrackBarInReadOrder) {
    MapControls c;
    for (const protocol::Parameter& p : protocol::kParameters) {
        if (p.kind == protocol::ControlKind::Edit) c.setText(p.control, "x");
        if (p.kind == protocol::ControlKind::CheckBox) c.setChecked(p.control, true);
        if (p.itemCount > 0 && p.kind != protocol::ControlKind::TrackBar)
            c.setItemIndex(p.control, 1);
    }
    c.setPosition("TrackBar1", 7);
    MapControls empty;
    empty.setPosition("TrackBar1", 7);
    c.changed.clear();
    send(c, mask::Read);
    EXPECT_EQ(c.state(), empty.state());
    // The change checks of the address and port fields run in this order.
    EXPECT_EQ(c.changed, (std::vector<std::string>{"ETl1",
                                                   "ETl2",
                                                   "ETl3",
                                                   "ETl4",
                                                   "ETl5",
                                                   "ETl6",
                                                   "ETl7",
                                                   "ETl8",
                                                   "ETl9",
                                                   "EConnectPeriod1",
                                                   "EConnectPeriod2",
                                                   "EConnectPeriod3",
                                                   "EConnectPeriod4",
                                                   "EApn1",
                                                   "EIdCod",
                                                   "EAdcCod",
                                                   "EditIp1",
                                                   "EditIp2",
                                                   "EditPort1",
                                                   "EditPort2",
                                                   "EBlSt1",
                                                   "EBlVl1",
                                                   "ELim1",
                                                   "EBlTm1",
                                                   "EditIp3",
                                                   "EditIp4",
                                                   "EditPort3",
                                                   "EditPort4",
                                                   "EAus1",
                                                   "EApas1",
                                                   "EGpsTime",
                                                   "EGpsDate",
                                                   "EGpsSpeed",
                                                   "EGpsCog",
                                                   "EGpsLatitude",
                                                   "EGpsLongitude"}));
}

TEST(RequestRefusal, BadTextsNameTheFieldAndOtherGroupsStillGoOut) {
    MapControls c;
    c.setText("ETl1", "111");
    c.setText("ETl3", "123:Apn1=evil");
    send(c, mask::Phones, "\"Телефон 3: Номер\" (TL3) на вкладке \"Телефоны\"");
    c.setText("EBlSt1", "*100#:");
    send(c, mask::WriteAll, "(TL3)");  // the first offending field in sending order
    c.setText("EBlSt1", "");
    c.setUnencodable("EApas1");
    send(c, mask::Access, "\"Пароль\" (APAS) на вкладке \"Доступ\"");
    send(c, mask::Internet);
}

TEST(RequestRefusal, OverlongRequestIsRefusedAtExactlyOneByteTooMany) {
    MapControls c;
    // 13 prefix + "Apn1=" + value + ":" + 27 for the other four items + 4 "End:" = 50 + value.
    c.setText("EApn1", std::string(4096 - 50, 'a'));
    EXPECT_EQ(send(c, mask::Access).size(), 4096u);
    c.setText("EApn1", std::string(4096 - 49, 'a'));
    send(c, mask::Access, "4096");
}

}  // namespace
