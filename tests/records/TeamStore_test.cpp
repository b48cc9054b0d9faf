// The team's store: the outbox sends each event once whatever fails on the way, against a store
// that gives out half way, and against a real PostgreSQL server when one is given
// (VIGIL_TEST_POSTGRES, as scripts/postgres-test-server.sh prints it).
#include <gmock/gmock.h>
#include <unistd.h>

#include <cstdlib>

#include "RecordsFixture.h"
#include "records/Outbox.h"
#include "records/Recorder.h"
#include "session/UnitIdentity.h"

using records_test::sampleEvent;
using ::testing::HasSubstr;

namespace {

// A server that takes `capacity` events and then goes away.
class FailingServer : public records::Store {
  public:
    explicit FailingServer(int capacity) : capacity_(capacity) {}
    bool add(const records::Event& e) override {
        if (capacity_-- <= 0) throw records::StoreError("the server went away");
        for (const auto& kept : kept_)
            if (kept.uuid == e.uuid) return false;
        kept_.push_back(e);
        return true;
    }
    std::vector<records::UnitSummary> units() override { return {}; }
    std::vector<records::Event> events(std::string_view) override { return kept_; }
    std::string description() const override { return "test server"; }
    int capacity_;
    std::vector<records::Event> kept_;
};

std::string unitNamed(const std::string& prefix) {
    return prefix + records::randomUuid().substr(0, 8) + " V 2.07";
}

TEST(Outbox, AServerThatGoesAwayHalfWayLosesNothingAndDoublesNothing) {
    records_test::TempFolder dir;
    records::Recorder recorder(dir.file("r.sqlite"), "postgresql://team.example/vigil");
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(recorder.record(
            sampleEvent("000101 V 1", "2026-11-12T09:0" + std::to_string(i) + ":00.000Z")));
    FailingServer server(2);
    const records::SyncResult first = records::sendOutbox(*recorder.local(), server);
    EXPECT_EQ(first.sent, 2);
    EXPECT_EQ(first.pending, 3);
    EXPECT_THAT(first.problem, HasSubstr("went away"));
    server.capacity_ = 100;
    const records::SyncResult second = records::sendOutbox(*recorder.local(), server);
    EXPECT_EQ(second.sent, 3);
    EXPECT_EQ(second.pending, 0);
    EXPECT_TRUE(second.problem.empty());
    EXPECT_EQ(server.kept_.size(), 5u);
    EXPECT_EQ(recorder.local()->events("000101").size(), 5u);  // kept here as well
}

class TeamServer : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* address = std::getenv("VIGIL_TEST_POSTGRES");
        if (!address || !*address)
            GTEST_SKIP()
                << "no PostgreSQL server given (VIGIL_TEST_POSTGRES): team store not tested";
        address_ = address;
    }
    std::string address_;
};

TEST_F(TeamServer, EventsReachTheServerOnceFromEveryPc) {
    records_test::TempFolder dir;
    const std::string idcod = unitNamed("T");
    records::Recorder pc1(dir.file("pc1.sqlite"), address_);
    records::Recorder pc2(dir.file("pc2.sqlite"), address_);
    const records::Event a = sampleEvent(idcod, "2026-11-12T09:00:00.000Z");
    records::Event b = sampleEvent(idcod, "2026-11-12T10:00:00.000Z", records::Kind::Upload);
    b.upload = records::UploadFacts{"fw.enc", "ab", 10, 2, "done"};
    ASSERT_TRUE(pc1.record(a));
    ASSERT_TRUE(pc2.record(b));
    ASSERT_TRUE(pc2.record(a));  // the same event reached both (a copied file)
    EXPECT_EQ(pc1.local()->pending(), 1);
    const records::SyncResult s1 = pc1.sync();
    const records::SyncResult s2 = pc2.sync();
    EXPECT_TRUE(s1.problem.empty()) << s1.problem;
    EXPECT_TRUE(s2.problem.empty()) << s2.problem;
    EXPECT_EQ(s1.pending + s2.pending, 0);

    auto server = records::SqlStore::openPostgres(address_);
    const auto unit = session::unitIdentity(idcod);
    const auto events = server->events(unit);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], a);
    EXPECT_EQ(events[1], b);
    bool listed = false;
    for (const auto& u : server->units())
        if (u.unitId == unit) {
            listed = true;
            EXPECT_EQ(u.events, 2);
            EXPECT_EQ(u.lastResult, "ok");
        }
    EXPECT_TRUE(listed);
}

TEST_F(TeamServer, AnUnreachableServerKeepsEventsWaitingAndTellsWithoutItsPassword) {
    records_test::TempFolder dir;
    records::Recorder pc(dir.file("pc.sqlite"), "postgresql://tech:s3cret@/vigil_test?host=" +
                                                    dir.file("none") + "&port=1");
    const std::string idcod = unitNamed("U");
    ASSERT_TRUE(pc.record(sampleEvent(idcod, "2026-11-12T09:00:00.000Z")));
    const records::SyncResult away = pc.sync();
    EXPECT_EQ(away.pending, 1);
    EXPECT_THAT(away.problem, HasSubstr("cannot be used"));
    EXPECT_THAT(away.problem, ::testing::Not(HasSubstr("s3cret")));
}

// Another session holding the events table (an administrator's transaction left open) makes a
// send give up with the event still waiting, not hang the command that recorded it.
TEST_F(TeamServer, ATableLockedByAnotherSessionFailsTheSendInsteadOfHanging) {
    if (std::system("command -v psql >/dev/null") != 0) GTEST_SKIP() << "no psql";
    // A schema of this test's own, so that the lock stalls no other test on the server.
    const std::string schema = "lock" + records::randomUuid().substr(0, 8);
    const std::string own = address_ + "&options=-csearch_path%3D" + schema;
    ASSERT_EQ(std::system(("psql -q '" + address_ + "' -c 'CREATE SCHEMA " + schema + "'").c_str()),
              0);
    records::SqlStore::openPostgres(own);  // its tables made
    ASSERT_EQ(std::system(("psql -q '" + own + "&application_name=" + schema +
                           "' -c 'BEGIN; LOCK TABLE events; SELECT pg_sleep(60); COMMIT;'"
                           " >/dev/null 2>&1 &")
                              .c_str()),
              0);
    records_test::TempFolder dir;
    records::Recorder pc(dir.file("pc.sqlite"), own);
    ASSERT_TRUE(pc.record(sampleEvent(unitNamed("L"), "2026-11-12T09:00:00.000Z")));
    const std::string locked = "psql -Atq '" + address_ +
                               "' -c \"SELECT count(*) FROM pg_locks l JOIN pg_stat_activity a"
                               " USING (pid) WHERE a.application_name = '" +
                               schema + "' AND l.mode = 'AccessExclusiveLock' AND l.granted\"" +
                               " | grep -qx 1";
    for (int i = 0; i < 100 && std::system(locked.c_str()) != 0; ++i) ::usleep(100000);
    const records::SyncResult held = pc.sync();
    EXPECT_EQ(held.pending, 1);
    EXPECT_THAT(held.problem, HasSubstr("statement timeout"));
    (void)!std::system(("psql -q '" + address_ +
                        "' -c \"SELECT pg_terminate_backend(pid) FROM pg_stat_activity"
                        " WHERE application_name = '" +
                        schema + "'\" >/dev/null")
                           .c_str());
    EXPECT_EQ(pc.sync().pending, 0);
}

}  // namespace
