// The .abt image byte for byte, and reading images back into the controls.
#include "files/AbtFile.h"

#include <gtest/gtest.h>

#include "support/MapControls.h"

namespace {

using protocol::TransmitBuffer;
using test::MapControls;

// The state after start-up, as the file must hold it.
constexpr std::string_view kStartUpFile =
    "TL1=:TL2=:TL3=:TL4=:TL5=:TL6=:TL7=:TL8=:TL9=:"
    "Sms1En=0:Sms2En=0:Sms3En=0:Sms4En=0:Sms5En=0:Sms6En=0:Sms7En=0:Sms8En=0:"
    "Voice1En=0:Voice2En=0:Voice3En=0:Voice4En=0:Voice5En=0:Voice6En=0:Voice7En=0:Voice8En=0:"
    "Ip1=:Port1=:Ip2=:Port2=:Ip3=:Port3=:Ip4=:Port4=:CONT1=:CONT2=:CONT3=:CONT4=:"
    "GET1=/:GET2=/:GET3=/:GET4=/:NmbPress=/:Coord=/:Ip1En=0:Ip2En=0:Ip3En=0:Ip4En=0:"
    "Apn=:Aus=:Apas=:BlSt=:BlTm=:REG=2:";

// A filled-in terminal: Cyrillic in cp1251, the press count on item "2".
void fillKnownState(MapControls& c) {
    for (auto [edit, text] : {std::pair{"ETl1", "+79001112233"},
                              {"ETl9", "89990001122"},
                              {"EditIp1", "192.168.1.10"},
                              {"EditPort1", "7000"},
                              {"EditIp2", "10.0.0.2"},
                              {"EditPort2", "7001"},
                              {"EConnectPeriod1", "5"},
                              {"EApn1", "internet.mts.ru"},
                              {"EAus1", "mts"},
                              {"EApas1", "mts"},
                              {"EBlSt1", "*100#"},
                              {"EBlTm1", "1440"}})
        c.setText(edit, text);
    c.setUtf8("ETl2", "Дежурный");
    for (const char* box : {"ChSim1ForP1", "ChSim1ForVoice3", "ChSim1ForIp2"})
        c.setChecked(box, true);
    c.setItemIndex("CBGet1", 1);
    c.setItemIndex("CBGet2", 0);
    c.setItemIndex("CBNmbPress", 1);
    c.setItemIndex("RadioGroup1", 4);
    c.setPosition("TrackBar1", 11);
}

constexpr std::string_view kKnownFile =
    "TL1=+79001112233:TL2=\xC4\xE5\xE6\xF3\xF0\xED\xFB\xE9:TL3=:TL4=:TL5=:TL6=:TL7=:TL8=:"
    "TL9=89990001122:"
    "Sms1En=1:Sms2En=0:Sms3En=0:Sms4En=0:Sms5En=0:Sms6En=0:Sms7En=0:Sms8En=0:"
    "Voice1En=0:Voice2En=0:Voice3En=1:Voice4En=0:Voice5En=0:Voice6En=0:Voice7En=0:Voice8En=0:"
    "Ip1=192.168.1.10:Port1=7000:Ip2=10.0.0.2:Port2=7001:Ip3=:Port3=:Ip4=:Port4=:"
    "CONT1=5:CONT2=:CONT3=:CONT4=:GET1=1:GET2=0:GET3=/:GET4=/:NmbPress=1:Coord=4:"
    "Ip1En=0:Ip2En=1:Ip3En=0:Ip4En=0:"
    "Apn=internet.mts.ru:Aus=mts:Apas=mts:BlSt=*100#:BlTm=1440:REG=B:";

// Composes the file; `refusal` non-empty expects a refusal whose message holds it.
std::string compose(const MapControls& c, std::string_view refusal = {}) {
    TransmitBuffer buffer;
    protocol::ComposeResult r = files::composeAbt(c, buffer);
    EXPECT_EQ(r.ok, refusal.empty()) << r.message;
    EXPECT_NE(r.message.find(refusal), std::string::npos) << r.message;
    return std::string(buffer.view());
}

void read(MapControls& c, std::string_view image) {
    files::readAbt(reinterpret_cast<const std::uint8_t*>(image.data()),
                   static_cast<std::uint16_t>(image.size()), c);
}

TEST(AbtFile, GoldenFilesWrittenAndReadBack) {
    MapControls startUp;
    EXPECT_EQ(compose(startUp), kStartUpFile);
    MapControls saved;
    fillKnownState(saved);
    EXPECT_EQ(compose(saved), kKnownFile);

    MapControls loaded;
    read(loaded, kKnownFile);
    auto expected = saved.state();
    expected["<write controls>"] = "enabled";  // the first text value enables them
    EXPECT_EQ(loaded.state(), expected);
}

TEST(AbtRead, UnselectedListsStayAsTheyWere) {
    MapControls c;
    c.setItemIndex("CBGet3", 1);
    c.setItemIndex("CBNmbPress", 0);
    c.setItemIndex("RadioGroup1", 2);
    read(c, kStartUpFile);
    EXPECT_EQ(c.itemIndex("CBGet3"), 1);
    EXPECT_EQ(c.itemIndex("CBNmbPress"), 0);
    EXPECT_EQ(c.itemIndex("RadioGroup1"), 2);
}

TEST(AbtRead, AnyCaseAnyOrderAndMissingKeysChangeOnlyTheirControls) {
    MapControls c;
    c.setText("ETl5", "untouched");
    c.setChecked("ChSim1ForP5", true);
    c.setChecked("ChSim1ForP2", true);
    read(c, "apn=a:Ip1En=1:tl1=1:SMS1EN=1:Sms2En=2:coord=2:gEt2=1:Reg=7:");
    EXPECT_EQ(c.text("EApn1"), "a");
    EXPECT_TRUE(c.checked("ChSim1ForIp1"));
    EXPECT_EQ(c.text("ETl1"), "1");
    EXPECT_TRUE(c.checked("ChSim1ForP1"));
    EXPECT_TRUE(c.checked("ChSim1ForP2"));  // a malformed flag leaves its box
    EXPECT_EQ(c.itemIndex("RadioGroup1"), 2);
    EXPECT_EQ(c.itemIndex("CBGet2"), 1);
    EXPECT_EQ(c.position("TrackBar1"), 7);
    EXPECT_EQ(c.text("ETl5"), "untouched");
    EXPECT_TRUE(c.checked("ChSim1ForP5"));
}

TEST(AbtRead, ReadOnlyKeysButNotTheMotionSensorAndNoKeysInsideValues) {
    MapControls c;
    read(c, "BLVL=5:LIM=1:IDCOD=X:GPRMCT=1:GPRLON=2:ADCCOD=9:TL1=apn=evil:Apn=real:");
    EXPECT_EQ(c.text("EBlVl1"), "5");
    EXPECT_EQ(c.text("EIdCod"), "X");
    EXPECT_EQ(c.text("EGpsLongitude"), "2");
    EXPECT_EQ(c.text("EAdcCod"), "");
    EXPECT_EQ(c.text("ETl1"), "apn=evil");
    EXPECT_EQ(c.text("EApn1"), "real");
    // Hand-edited files may break lines and indent between items.
    read(c, "TL1=1:\r\n  Apn=spaced:\n\tAus=u:");
    EXPECT_EQ(c.text("EApn1"), "spaced");
    EXPECT_EQ(c.text("EAus1"), "u");
}

TEST(AbtRead, AddressAndPortChecksRunInFieldOrder) {
    MapControls c;
    std::vector<std::string> checked;
    c.onTextChanged = [&](std::string_view control) {
        if (control.starts_with("EditIp") || control.starts_with("EditPort"))
            checked.emplace_back(control);
    };
    read(c, "Port2=2:Ip3=3:Port1=1:Ip1=1:");
    EXPECT_EQ(checked, (std::vector<std::string>{"EditIp1", "EditIp3", "EditPort1", "EditPort2"}));
}

TEST(AbtWrite, ContentThatCannotBeSavedIsRefusedNamingTheField) {
    MapControls c;
    c.setText("EBlTm1", "60:Apn=evil");
    EXPECT_EQ(compose(c, "\"Баланс SIM-карты: Период(мин)\" (BLTM) на вкладке \"Доступ\""), "");
    c.setText("EBlTm1", "60");
    c.setUnencodable("ETl4");
    compose(c, "(TL4)");
    MapControls big;
    for (int i = 1; i <= 9; ++i) big.setText("ETl" + std::to_string(i), std::string(500, '7'));
    EXPECT_EQ(compose(big, "4096"), "");
}

}  // namespace
