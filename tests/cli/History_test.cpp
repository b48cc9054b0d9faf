// The records vigil keeps end to end: each read and write (with the snapshot before it) filed
// under the unit, the history in its three forms, a restore that writes the kept values back
// only into that unit, and a records file that cannot be used stopping nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliFixture.h"
#include "UnitSwitch.h"
#include "protocol/ParameterTable.h"
#include "tools/BootloaderMode.h"
#include "tools/EncFile.h"
#include "tools/TerminalMode.h"

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using testsupport::count;
using testsupport::runVigil;
using testsupport::SettingsTerminal;
using testsupport::SimulatedLine;
using testsupport::UnitSwitch;

namespace {

class History : public testsupport::OnePortTest<9> {};

TEST_F(History, ReadsAndWritesAreKeptPerUnitAndRestoreWritesThemBackOnlyToThatUnit) {
    sim::SettingsOptions cutting;
    cutting.textLimit = 12;  // a longer number comes back cut: a write that differs
    SettingsTerminal terminal(map, kCom, cutting);
    const protocol::Parameter& phone1 = *protocol::byControl("ETl1");
    const protocol::Parameter& idCode = *protocol::byControl("EIdCod");

    EXPECT_EQ(runVigil({"read", "--port", kPort, "--format", "json"}).exitCode, 0);
    const auto write = runVigil({"read", "--port", kPort, "--out", path("unit.abt")});
    ASSERT_EQ(write.exitCode, 0) << write.err;
    const auto differs = runVigil({"write", "--port", kPort, path("unit.abt"), "--set",
                                   "TL1=+7916123450199", "--set", "TL2=+79160000002"});
    EXPECT_EQ(differs.exitCode, 4) << differs.err;

    const auto json = runVigil({"history", "--unit", "004512", "--format", "json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(count(json.out, "\"kind\": \"read\""), 3u);  // two reads and the write's snapshot
    EXPECT_EQ(count(json.out, "\"kind\": \"write\""), 1u);
    EXPECT_THAT(json.out, HasSubstr("\"result\": \"differs\""));
    EXPECT_THAT(json.out, HasSubstr("{\"parameter\": \"Phone1\", \"before\": \"+7916123450199\", "
                                    "\"after\": \"+79161234501\"}"));
    EXPECT_THAT(json.out, HasSubstr("\"firmware\": \"2.07\""));
    EXPECT_THAT(json.out, HasSubstr("\"command\": \"vigil write --port COM9 "));
    const auto csv = runVigil({"history", "--format", "csv"});
    EXPECT_EQ(count(csv.out, "\r\n"), 5u);  // the header and four events
    EXPECT_THAT(runVigil({"history"}).out, HasSubstr("004512  write  differs"));

    // The terminal loses a value; restore writes the newest kept values back, verified.
    terminal.mode.setValue(phone1, "+70000000000");
    const auto restored = runVigil({"restore", "--port", kPort, "--unit", "004512"});
    EXPECT_EQ(restored.exitCode, 0) << restored.out << restored.err;
    EXPECT_EQ(terminal.mode.store().value(phone1), "+79161234501");
    EXPECT_EQ(terminal.mode.store().value("Phone2"), "+79160000002");

    // Another unit on the port is never written with this one's values.
    terminal.mode.setValue(idCode, "000777 V 2.07 Eeprom OK");
    const std::size_t before = terminal.mode.requests().size();
    const auto wrong = runVigil({"restore", "--port", kPort, "--unit", "004512"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_THAT(wrong.err, HasSubstr("is unit \"000777\", not 004512"));
    EXPECT_EQ(terminal.mode.requests().size(), before + 1);  // the read only
    EXPECT_EQ(runVigil({"restore", "--port", kPort, "--unit", "004512", "--before-erase"}).exitCode,
              2);
    EXPECT_EQ(
        runVigil({"restore", "--port", kPort, "--unit", "004512", "--at", "2000-01-01"}).exitCode,
        2);
    // A time in another form is refused before anything is sent, not taken for "the newest".
    const std::size_t beforeBadTime = terminal.mode.requests().size();
    EXPECT_THAT(runVigil({"restore", "--port", kPort, "--unit", "004512", "--at", "tomorrow"}).err,
                HasSubstr("--at takes a UTC time such as 2026-11-12T10:30, got \"tomorrow\""));
    EXPECT_EQ(terminal.mode.requests().size(), beforeBadTime);

    const auto status = runVigil({"records", "status"});
    EXPECT_EQ(status.exitCode, 0);
    EXPECT_THAT(status.out, HasSubstr(path("vigil/records.sqlite")));
    EXPECT_THAT(status.out, HasSubstr("units: 2"));
}

// An upload reads the terminal's settings into the records before the wait and files the upload
// under that unit; a terminal already in its bootloader gets the read only without --no-wait,
// and a read it leaves unanswered stops nothing.
TEST_F(History, AnUploadKeepsTheSettingsFirstUnlessTheBootloaderAlreadyListens) {
    const std::vector<std::uint8_t> image = sim::makeImage(std::vector<std::uint8_t>(300, 7), 100);
    writeFile("fw.enc", sim::hexText(image));
    sim::TerminalMode whole;
    SimulatedLine wholeLine(map, kCom, whole);
    const auto updated = runVigil({"upload", "--port", kPort, path("fw.enc")});
    EXPECT_EQ(updated.exitCode, 0) << updated.err;
    EXPECT_THAT(updated.out, HasSubstr(", unit 004512..."));
    EXPECT_EQ(whole.updatesInstalled(), 1u);
    EXPECT_THAT(runVigil({"history", "--unit", "004512"}).out,
                AllOf(HasSubstr("004512  read  ok"), HasSubstr("004512  upload  ok")));

    for (const bool wait : {true, false}) {
        sim::BootloaderMode boot;
        SimulatedLine bootLine(map, kCom + 1, boot);
        std::vector<std::string> args = {"upload", "--port", "COM10", path("fw.enc")};
        if (!wait) args.push_back("--no-wait");
        const auto done = runVigil(args);
        EXPECT_EQ(done.exitCode, 0) << done.err;
        EXPECT_EQ(boot.image(), image);
        EXPECT_EQ(boot.settingsRequestsIgnored(), wait ? 1u : 0u);
        EXPECT_THAT(done.err, HasSubstr(wait ? "gave no settings to the read, so they are not"
                                             : "--no-wait: the bootloader listens"));
    }
}

TEST_F(History, ARecordsFileThatCannotBeUsedIsToldOnceAndTheReadGoesOn) {
    SettingsTerminal terminal(map, kCom);
    std::filesystem::create_directories(path("vigil"));
    writeFile("vigil/records.sqlite", std::string(4096, 'x'));
    const auto read = runVigil({"read", "--port", kPort});
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_EQ(count(read.err, "records are not being kept"), 1u) << read.err;
    EXPECT_THAT(read.err, HasSubstr("is damaged"));
    EXPECT_THAT(read.out, HasSubstr("TL1="));
    EXPECT_EQ(runVigil({"history"}).exitCode, 1);
    EXPECT_THAT(runVigil({"records", "sync"}).err, Not(HasSubstr("sent")));
}

// The write's answer names no terminal: one swapped in between the read that identified the unit
// and the write is found by a read after it. Neither write nor restore then says "verified", and
// the write is filed under the terminal now connected, not the one identified.
TEST_F(History, ATerminalSwappedInBeforeTheWriteIsNoSuccessAndNotFiledUnderTheOneRead) {
    UnitSwitch terminals;
    const int a = terminals.add("004512 Версия 2.07 Eeprom OK");
    const int b = terminals.add("004513 Версия 2.07 Eeprom OK");
    SimulatedLine line(map, kCom, terminals);
    terminals.plug(a);
    ASSERT_EQ(runVigil({"read", "--port", kPort, "--out", path("unit.abt")}).exitCode, 0);

    terminals.swapOnNextWrite(b);
    const auto write =
        runVigil({"write", "--port", kPort, path("unit.abt"), "--set", "ModulePhone=+79160000001"});
    EXPECT_EQ(write.exitCode, 1) << write.out << write.err;
    EXPECT_THAT(write.out, Not(HasSubstr("verified")));
    EXPECT_THAT(write.err, AllOf(HasSubstr("IDCOD=004513"), HasSubstr("IDCOD=004512")));
    EXPECT_EQ(terminals.unit(b).store().value("ModulePhone"), "+79160000001");
    EXPECT_THAT(runVigil({"history", "--unit", "004513", "--format", "csv"}).out,
                HasSubstr("'+79160000001"));
    EXPECT_THAT(runVigil({"history", "--unit", "004512", "--format", "csv"}).out,
                Not(HasSubstr(",write,")));

    // One that left the read before the write unanswered is no swap: its write is filed
    // under it.
    terminals.plug(UnitSwitch::kNone);
    terminals.swapOnNextWrite(a);
    const auto late =
        runVigil({"write", "--port", kPort, path("unit.abt"), "--set", "ModulePhone=+79160000002"});
    EXPECT_EQ(late.exitCode, 0) << late.out << late.err;
    EXPECT_THAT(runVigil({"history", "--unit", "004512", "--format", "csv"}).out,
                AllOf(HasSubstr(",write,ok,"), HasSubstr("'+79160000002")));

    terminals.swapOnNextWrite(b);
    const auto restore = runVigil({"restore", "--port", kPort, "--unit", "004512"});
    EXPECT_EQ(restore.exitCode, 1) << restore.out << restore.err;
    EXPECT_THAT(restore.out, Not(HasSubstr("verified")));
    EXPECT_EQ(terminals.writes(a), 1u);
}

}  // namespace
