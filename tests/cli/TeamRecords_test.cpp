// The team store end to end: three units recorded while the team's PostgreSQL server goes away
// after the first and comes back; `vigil records sync` then delivers each event once. Runs a
// server of its own (scripts/postgres-test-server.sh) when VIGIL_TEST_POSTGRES says one can run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "CliFixture.h"
#include "protocol/ParameterTable.h"
#include "records/SqlStore.h"

using ::testing::HasSubstr;
using testsupport::count;
using testsupport::runVigil;
using testsupport::SettingsTerminal;

namespace {

std::string serverScript(const std::string& action, const std::string& dir) {
    const std::string command =
        std::string(VIGIL_SOURCE_DIR) + "/scripts/postgres-test-server.sh " + action + " " + dir;
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char line[512];
        while (std::fgets(line, sizeof line, p)) out += line;
        if (::pclose(p) != 0) out.clear();
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

class TeamRecords : public testsupport::OnePortTest<11> {
  protected:
    void SetUp() override {
        if (!std::getenv("VIGIL_TEST_POSTGRES"))
            GTEST_SKIP()
                << "no PostgreSQL server given (VIGIL_TEST_POSTGRES): team store not tested";
        char dir[] = "/tmp/vigil-team-XXXXXX";
        ASSERT_TRUE(::mkdtemp(dir));
        serverDir_ = dir;
        address_ = serverScript("start", serverDir_);
        ASSERT_FALSE(address_.empty()) << "the test server did not start";
        ::setenv("VIGIL_RECORDS", address_.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("VIGIL_RECORDS");
        if (!serverDir_.empty()) serverScript("stop", serverDir_);
    }
    std::string serverDir_, address_;
};

TEST_F(TeamRecords, UnitsRecordedWhileTheServerIsAwayArriveOnceWhenItIsBack) {
    SettingsTerminal terminal(map, kCom);
    const protocol::Parameter& idCode = *protocol::byControl("EIdCod");
    writeFile("t.abt", runVigil({"read", "--port", kPort}).out);  // also unit 004512's first event

    terminal.mode.setValue(idCode, "000201 V 2.07 Eeprom OK");
    const auto first = runVigil({"read", "--port", kPort});
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_THAT(first.err, ::testing::IsEmpty());

    ASSERT_EQ(serverScript("halt", serverDir_), "");
    terminal.mode.setValue(idCode, "000202 V 2.07 Eeprom OK");
    const auto away = runVigil({"write", "--port", kPort, path("t.abt")});
    EXPECT_EQ(away.exitCode, 0) << away.err;  // records are never a reason to refuse a write
    EXPECT_THAT(away.err, HasSubstr("waiting for the team server"));
    terminal.mode.setValue(idCode, "000203 V 2.07 Eeprom OK");
    EXPECT_EQ(runVigil({"read", "--port", kPort}).exitCode, 0);

    EXPECT_THAT(runVigil({"records", "status"}).out, HasSubstr("waiting to be sent: 3"));
    EXPECT_EQ(runVigil({"records", "sync"}).exitCode, 1);  // still away
    serverScript("resume", serverDir_);
    const auto sync = runVigil({"records", "sync"});
    EXPECT_EQ(sync.exitCode, 0) << sync.err;
    EXPECT_THAT(sync.out, HasSubstr("sent: 3, waiting: 0"));
    EXPECT_THAT(runVigil({"records", "sync"}).out, HasSubstr("sent: 0, waiting: 0"));

    auto server = records::SqlStore::openPostgres(address_);
    EXPECT_EQ(server->events("004512").size(), 1u);
    EXPECT_EQ(server->events("000201").size(), 1u);
    EXPECT_EQ(server->events("000202").size(), 2u);  // the snapshot and the write
    EXPECT_EQ(server->events("000203").size(), 1u);
    EXPECT_EQ(server->units().size(), 4u);
}

TEST_F(TeamRecords, AUnitAnotherPcRecordedIsListedAndRestoredHereAndItsOwnWhenTheServerIsAway) {
    SettingsTerminal terminal(map, kCom);
    const protocol::Parameter& phone1 = *protocol::byControl("ETl1");
    const std::string kept = terminal.mode.store().value(phone1);
    ASSERT_EQ(runVigil({"read", "--port", kPort}).exitCode, 0);  // PC A, synced at once

    ::setenv("XDG_DATA_HOME", path("pc-b").c_str(), 1);  // PC B: records of its own
    const auto seen = runVigil({"history", "--unit", "004512"});
    EXPECT_EQ(seen.exitCode, 0) << seen.err;
    EXPECT_THAT(seen.out, HasSubstr("004512  read  ok"));
    EXPECT_THAT(seen.err, ::testing::IsEmpty());

    terminal.mode.setValue(phone1, "+70000000000");
    const auto restored = runVigil({"restore", "--port", kPort, "--unit", "004512"});
    EXPECT_EQ(restored.exitCode, 0) << restored.out << restored.err;
    EXPECT_EQ(terminal.mode.store().value(phone1), kept);

    // B's own events are here and on the server: each is listed once.
    const auto json = runVigil({"history", "--unit", "004512", "--format", "json"});
    EXPECT_EQ(count(json.out, "\"kind\": \"read\""), 2u);  // A's read, B's before the restore
    EXPECT_EQ(count(json.out, "\"kind\": \"restore\""), 1u);

    ASSERT_EQ(serverScript("halt", serverDir_), "");
    const auto away = runVigil({"history", "--unit", "004512", "--format", "json"});
    EXPECT_EQ(away.exitCode, 0);
    EXPECT_EQ(count(away.out, "\"kind\": \"read\""), 1u);  // B's own only
    EXPECT_EQ(count(away.out, "\"kind\": \"restore\""), 1u);
    EXPECT_EQ(count(away.err, "\n"), 1u) << away.err;
    EXPECT_THAT(away.err, HasSubstr("the team's records could not be read"));
    // A unit only the server knows cannot be restored while it is away: nothing is written.
    ::setenv("XDG_DATA_HOME", path("pc-c").c_str(), 1);
    const auto unknown = runVigil({"restore", "--port", kPort, "--unit", "004512"});
    EXPECT_EQ(unknown.exitCode, 2) << unknown.err;
    EXPECT_THAT(unknown.err, HasSubstr("the team's records could not be read"));
}

}  // namespace
