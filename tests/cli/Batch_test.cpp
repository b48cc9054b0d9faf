// Batch commissioning end to end: three units on one simulated terminal that the test
// "swaps" by muting it and giving it the next unit's IDCOD; the second unit fails verification,
// Ctrl+C ends the first run while the third is awaited, and a second run with the same log, started
// with the first unit still connected, leaves that unit alone, retries the second and does the third.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliFixture.h"
#include "cli/Csv.h"
#include "protocol/Cp1251.h"
#include "protocol/ParameterTable.h"

using testsupport::SettingsTerminal;
using testsupport::VigilProcess;
using ::testing::ElementsAre;

namespace {

constexpr int kCom = 4;

class Batch : public testsupport::CliTest {
  protected:
    Batch() {
        // No text of the template is longer than 12 bytes.
        writeFile("template.abt",
                  "TL1=+79161234501:TL2=:TL9=:Sms1En=1:Voice1En=0:Ip1=10.1.1.1:Port1=7000:"
                  "GET1=1:GET2=0:GET3=0:GET4=0:NmbPress=0:Coord=1:Ip1En=1:Apn=apn.ru:REG=5:");
        writeFile("units.csv",
                  "unit,ModulePhone,TL2,Apn\n"
                  "U1,+79990000001,+79990000101,\n"
                  "U2,+7999000000222,,\"sim.ru\"\n"  // a number the terminal cuts to 12 bytes
                  "U3,+79990000003,,\n");
    }

    std::vector<std::string> args() const {
        return {"batch", "--port", "COM" + std::to_string(kCom), path("template.abt"),
                path("units.csv"), "--log", path("log.csv")};
    }

    // Rows of the log without the time column.
    std::vector<std::vector<std::string>> logRows() const {
        std::string error;
        const auto table = cli::parseCsv(readFile("log.csv"), error);
        std::vector<std::vector<std::string>> rows;
        for (auto row : table.value().rows) {
            row.erase(row.begin());
            rows.push_back(row);
        }
        return rows;
    }

    // The operator unplugs the unit once the batch says so (`asked`) and plugs in the next one
    // when asked.
    static void swapUnit(VigilProcess& batch, SettingsTerminal& terminal, const std::string& asked,
                         const std::string& next, const std::string& nextId) {
        ASSERT_TRUE(batch.waitForOutput(asked));
        terminal.mode.setMuted(true);
        terminal.mode.setValue(*protocol::byControl("EIdCod"), *protocol::toCp1251(nextId));
        ASSERT_TRUE(batch.waitForOutput("Unit " + next + ": connect it"));
        terminal.mode.setMuted(false);
    }

    static std::size_t writes(const SettingsTerminal& terminal) {
        std::size_t n = 0;
        for (const std::string& r : terminal.mode.requests()) n += r.find("TL1=") != std::string::npos;
        return n;
    }
};

TEST_F(Batch, ASecondUnitThatFailsIsLoggedAndTheResumedRunRetriesIt) {
    const std::string id = "004512 Версия 2.07 Eeprom OK";  // the simulated terminal's own
    const std::string id2 = "004513 Версия 2.07 Eeprom OK", id3 = "004514 Версия 2.07 Eeprom OK";
    const std::string cut = "поле \"Телефон модуля\" (TL9) на вкладке \"Телефоны\": отправлено \"+7999000000222\", "
                            "получено \"+79990000002\"";
    const auto header = ElementsAre("unit", "idcode", "result", "differences");
    const auto u1 = ElementsAre("U1", id, "ok", "");
    const auto u2Failed = ElementsAre("U2", id2, "failed", cut);
    {
        sim::SettingsOptions cutting;
        cutting.textLimit = 12;
        SettingsTerminal terminal(map, kCom, cutting);
        VigilProcess batch(args());
        swapUnit(batch, terminal, "Unit U1: done; disconnect it.", "U2", id2);
        ASSERT_TRUE(batch.waitForOutput("Unit U2: FAILED"));
        terminal.mode.setMuted(true);
        ASSERT_TRUE(batch.waitForOutput("Unit U3: connect it"));
        batch.interrupt();  // the operator stops for the day
        const auto result = batch.finish();
        EXPECT_EQ(result.exitCode, 130) << result.err;
        EXPECT_EQ(writes(terminal), 2u);
        EXPECT_THAT(logRows(), ElementsAre(header, u1, u2Failed));
    }
    SettingsTerminal terminal(map, kCom);  // U1, still connected the next day
    VigilProcess batch(args());
    swapUnit(batch, terminal, "Unit U2: the connected terminal (IDCOD=" + id + ") is unit U1", "U2", id2);
    swapUnit(batch, terminal, "Unit U2: done; disconnect it.", "U3", id3);
    const auto result = batch.finish();
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_THAT(result.out, ::testing::HasSubstr("Batch: 2 ok, 0 failed, 1 done before."));
    EXPECT_EQ(writes(terminal), 2u);
    EXPECT_THAT(logRows(), ElementsAre(header, u1, u2Failed, ElementsAre("U2", id2, "ok", ""),
                                       ElementsAre("U3", id3, "ok", "")));
    // The last unit's values are in the terminal: the template, then its own row.
    const sim::ParameterStore store = terminal.mode.store();
    EXPECT_EQ(store.value("ModulePhone"), "+79990000003");
    EXPECT_EQ(store.value("Phone1"), "+79161234501");
    EXPECT_EQ(store.value("Apn"), "apn.ru");
}

TEST_F(Batch, BadUnitsFilesAreRefusedNamingTheLine) {
    SettingsTerminal terminal(map, kCom);
    const struct {
        const char* units;
        const char* says;
    } cases[] = {
        {"label,TL9\nU1,1\n", "units.csv:1: the first column must be \"unit\""},
        {"unit,Colour\nU1,red\n", "units.csv:1: unknown parameter Colour"},
        {"unit;TL9\nU1;1\nU1;2\n", "units.csv:3: unit \"U1\" is listed twice"},
        {"unit,ModulePhone,tl9\nU1,1,2\n", "\"tl9\" names the same parameter as \"ModulePhone\""},
        {"unit,TL9\n\nU1,1,2\n", "units.csv:3: 3 cells, the header has 2"},
        {"unit,Sms1En\nU1,yes\n", "units.csv:2: invalid value \"yes\" for SmsEnable1"},
        {"unit,TL9\nU1,\"12\n", "never closed"},
    };
    for (const auto& c : cases) {
        writeFile("units.csv", c.units);
        const auto result = testsupport::runVigil(args());
        EXPECT_EQ(result.exitCode, 2) << c.says;
        EXPECT_THAT(result.err, ::testing::HasSubstr(c.says));
    }
    EXPECT_TRUE(terminal.mode.requests().empty());
}

}  // namespace
