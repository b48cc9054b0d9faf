// Batch commissioning end to end: three units on one simulated terminal that the test
// "swaps" by muting it and giving it the next unit's IDCOD; the second unit fails verification,
// Ctrl+C ends the first run while the third is awaited, and a second run with the same log, started
// with the first unit still connected, leaves that unit alone, retries the second and does the
// third. Then the routes by which a batch could write one unit's values into another terminal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "CliFixture.h"
#include "UnitSwitch.h"
#include "WholeTemplate.h"
#include "files/Csv.h"
#include "protocol/Cp1251.h"
#include "protocol/ParameterTable.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using testsupport::SettingsTerminal;
using testsupport::SimulatedLine;
using testsupport::UnitSwitch;
using testsupport::VigilProcess;

namespace {

constexpr int kCom = 4;

class Batch : public testsupport::CliTest {
  protected:
    Batch() {
        // No text of the template is longer than 12 bytes.
        writeFile("template.abt",
                  testsupport::wholeTemplate(
                      "TL1=+79161234501:TL2=:TL9=:Sms1En=1:Voice1En=0:Ip1=10.1.1.1:Port1=7000:"
                      "GET1=1:GET2=0:GET3=0:GET4=0:NmbPress=0:Coord=1:Ip1En=1:Apn=apn.ru:REG=5:"));
        writeFile("units.csv",
                  "unit,ModulePhone,TL2,Apn\n"
                  "U1,+79990000001,+79990000101,\n"
                  "U2,+7999000000222,,\"sim.ru\"\n"  // a number the terminal cuts to 12 bytes
                  "U3,+79990000003,,\n");
    }

    std::vector<std::string> args() const {
        return {"batch",
                "--port",
                "COM" + std::to_string(kCom),
                path("template.abt"),
                path("units.csv"),
                "--log",
                path("log.csv")};
    }

    // Rows of the log without the time column.
    std::vector<std::vector<std::string>> logRows() const {
        std::string error;
        const auto table = files::parseCsv(readFile("log.csv"), error);
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
        for (const std::string& r : terminal.mode.requests())
            n += r.find("TL1=") != std::string::npos;
        return n;
    }
};

TEST_F(Batch, ASecondUnitThatFailsIsLoggedAndTheResumedRunRetriesIt) {
    const std::string id = "004512 Версия 2.07 Eeprom OK";  // the simulated terminal's own
    const std::string id2 = "004513 Версия 2.07 Eeprom OK", id3 = "004514 Версия 2.07 Eeprom OK";
    const std::string cut =
        "поле \"Телефон модуля\" (TL9) на вкладке \"Телефоны\": отправлено \"+7999000000222\", "
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
        ASSERT_TRUE(batch.waitForOutput("Unit U2: disconnect it."));
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
    // A new terminal would take U3; U1's is refused, U2's retried.
    swapUnit(batch, terminal, "Unit U3: the connected terminal (IDCOD=" + id + ") is unit U1", "U3",
             id2);
    ASSERT_TRUE(batch.waitForOutput("Unit U2: terminal IDCOD=" + id2 +
                                    ", failed before; trying it again."));
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

// Two terminals of their own on the batch's port; units U1 and U2, U1's phone longer than a
// terminal with `textLimit` 12 keeps.
class Binding : public Batch {
  protected:
    Binding() {
        writeFile("units.csv", "unit,ModulePhone\nU1,+7999000000111\nU2,+79990000002\n");
        cutting.textLimit = 12;
    }
    sim::SettingsOptions cutting;
    UnitSwitch terminals;
    const std::string idA = "004512 Версия 2.07 Eeprom OK", idB = "004513 Версия 2.07 Eeprom OK";
};

TEST_F(Binding, AFailedTerminalThatAnswersAgainIsRetriedNeverGivenTheNextUnit) {
    const int a = terminals.add(idA, cutting), b = terminals.add(idB);
    SimulatedLine line(map, kCom, terminals);
    terminals.plug(a);
    VigilProcess batch(args());
    ASSERT_TRUE(batch.waitForOutput("Unit U1: FAILED"));
    ASSERT_TRUE(batch.waitForOutput("Unit U1: disconnect it."));
    terminals.plug(UnitSwitch::kNone);  // it pauses (or is replugged) ...
    ASSERT_TRUE(batch.waitForOutput("Unit U2: connect it"));
    terminals.plug(a);  // ... and answers again
    ASSERT_TRUE(batch.waitForOutput("Unit U1: terminal IDCOD=" + idA +
                                    ", failed before; trying it again."));
    ASSERT_TRUE(batch.waitForOutput("Unit U1: disconnect it."));
    terminals.plug(UnitSwitch::kNone);
    ASSERT_TRUE(batch.waitForOutput("Unit U2: connect it"));
    terminals.plug(b);
    const auto result = batch.finish();
    EXPECT_EQ(result.exitCode, 4) << result.out << result.err;
    EXPECT_THAT(result.out, Not(HasSubstr("U1: done")));
    EXPECT_EQ(terminals.unit(a).store().value("ModulePhone"), "+79990000001");  // U1's, cut
    EXPECT_EQ(terminals.unit(b).store().value("ModulePhone"), "+79990000002");
    EXPECT_EQ(terminals.writes(a), 2u);
}

TEST_F(Binding, ATerminalDoneBeforeIsKnownAfterAFirmwareUpdate) {
    const int a = terminals.add(idA), b = terminals.add(idB);
    SimulatedLine line(map, kCom, terminals);
    terminals.plug(a);
    VigilProcess batch(args());
    ASSERT_TRUE(batch.waitForOutput("Unit U1: done; disconnect it."));
    terminals.plug(UnitSwitch::kNone);
    terminals.unit(a).setValue(*protocol::byControl("EIdCod"),
                               cp1251("004512 Версия 2.08 Eeprom OK"));
    ASSERT_TRUE(batch.waitForOutput("Unit U2: connect it"));
    terminals.plug(a);
    ASSERT_TRUE(
        batch.waitForOutput("Unit U2: the connected terminal (IDCOD=004512 Версия 2.08 "
                            "Eeprom OK) is unit U1, already done; disconnect it."));
    terminals.plug(b);  // swapped in at once: the answer of another terminal is the disconnect
    const auto result = batch.finish();
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(terminals.writes(a), 1u);
    EXPECT_EQ(terminals.unit(b).store().value("ModulePhone"), "+79990000002");
}

TEST_F(Binding, ATerminalSwappedDuringTheWriteIsLoggedAsTheUnitItTook) {
    const int a = terminals.add(idA), b = terminals.add(idB);
    SimulatedLine line(map, kCom, terminals);
    terminals.plug(a);
    terminals.swapOnNextWrite(b);
    VigilProcess batch(args());
    ASSERT_TRUE(batch.waitForOutput("Unit U1: FAILED"));
    ASSERT_TRUE(batch.waitForOutput("терминал заменён во время записи (был IDCOD=" + idA + ")"));
    ASSERT_TRUE(batch.waitForOutput("Unit U1: disconnect it."));
    terminals.plug(UnitSwitch::kNone);
    ASSERT_TRUE(batch.waitForOutput("Unit U2: connect it"));
    terminals.plug(a);  // never written: it takes the next unit
    ASSERT_TRUE(batch.waitForOutput("Unit U2: terminal IDCOD=" + idA + ", writing."));
    EXPECT_EQ(batch.finish().exitCode, 4);
    // The records file the write under the terminal that took it, not the one identified.
    const auto tookIt = testsupport::runVigil({"history", "--unit", "004513", "--format", "csv"});
    EXPECT_THAT(tookIt.out, HasSubstr("write,ok")) << tookIt.out;
    EXPECT_THAT(tookIt.out, HasSubstr("'+7999000000111")) << tookIt.out;
    EXPECT_THAT(testsupport::runVigil({"history", "--unit", "004512", "--format", "csv"}).out,
                Not(HasSubstr("+7999000000111")));
    terminals.plug(b);  // it holds U1's values: it is U1
    VigilProcess again(args());
    ASSERT_TRUE(again.waitForOutput("Unit U1: terminal IDCOD=" + idB +
                                    ", failed before; trying it again."));
    const auto result = again.finish();
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(terminals.unit(a).store().value("ModulePhone"), "+79990000002");
    EXPECT_EQ(terminals.unit(b).store().value("ModulePhone"), "+7999000000111");
    EXPECT_EQ(logRows().back(), (std::vector<std::string>{"U1", idB, "ok", ""}));
}

TEST_F(Binding, ASecondBatchOnTheSameLogOrPortStopsAtOnceNamingTheHolder) {
    terminals.add(idA);
    SimulatedLine line(map, kCom, terminals);  // nothing plugged: the first batch waits
    VigilProcess first(args());
    ASSERT_TRUE(first.waitForOutput("Unit U1: connect it"));
    const auto sameLog = testsupport::runVigil(args());
    EXPECT_EQ(sameLog.exitCode, 1);
    EXPECT_THAT(sameLog.err, HasSubstr("log.csv: in use by another batch (vigil, pid "));
    std::vector<std::string> otherLog = args();
    otherLog.back() = path("other.csv");
    const auto samePort = testsupport::runVigil(otherLog);
    EXPECT_EQ(samePort.exitCode, 1);
    EXPECT_THAT(samePort.err, HasSubstr("занят"));
    EXPECT_THAT(samePort.out, Not(HasSubstr("connect it")));
    first.interrupt();
    EXPECT_EQ(first.finish().exitCode, 130);
}

TEST_F(Binding, ALogThatIsNoPlainFileOrNoBatchLogIsRefusedBeforeThePortIsTouched) {
    const int a = terminals.add(idA);
    SimulatedLine line(map, kCom, terminals);
    terminals.plug(a);
    ASSERT_EQ(::mkfifo(path("log.csv").c_str(), 0600), 0);  // opened for writing, it would block
    auto result = testsupport::runVigil(args());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_THAT(result.err, HasSubstr("log.csv\": это именованный канал (FIFO)"));
    std::filesystem::remove(path("log.csv"));
    writeFile("log.csv", "time,unit,idcode,result,differences\nt,U1,004512,maybe,\n");
    result = testsupport::runVigil(args());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_THAT(result.err, HasSubstr("log.csv:2: result \"maybe\""));
    EXPECT_EQ(terminals.writes(a), 0u);
}

TEST_F(Binding, ATerminalThatDoesNotSayWhoItIsIsNotWrittenAndAnUnboundUnitGoesToANewOne) {
    const int nameless = terminals.add(" Версия 2.07 Eeprom OK"), b = terminals.add(idB);
    SimulatedLine line(map, kCom, terminals);
    terminals.plug(nameless);
    // U1 failed on a terminal the log could not name: it is bound to none, so a new one takes it.
    writeFile("log.csv", "time,unit,idcode,result,differences\nt,U1,,failed,нет ответа\n");
    VigilProcess batch(args());
    ASSERT_TRUE(batch.waitForOutput("the connected terminal gives no identification code"));
    // Told once: while it answers the same, it is still connected.
    EXPECT_FALSE(batch.waitForOutput("the connected terminal gives no identification code",
                                     std::chrono::seconds(3)));
    terminals.plug(b);
    ASSERT_TRUE(batch.waitForOutput("Unit U1: terminal IDCOD=" + idB + ", writing."));
    batch.interrupt();
    batch.finish();
    EXPECT_EQ(terminals.writes(nameless), 0u);
}

TEST_F(Binding, ACablePulledDuringTheWriteFailsTheUnitAndBindsItsTerminal) {
    const int a = terminals.add(idA);
    SimulatedLine line(map, kCom, terminals);
    terminals.plug(a);
    terminals.pullOnNextWrite();
    VigilProcess batch(args());
    ASSERT_TRUE(batch.waitForOutput("Unit U1: FAILED"));
    ASSERT_TRUE(batch.waitForOutput("Unit U1: disconnect it."));
    ASSERT_TRUE(batch.waitForOutput("Unit U2: connect it"));
    batch.interrupt();
    const auto result = batch.finish();
    EXPECT_EQ(result.exitCode, 130) << result.err;
    EXPECT_THAT(result.out, Not(HasSubstr(": done")));
    EXPECT_THAT(logRows().back(), ElementsAre("U1", idA, "failed", "нет ответа"));
}

TEST_F(Binding, ATerminalOfAnotherUnitSwappedInDuringTheWriteIsThatUnitNoLongerDone) {
    const int a = terminals.add(idA), b = terminals.add(idB);
    SimulatedLine line(map, kCom, terminals);
    writeFile("log.csv", "time,unit,idcode,result,differences\nt,U2," + idB + ",ok,\n");
    terminals.plug(a);
    terminals.swapOnNextWrite(b);
    VigilProcess batch(args());
    ASSERT_TRUE(batch.waitForOutput("Unit U1: disconnect it."));
    batch.interrupt();
    batch.finish();
    EXPECT_EQ(terminals.unit(b).store().value("ModulePhone"), "+7999000000111");  // U1's now
    const auto rows = logRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_THAT(rows[2], ElementsAre("U1", idA, "failed", HasSubstr("(теперь IDCOD=" + idB + ")")));
    EXPECT_THAT(rows[3], ElementsAre("U2", idB, "failed", HasSubstr("блока U1")));
}

// A log edited by hand: a later row naming a terminal under another unit rebinds it, so the unit
// it was done as is done no more; a terminal tried as a unit later done on another holds part of
// that unit's values and is told apart from the unit's own.
TEST_F(Binding, ALogThatRebindsATerminalUndoesItsUnitAndAStrayAttemptIsNamed) {
    const int a = terminals.add(idA);
    SimulatedLine line(map, kCom, terminals);
    const std::string header = "time,unit,idcode,result,differences\n";
    writeFile("log.csv", header + "t,U1," + idA + ",failed,нет ответа\nt,U1," + idB +
                             ",ok,\nt,U2," + idB + ",ok,\n");
    terminals.plug(a);
    VigilProcess batch(args());
    ASSERT_TRUE(batch.waitForOutput("Unit U1: terminal IDCOD=" + idA +
                                    ", failed before; trying it again."));
    auto result = batch.finish();
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(terminals.unit(a).store().value("ModulePhone"), "+7999000000111");

    writeFile("log.csv", header + "t,U1," + idA + ",failed,нет ответа\nt,U1," + idB + ",ok,\n");
    VigilProcess again(args());
    ASSERT_TRUE(again.waitForOutput("took part of unit U1's values"));
    again.interrupt();
    result = again.finish();
    EXPECT_EQ(result.exitCode, 130);
    EXPECT_EQ(terminals.writes(a), 1u);
}

// With --keep-unlisted the values the template lacks come from the terminal identified: one swapped
// in before the write gets them in place of its own, and its row says so.
TEST_F(Binding, ATerminalSwappedInUnderKeepUnlistedIsToldItsOwnValuesAreGone) {
    const int a = terminals.add(idA), b = terminals.add(idB);
    SimulatedLine line(map, kCom, terminals);
    writeFile("template.abt", "TL1=+79161234501:");
    terminals.plug(a);
    terminals.swapOnNextWrite(b);
    std::vector<std::string> keeping = args();
    keeping.push_back("--keep-unlisted");
    VigilProcess batch(keeping);
    ASSERT_TRUE(batch.waitForOutput("Unit U1: disconnect it."));
    batch.interrupt();
    batch.finish();
    EXPECT_THAT(logRows().at(1),
                ElementsAre("U1", idB, "failed", HasSubstr("взяты у терминала IDCOD=" + idA)));
}

}  // namespace
