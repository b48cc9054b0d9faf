// "SettingsAbt.xml" byte for byte, its escaping, and that an XML parser accepts it.
#include "files/ServerExport.h"

#include <gtest/gtest.h>

#include "protocol/Cp1251.h"
#include "protocol/ResponseParser.h"
#include "support/MapControls.h"

namespace {

using protocol::TransmitBuffer;
using test::MapControls;

// The layout in UTF-8, "%" in place of each value; "@tel*9" stands for <tel1>%</tel1> .. tel9.
constexpr std::string_view kLayout[] = {
    R"(<?xml version="1.0" encoding="windows-1251"?>)",
    "<OrvanaGPRSServer>",
    "<Settings>",
    R"(<!--Данный файл сгенерирован конфигуратором тревожной кнопки. Не рекомендуется редактировать его вручную. Заполните поля конфигуратора и сохраните их в файле конфигурации с расширением abt (меню File\Save).)",
    "Одновременно будет создан данный файл с именем SettingsAbt.xml-->",
    "<!--Телефоны:-->",
    "@tel*9",
    "<!--Разрешения IP (1 - Разрешено, 0 - Запрещено).",
    "Если запрещено, то IP адрес, его порт и период связи (см. ниже), не имеют значения-->",
    "@Ip*En4",
    "<!--IP адреса-->",
    "@ip*4",
    "<!--Порты-->",
    "@Port*4",
    "<!--Периоды связи (мин)-->",
    "@Cont*4",
    "<!--APN-->",
    "@Apn",
    "<!--USER-->",
    "@Aus",
    "<!--Password-->",
    "@Apas",
    "<!--Баланс (строка, время мин.)-->",
    "@BlSt",
    "@BlTm",
    "<!--Разрешения Sms (1 - Разрешено, 0 - Запрещено).",
    "Если запрещено, то телефон с данным индексом не будет получать SMS-->",
    "@Sms*En8",
    "<!--Разрешения прослушивания (1 - Разрешено, 0 - Запрещено).-->",
    "@Voice*En8",
    "<!--Протокол (0 - UDP, 1 - TCP-->",
    "@GET*4",
    "<!--сколько раз нажимать кнопку тревоги(1 или 2 раза)-->",
    "@NmbPress",
    "<!--Передавать координаты в АРМ по GPRS: 0-при сеансе связи,",
    " 1-при движении, 2-при тревоге, 3-при движении и тревоге-->",
    "@Coord",
    "<!--Микрофон ('0'-'9', 'A'-'F')-->",
    "@Mic",
    "</Settings>",
    "</OrvanaGPRSServer>",
};

// The expected file in cp1251: `values` (already cp1251) fill the "%" places in line order.
std::string expectedFile(const std::vector<std::string>& values) {
    std::string file;
    std::size_t next = 0;
    auto valueLine = [&](const std::string& tag) {
        file += "<" + tag + ">" + values.at(next++) + "</" + tag + ">\r\n";
    };
    for (std::string_view entry : kLayout) {
        if (!entry.starts_with('@')) {
            file += protocol::toCp1251(entry).value() + "\r\n";
        } else if (const auto star = entry.find('*'); star == std::string_view::npos) {
            valueLine(std::string(entry.substr(1)));
        } else {
            for (char i = '1'; i <= entry.back(); ++i)
                valueLine(std::string(entry.substr(1, star - 1)) + i +
                          std::string(entry.substr(star + 1, entry.size() - star - 2)));
        }
    }
    EXPECT_EQ(next, values.size());
    return file;
}

// Start-up values: empty texts, "0" flags, "/" lists, "0" press count, "2" microphone.
std::vector<std::string> startUpValues() {
    std::vector<std::string> v(9, "");                 // tel
    v.insert(v.end(), 4, "0");                         // Ip En
    v.insert(v.end(), 4 + 4 + 4 + 1 + 1 + 1 + 2, "");  // ip, Port, Cont, Apn, Aus, Apas, Bl
    v.insert(v.end(), 16, "0");                        // Sms, Voice
    v.insert(v.end(), 4, "/");                         // GET
    v.insert(v.end(), {"0", "/", "2"});                // NmbPress, Coord, Mic
    return v;
}

// Composes the export; `refusal` non-empty expects a refusal whose message holds it.
std::string compose(const MapControls& c, std::string_view refusal = {}) {
    TransmitBuffer buffer;
    protocol::ComposeResult r = files::composeServerExport(c, buffer);
    EXPECT_EQ(r.ok, refusal.empty()) << r.message;
    EXPECT_NE(r.message.find(refusal), std::string::npos) << r.message;
    return std::string(buffer.view());
}

TEST(ServerExport, StartUpAndFilledStatesGiveTheFixedLayout) {
    MapControls c;
    EXPECT_EQ(compose(c), expectedFile(startUpValues()));
    EXPECT_EQ(compose(c).size(), 2060u);

    c.setUtf8("ETl1", "Охрана");
    for (auto [edit, text] : {std::pair{"ETl9", "+7999"},
                              {"EditIp1", "1.2.3.4"},
                              {"EditPort4", "65535"},
                              {"EConnectPeriod2", "15"},
                              {"EApn1", "apn"},
                              {"EBlTm1", "60"}})
        c.setText(edit, text);
    for (const char* box : {"ChSim1ForIp3", "ChSim1ForP8", "ChSim1ForVoice1"})
        c.setChecked(box, true);
    c.setItemIndex("CBGet1", 1);
    c.setItemIndex("CBNmbPress", 1);  // item "2"
    c.setItemIndex("RadioGroup1", 3);
    c.setPosition("TrackBar1", 12);
    std::vector<std::string> v = startUpValues();
    for (auto [at, value] : {std::pair{0, "\xCE\xF5\xF0\xE0\xED\xE0"},
                             {8, "+7999"},
                             {11, "1"},
                             {13, "1.2.3.4"},
                             {20, "65535"},
                             {22, "15"},
                             {25, "apn"},
                             {29, "60"},
                             {37, "1"},
                             {38, "1"},
                             {46, "1"},
                             {50, "2"},  // the press count as in a request
                             {51, "3"},
                             {52, "C"}})
        v[at] = value;
    EXPECT_EQ(compose(c), expectedFile(v));
}

// The window's tests check that an XML parser reads the export back.
TEST(ServerExport, MarkupIsEscapedAndContentThatCannotBeExportedIsRefused) {
    MapControls c;
    c.setText("EApas1", "p&ss<word>");
    EXPECT_NE(compose(c).find("<Apas>p&amp;ss&lt;word&gt;</Apas>\r\n"), std::string::npos);
    c.setUnencodable("EAus1");
    compose(c, "\"Пользователь\" (AUS)");
    // 2,060 fixed bytes leave 2,036 for the texts.
    MapControls full;
    full.setText("EApn1", std::string(2036, 'a'));
    EXPECT_EQ(compose(full).size(), 4096u);
    full.setText("EApn1", std::string(2035, 'a') + "&");  // the entity takes five bytes
    EXPECT_EQ(compose(full, "4096"), "");
}

// Found by fuzzing: a control character from the line went into the export as it was; XML 1.0
// forbids it (even as a reference), so the server refused the whole file. The save is refused
// instead, naming the field; tab and line ends are still exported.
TEST(ServerExport, ControlCharactersFromTheLineAreRefusedNamingTheField) {
    const std::string answer =
        "TL1=<tel2>&amp;</\x04"
        "ab\r\nOK\r\n:End:";
    MapControls controls;
    protocol::parseReception(reinterpret_cast<const std::uint8_t*>(answer.data()),
                             static_cast<std::uint16_t>(answer.size()), controls);
    ASSERT_EQ(controls.text("ETl1").value(),
              "<tel2>&amp;</\x04"
              "ab\r\nOK\r\n");
    EXPECT_EQ(compose(controls, "(TL1)"), "");
    EXPECT_EQ(compose(controls, "XML"), "");
    for (int byte = 0; byte < 0x20; ++byte) {
        MapControls one;
        one.setText("EApas1", std::string("a") + static_cast<char>(byte) + "b");
        TransmitBuffer buffer;
        const bool allowed = byte == '\t' || byte == '\r' || byte == '\n';
        EXPECT_EQ(files::composeServerExport(one, buffer).ok, allowed) << "byte " << byte;
    }
}

}  // namespace
