// The simulated settings firmware: reads, writes, erase, monitor output, the request log.
#include "tools/SettingsMode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "FakeLine.h"

using sim::SettingsMode;
using sim::SettingsOptions;

namespace {

void feed(SettingsMode& mode, FakeLine& line, const std::string& bytes) {
    mode.received(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), line);
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

}  // namespace

TEST(SettingsMode, AReadAnswersEveryAnswerKeyOnceInTheChosenOrder) {
    SettingsMode mode;
    FakeLine line;
    feed(mode, line, "$Pass=Vostel:End:");
    ASSERT_EQ(line.sent.size(), 1u);
    const std::string answer = line.all();
    // Every item once: 63 items, 63 colons.
    EXPECT_EQ(count(answer, ":"), protocol::kParameters.size());
    for (const char* key :
         {"TL9=",    "SMS8EN=", "VOICE1EN=", "PORT4=", "CONT4=",  "GET4=",   "IP4EN=",
          "APN=",    "AUS=",    "APAS=",     "BLST=",  "BLTM=",   "BLVL=",   "LIM=",
          "IDCOD=",  "REG=",    "NMBPRESS=", "COORD=", "ADCCOD=", "GPRMCT=", "GPRDAT=",
          "GPRSPD=", "GPRCOG=", "GPRLAT=",   "GPRLON="})
        EXPECT_NE(answer.find(std::string(":") + key), std::string::npos) << key;
    EXPECT_EQ(answer.rfind("TL1=", 0), 0u);
    EXPECT_EQ(answer.back(), ':');
    EXPECT_NE(answer.find("IDCOD=004512 \xC2\xE5\xF0\xF1\xE8\xFF 2.07"),
              std::string::npos);  // cp1251 "Версия"
}

TEST(SettingsMode, TheAnswerInReverseOrderOrInChunksHoldsTheSameItems) {
    SettingsMode plain;
    FakeLine whole;
    feed(plain, whole, "$Pass=Vostel:End:");
    SettingsOptions o;
    o.order = SettingsOptions::Order::Reverse;
    SettingsMode reversed(o);
    FakeLine line;
    feed(reversed, line, "$Pass=Vostel:End:");
    EXPECT_EQ(line.all().rfind("GPRLON=", 0), 0u);
    EXPECT_EQ(line.all().size(), whole.all().size());

    o = {};
    o.chunks = 7;
    o.gapMs = 30;
    o.cutInsideItems = true;
    SettingsMode cutting(o);
    FakeLine cut;
    feed(cutting, cut, "$Pass=Vostel:End:");
    ASSERT_EQ(cut.sent.size(), 7u);
    EXPECT_EQ(cut.sent[1].delay, std::chrono::milliseconds(30));
    EXPECT_EQ(cut.all(), whole.all());
}

TEST(SettingsMode, AWriteStoresTheValuesAndAnswersWithTheStoredItems) {
    SettingsMode mode;
    FakeLine line;
    // Sent in three pieces, as a port may deliver it.
    feed(mode, line, "junk$Pass=Vostel:TL1=+7 (916) 000:Apn1=\xEF\xF0");
    feed(mode, line, "\xE8:NmbPress=1:Coord=4:REG=C:Sms3En=1:Ip2En=0:GET1=0:");
    EXPECT_TRUE(line.sent.empty());
    feed(mode, line, "End:");
    EXPECT_EQ(
        line.all(),
        "TL1=+7 (916) 000:APN=\xEF\xF0\xE8:NMBPRESS=0:COORD=4:REG=C:SMS3EN=1:IP2EN=0:GET1=0:");
    const sim::ParameterStore store = mode.store();
    EXPECT_EQ(store.value("Phone1"), "+7 (916) 000");
    EXPECT_EQ(store.value("Apn"), "\xEF\xF0\xE8");
    EXPECT_EQ(store.value("AlarmPressCount"), "1");
    EXPECT_EQ(mode.requests().size(), 1u);
    EXPECT_EQ(mode.requests()[0].rfind("$Pass=", 0), 0u);

    // Answer keys are not write keys, and a value "End" does not end the request.
    line.sent.clear();
    feed(mode, line, "$Pass=Vostel:APN=x:TL2=End:End:");
    EXPECT_EQ(line.all(), "TL2=End:");
    EXPECT_EQ(mode.store().value("Apn"), "\xEF\xF0\xE8");
}

TEST(SettingsMode, WrongPasswordEraseAndTheLogOfRequests) {
    const std::string log = ::testing::TempDir() + "settings_requests.log";
    std::remove(log.c_str());
    SettingsOptions o;
    o.logFile = log;
    SettingsMode mode(o);
    FakeLine line;
    const std::string requests = "$Pass=vostel:End:$Pass=Vostel:Eeprom=Erase:End:";
    feed(mode, line, requests);
    EXPECT_EQ(line.all(), sim::kWrongPasswordAnswer);
    EXPECT_EQ(mode.store().value("Phone1"), "");
    EXPECT_EQ(mode.store().value("ServerEnable1"), "0");
    EXPECT_EQ(mode.store().value("IdCode").substr(0, 6), "004512");  // measured values stay

    std::ifstream in(log, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), requests);
    EXPECT_EQ(mode.requests(),
              (std::vector<std::string>{"$Pass=vostel:End:", "$Pass=Vostel:Eeprom=Erase:End:"}));
}

TEST(SettingsMode, MonitorOutputRunsFromOnToOffWithModemNotices) {
    SettingsOptions o;
    o.monitorIntervalMs = 100;
    SettingsMode mode(o);
    FakeLine line;
    EXPECT_FALSE(mode.wakeAt());
    feed(mode, line, "$Pass=Vostel:Monitor=On:End:");
    EXPECT_TRUE(line.sent.empty());
    ASSERT_TRUE(mode.wakeAt());
    EXPECT_EQ(*mode.wakeAt(), line.clock + std::chrono::milliseconds(100));
    std::vector<std::uint16_t> codes;
    for (int i = 0; i < 9; ++i) {
        mode.tick(line);
        const std::string& out = line.sent.back().bytes;
        if (out.rfind("+IPD,", 0) == 0) {
            const std::size_t colon = out.find(':');
            ASSERT_NE(colon, std::string::npos);
            EXPECT_EQ(std::stoul(out.substr(5, colon - 5)), out.size() - colon - 1);
            codes.push_back(
                static_cast<std::uint16_t>(static_cast<std::uint8_t>(out[colon + 1]) |
                                           static_cast<std::uint8_t>(out[colon + 2]) << 8));
        } else {
            EXPECT_EQ(out.substr(out.size() - 2), "\r\n");
        }
    }
    EXPECT_EQ(codes, (std::vector<std::uint16_t>{200, 400, 403}));
    feed(mode, line, "$Pass=Vostel:Monitor=Off:End:");
    EXPECT_FALSE(mode.monitorOn());
    EXPECT_FALSE(mode.wakeAt());
}

TEST(ParameterStore, SavesAndLoadsEveryValueByteForByte) {
    const std::string path = ::testing::TempDir() + "store.txt";
    sim::ParameterStore a;
    a.set(*protocol::findByControl("ETl5"), "\xC0\xFF:x=y");
    ASSERT_TRUE(a.save(path));
    sim::ParameterStore b;
    b.erase();
    ASSERT_TRUE(b.load(path));
    for (const protocol::Parameter& p : protocol::kParameters)
        EXPECT_EQ(b.value(p), a.value(p)) << p.name;
    EXPECT_FALSE(b.load(path + ".missing"));
}

TEST(SettingsMode, AMutedTerminalLogsButAnswersNothingAndALimitedOneStoresShortTexts) {
    SettingsOptions o;
    o.textLimit = 5;
    SettingsMode mode(o);
    FakeLine line;
    mode.setMuted(true);
    feed(mode, line, "$Pass=Vostel:End:$Pass=Vostel:TL1=+79160001122:End:");
    EXPECT_TRUE(line.sent.empty());
    EXPECT_EQ(mode.requests().size(), 2u);

    mode.setMuted(false);
    feed(mode, line, "$Pass=Vostel:TL1=+79160001122:Sms1En=1:End:");
    EXPECT_EQ(line.all(), "TL1=+7916:SMS1EN=1:");
}
