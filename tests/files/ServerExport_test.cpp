// "SettingsAbt.xml" byte for byte, its escaping, and that an XML parser accepts it.
#include "files/ServerExport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include <stdlib.h>
#include <unistd.h>

#include "protocol/Cp1251.h"
#include "support/MapControls.h"

namespace {

using protocol::TransmitBuffer;
using test::MapControls;

// The layout with "%" in place of each value, one line per entry, UTF-8.
constexpr std::string_view kLayout[78] = {
    R"(<?xml version="1.0" encoding="windows-1251"?>)",
    "<OrvanaGPRSServer>",
    "<Settings>",
    R"(<!--Данный файл сгенерирован конфигуратором тревожной кнопки. Не рекомендуется редактировать его вручную. Заполните поля конфигуратора и сохраните их в файле конфигурации с расширением abt (меню File\Save).)",
    "Одновременно будет создан данный файл с именем SettingsAbt.xml-->",
    "<!--Телефоны:-->",
    "<tel1>%</tel1>", "<tel2>%</tel2>", "<tel3>%</tel3>", "<tel4>%</tel4>", "<tel5>%</tel5>",
    "<tel6>%</tel6>", "<tel7>%</tel7>", "<tel8>%</tel8>", "<tel9>%</tel9>",
    "<!--Разрешения IP (1 - Разрешено, 0 - Запрещено).",
    "Если запрещено, то IP адрес, его порт и период связи (см. ниже), не имеют значения-->",
    "<Ip1En>%</Ip1En>", "<Ip2En>%</Ip2En>", "<Ip3En>%</Ip3En>", "<Ip4En>%</Ip4En>",
    "<!--IP адреса-->",
    "<ip1>%</ip1>", "<ip2>%</ip2>", "<ip3>%</ip3>", "<ip4>%</ip4>",
    "<!--Порты-->",
    "<Port1>%</Port1>", "<Port2>%</Port2>", "<Port3>%</Port3>", "<Port4>%</Port4>",
    "<!--Периоды связи (мин)-->",
    "<Cont1>%</Cont1>", "<Cont2>%</Cont2>", "<Cont3>%</Cont3>", "<Cont4>%</Cont4>",
    "<!--APN-->",
    "<Apn>%</Apn>",
    "<!--USER-->",
    "<Aus>%</Aus>",
    "<!--Password-->",
    "<Apas>%</Apas>",
    "<!--Баланс (строка, время мин.)-->",
    "<BlSt>%</BlSt>",
    "<BlTm>%</BlTm>",
    "<!--Разрешения Sms (1 - Разрешено, 0 - Запрещено).",
    "Если запрещено, то телефон с данным индексом не будет получать SMS-->",
    "<Sms1En>%</Sms1En>", "<Sms2En>%</Sms2En>", "<Sms3En>%</Sms3En>", "<Sms4En>%</Sms4En>",
    "<Sms5En>%</Sms5En>", "<Sms6En>%</Sms6En>", "<Sms7En>%</Sms7En>", "<Sms8En>%</Sms8En>",
    "<!--Разрешения прослушивания (1 - Разрешено, 0 - Запрещено).-->",
    "<Voice1En>%</Voice1En>", "<Voice2En>%</Voice2En>", "<Voice3En>%</Voice3En>",
    "<Voice4En>%</Voice4En>", "<Voice5En>%</Voice5En>", "<Voice6En>%</Voice6En>",
    "<Voice7En>%</Voice7En>", "<Voice8En>%</Voice8En>",
    "<!--Протокол (0 - UDP, 1 - TCP-->",
    "<GET1>%</GET1>", "<GET2>%</GET2>", "<GET3>%</GET3>", "<GET4>%</GET4>",
    "<!--сколько раз нажимать кнопку тревоги(1 или 2 раза)-->",
    "<NmbPress>%</NmbPress>",
    "<!--Передавать координаты в АРМ по GPRS: 0-при сеансе связи,",
    " 1-при движении, 2-при тревоге, 3-при движении и тревоге-->",
    "<Coord>%</Coord>",
    "<!--Микрофон ('0'-'9', 'A'-'F')-->",
    "<Mic>%</Mic>",
    "</Settings>",
    "</OrvanaGPRSServer>",
};

// The expected file in cp1251: `values` fill the "%" places in line order (already cp1251).
std::string expectedFile(const std::vector<std::string>& values) {
    std::string file;
    std::size_t next = 0;
    for (std::string_view utf8 : kLayout) {
        std::string line = protocol::toCp1251(utf8).value();
        if (std::size_t mark = line.find('%'); mark != std::string::npos)
            line.replace(mark, 1, values.at(next++));
        file += line + "\r\n";
    }
    EXPECT_EQ(next, values.size());
    return file;
}

// Start-up values: 26 empty texts, "0" flags, "/" lists, "0" press count, "2" microphone.
std::vector<std::string> startUpValues() {
    std::vector<std::string> v(9, "");                    // tel
    v.insert(v.end(), 4, "0");                            // Ip En
    v.insert(v.end(), 4 + 4 + 4 + 1 + 1 + 1 + 2, "");     // ip, Port, Cont, Apn, Aus, Apas, Bl
    v.insert(v.end(), 16, "0");                           // Sms, Voice
    v.insert(v.end(), 4, "/");                            // GET
    v.insert(v.end(), {"0", "/", "2"});                   // NmbPress, Coord, Mic
    return v;
}

std::string compose(const MapControls& c) {
    TransmitBuffer buffer;
    protocol::ComposeResult r = files::composeServerExport(c, buffer);
    EXPECT_TRUE(r.ok) << r.message;
    return std::string(buffer.view());
}

TEST(ServerExport, StartUpStateIsTheFixedLayoutOf2060Bytes) {
    MapControls c;
    std::string file = compose(c);
    EXPECT_EQ(file, expectedFile(startUpValues()));
    EXPECT_EQ(file.size(), 2060u);
}

TEST(ServerExport, ValuesUseTheirFormsAndThePressCountDigit) {
    MapControls c;
    c.setUtf8("ETl1", "Охрана");
    c.setText("ETl9", "+7999");
    c.setChecked("ChSim1ForIp3", true);
    c.setText("EditIp1", "1.2.3.4");
    c.setText("EditPort4", "65535");
    c.setText("EConnectPeriod2", "15");
    c.setText("EApn1", "apn");
    c.setText("EBlTm1", "60");
    c.setChecked("ChSim1ForP8", true);
    c.setChecked("ChSim1ForVoice1", true);
    c.setItemIndex("CBGet1", 1);
    c.setItemIndex("CBNmbPress", 1);  // item "2"
    c.setItemIndex("RadioGroup1", 3);
    c.setPosition("TrackBar1", 12);

    std::vector<std::string> v = startUpValues();
    v[0] = "\xCE\xF5\xF0\xE0\xED\xE0";
    v[8] = "+7999";
    v[11] = "1";                // Ip3En
    v[13] = "1.2.3.4";          // ip1
    v[20] = "65535";            // Port4
    v[22] = "15";               // Cont2
    v[25] = "apn";
    v[29] = "60";               // BlTm
    v[37] = "1";                // Sms8En
    v[38] = "1";                // Voice1En
    v[46] = "1";                // GET1
    v[50] = "2";                // NmbPress as in a request
    v[51] = "3";                // Coord
    v[52] = "C";                // Mic
    EXPECT_EQ(compose(c), expectedFile(v));
}

// xmllint from libxml2-utils; returns its output (and exit status).
std::pair<int, std::string> xmllint(const std::string& arguments, const std::string& xml) {
    char path[] = "/tmp/vigil-export-XXXXXX";
    int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(path, std::ios::binary) << xml;
    std::string command = "xmllint " + arguments + " " + path + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char chunk[256];
    while (pipe && fgets(chunk, sizeof chunk, pipe)) out += chunk;
    int status = pipe ? pclose(pipe) : -1;
    std::remove(path);
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return {status, out};
}

TEST(ServerExport, MarkupCharactersAreEscapedAndReadBack) {
    MapControls c;
    c.setText("EApas1", "p&ss<word>");
    c.setUtf8("ETl1", "<tel2>Ёлка</tel2>");
    std::string file = compose(c);
    EXPECT_NE(file.find("<Apas>p&amp;ss&lt;word&gt;</Apas>\r\n"), std::string::npos);

    auto [status, errors] = xmllint("--noout", file);
    EXPECT_EQ(status, 0) << errors;
    EXPECT_EQ(xmllint("--xpath 'string(/OrvanaGPRSServer/Settings/Apas)'", file).second,
              "p&ss<word>");
    EXPECT_EQ(xmllint("--xpath 'string(/OrvanaGPRSServer/Settings/tel1)'", file).second,
              "<tel2>Ёлка</tel2>");
    EXPECT_EQ(xmllint("--xpath 'count(//tel2)'", file).second, "1");
}

TEST(ServerExport, ContentThatCannotBeExportedIsRefused) {
    MapControls c;
    TransmitBuffer buffer;
    c.setUnencodable("EAus1");
    protocol::ComposeResult r = files::composeServerExport(c, buffer);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("\"AUS\""), std::string::npos) << r.message;

    // 2,060 fixed bytes leave 2,036 for the texts.
    MapControls full;
    full.setText("EApn1", std::string(2036, 'a'));
    EXPECT_EQ(compose(full).size(), 4096u);
    full.setText("EApn1", std::string(2035, 'a') + "&");  // the entity takes five bytes
    r = files::composeServerExport(full, buffer);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("4096"), std::string::npos) << r.message;
    EXPECT_EQ(buffer.length(), 0);
}

}  // namespace
