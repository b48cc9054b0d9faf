// Which kept values a restore writes, and that a snapshot lacking a value never blanks it.
#include "records/Snapshot.h"

#include <gmock/gmock.h>

#include "RecordsFixture.h"
#include "protocol/ValueStore.h"

using records_test::sampleEvent;

namespace {

TEST(Snapshot, TheNewestByTimeOrBeforeTheLatestErase) {
    using records::Kind;
    std::vector<records::Event> events = {
        sampleEvent("000101 V 1", "2026-11-10T09:00:00.000Z", Kind::Read),
        sampleEvent("000101 V 1", "2026-11-12T09:00:00.000Z", Kind::Read),
        sampleEvent("000101 V 1", "2026-11-12T09:00:01.000Z", Kind::Erase),
        sampleEvent("000101 V 1", "2026-11-13T09:00:00.000Z", Kind::Read),
        sampleEvent("000101 V 1", "2026-11-14T09:00:00.000Z", Kind::Write),
    };
    events[4].result = records::Result::Silent;  // no answer: holds nothing
    std::string why;
    EXPECT_EQ(records::chooseSnapshot(events, {}, why), &events[3]);
    EXPECT_EQ(records::chooseSnapshot(events, {"2026-11-12", false}, why),
              &events[1]);  // that whole day
    EXPECT_EQ(records::chooseSnapshot(events, {"2026-11-11T23:59", false}, why), &events[0]);
    EXPECT_EQ(records::chooseSnapshot(events, {"", true}, why), &events[1]);
    EXPECT_EQ(records::chooseSnapshot(events, {"2026-11-09", false}, why), nullptr);
    EXPECT_THAT(why, ::testing::HasSubstr("2026-11-09"));
    events.erase(events.begin() + 2);
    EXPECT_EQ(records::chooseSnapshot(events, {"", true}, why), nullptr);
}

// A time typed in another form must not compare as some other time (a blank sorts before 'T').
TEST(Snapshot, ATypedTimeIsTakenInTheEventsFormOrRefused) {
    EXPECT_EQ(records::snapshotTime("2026-11-12"), "2026-11-12");
    EXPECT_EQ(records::snapshotTime("2026-11-12 10:30"), "2026-11-12T10:30");
    EXPECT_EQ(records::snapshotTime("2026-11-12T10:30:15Z"), "2026-11-12T10:30:15");
    for (const char* wrong : {"", "yesterday", "12.11.2026", "2026-11-12T99", "2026-13-01",
                              "2026-11-12T10:3", "2026-11-12T10:30:15.250Z", "2026-11-12x"})
        EXPECT_EQ(records::snapshotTime(wrong), std::nullopt) << wrong;
}

TEST(Snapshot, ValuesComeBackForTheLinkAndAMissingOneRefusesTheWhole) {
    records::Event e = sampleEvent("000101 V 1", "2026-11-12T09:00:00.000Z");
    protocol::ValueStore terminal;
    terminal.setText(*protocol::byControl("EApn1"),
                     "\xE8\xED\xF2\xE5\xF0\xED\xE5\xF2");  // cp1251 on the link
    terminal.setItemIndex(*protocol::byControl("CBNmbPress"), 1);
    e.values = records::valuesOf(terminal);
    protocol::ValueStore restored;
    std::string why;
    ASSERT_TRUE(records::applySnapshot(e.values, restored, why)) << why;
    EXPECT_EQ(restored.text(*protocol::byControl("EApn1")),
              terminal.text(*protocol::byControl("EApn1")));
    EXPECT_EQ(restored.itemIndex(*protocol::byControl("CBNmbPress")), 1);

    // A snapshot without one value (an older program's) changes nothing at all.
    std::erase_if(e.values, [](const auto& v) { return v.first == "MicSensitivity"; });
    protocol::ValueStore untouched;
    untouched.setText(*protocol::byControl("ETl1"), "+7900");
    EXPECT_FALSE(records::applySnapshot(e.values, untouched, why));
    EXPECT_THAT(why, ::testing::HasSubstr("MicSensitivity"));
    EXPECT_EQ(untouched.text(*protocol::byControl("ETl1")), "+7900");
}

}  // namespace
