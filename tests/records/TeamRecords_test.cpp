// The team's records united with this PC's: a unit both know counted with what waits here and
// named by the newer side; a server that cannot be read leaving this PC's records and a notice
// without the password. (An event both hold shown once: the cli and window tests.)
#include "records/TeamRecords.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RecordsFixture.h"

using records_test::sampleEvent;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

TEST(UnitedRecords, AUnitBothKnowIsCountedOnceAndNamedByTheNewerSide) {
    const records::UnitSummary here{
        "000101", "000101 V 2.07", "+7900", "2.07", "2026-11-12T10:00:00.000Z", "ok", 3};
    const records::UnitSummary there{
        "000101", "000101 V 2.08", "+7911", "2.08", "2026-11-11T09:00:00.000Z", "differs", 5};
    const records::UnitSummary onlyThere{"000202", "000202", "", "", "2026-01-01", "ok", 1};
    const auto units = records::unitedUnits({here}, {there, onlyThere}, {{"000101", 1}});
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0].ownNumber, "+7900");  // this PC saw it last
    EXPECT_EQ(units[0].lastResult, "ok");
    EXPECT_EQ(units[0].events, 6);  // the server's five and the one waiting here
    EXPECT_EQ(units[1].unitId, "000202");
    // Events kept here before a team server was set never reach it: at least this PC's count.
    EXPECT_EQ(records::unitedUnits({here}, {}, {})[0].events, 3);
    EXPECT_EQ(records::unitedUnits({here}, {there}, {})[0].events, 5);
}

TEST(UnitedRecords, AServerThatCannotBeReadLeavesThisPcsRecordsAndSaysWhyWithoutThePassword) {
    records_test::TempFolder folder;
    auto local = records::SqlStore::openSqlite(folder.file("records.sqlite"));
    local->add(sampleEvent("000101 V 2.07", "2026-11-12T10:00:00.000Z"), true);
    const std::string away =
        "postgresql://tech:s3cret@/vigil?host=" + folder.file("no-server") + "&port=5";
    const records::TeamEvents events = records::teamEvents(*local, away, "000101");
    EXPECT_EQ(events.events.size(), 1u);
    EXPECT_THAT(events.notice, HasSubstr("cannot be used"));
    EXPECT_THAT(events.notice, Not(HasSubstr("s3cret")));
    const records::TeamUnits units = records::teamUnits(*local, away);
    ASSERT_EQ(units.units.size(), 1u);
    EXPECT_EQ(units.units[0].events, 1);
    EXPECT_FALSE(units.notice.empty());
    EXPECT_TRUE(records::teamEvents(*local, "", "000101").notice.empty());  // no server set
}

}  // namespace
