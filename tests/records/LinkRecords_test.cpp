// What one connection files: the unit each event names, when an answer is a read, and what the
// front end is told after each event.
#include "records/LinkRecords.h"

#include <gtest/gtest.h>

#include <fstream>

#include "protocol/ValueStore.h"
#include "records/PacedSync.h"
#include "tests/records/RecordsFixture.h"

namespace {

using records::Kind;
using records::Result;

class CountingFiling : public records::Filing {
  public:
    void kept(records::Recorder&) override { ++keptCount; }
    void notKept(const std::string& problem) override { problems.push_back(problem); }
    int keptCount = 0;
    std::vector<std::string> problems;
};

protocol::ValueStore terminalNamed(const std::string& idCod) {
    protocol::ValueStore values;
    values.setText(protocol::kIdCode, idCod);
    return values;
}

session::WatchReport writeConfirmed() {
    session::WatchReport report;
    report.confirmedTabs.insert(0);
    return report;
}

struct Link {
    records_test::TempFolder folder;
    CountingFiling filing;
    records::LinkRecords link{records::Recorder(folder.file("r.sqlite"), ""), "test"};
    Link() {
        link.setFiling(&filing);
        link.linkOpened(3);
    }
    std::vector<records::Event> events(const std::string& unit) {
        return link.recorder().local()->events(unit);
    }
};

TEST(LinkRecords, AReadIsFiledOnceWholeAndNamesANewUnitOnlyOnce) {
    Link l;
    const protocol::ValueStore screen = terminalNamed("000101 V 2.07");
    const session::ParameterSet idCode{&protocol::kIdCode}, other{&protocol::kParameters.front()};
    // The answer comes in two receptions: the one with IDCOD= first, the rest after.
    EXPECT_FALSE(l.link.answered(screen, idCode, {}, false).filed);
    const records::AnswerFiled whole = l.link.answered(screen, other, {}, true);
    EXPECT_TRUE(whole.read && whole.filed && whole.kept);
    EXPECT_EQ(whole.newUnit, "000101");
    EXPECT_EQ(whole.lastSeen, "");
    const records::AnswerFiled again = l.link.answered(screen, idCode, {}, true);
    EXPECT_TRUE(again.read);
    EXPECT_EQ(again.newUnit, "");  // the same unit is not news
    // A reception that neither reads nor confirms a write files nothing.
    EXPECT_FALSE(l.link.answered(screen, other, {}, true).filed);
    const auto kept = l.events("000101");
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].kind, Kind::Read);
    EXPECT_EQ(kept[0].port, "COM3");
    EXPECT_EQ(l.filing.keptCount, 2);
}

TEST(LinkRecords, AWriteNamesTheUnitThisLinkHeardNotTheOneStillOnTheScreen) {
    Link l;
    // Read over an earlier link, then the terminal was swapped and the link opened again.
    const protocol::ValueStore screen = terminalNamed("000101 V 2.07");
    l.link.answered(screen, {&protocol::kIdCode}, {}, true);
    l.link.linkOpened(3);
    EXPECT_FALSE(l.link.heardSinceLinkOpened());
    l.link.snapshot(terminalNamed("000202 V 2.07"), "snapshot");
    EXPECT_TRUE(l.link.heardSinceLinkOpened());
    l.link.answered(screen, {}, writeConfirmed(), true);
    const auto written = l.events("000202");
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[1].kind, Kind::Write);
    EXPECT_EQ(records::valueOf(written[1].values, "IdCode"), "000202 V 2.07");
    EXPECT_EQ(l.events("000101").size(), 1u);
    // Nothing heard on a new link: the write names no unit rather than a guess.
    l.link.linkOpened(3);
    l.link.answered(screen, {}, writeConfirmed(), true);
    EXPECT_EQ(l.events("000101").size(), 1u);
    EXPECT_EQ(l.link.heardIdCod(), "");
}

TEST(LinkRecords, AnOverdueAnswerFilesTheWriteItCutShortAndNoRead) {
    Link l;
    const protocol::ValueStore screen = terminalNamed("000101");
    l.link.snapshot(screen, "snapshot");
    // A read cut short is not filed as a read when its time is up.
    l.link.answered(screen, {&protocol::kIdCode}, {}, false);
    session::WatchReport partly;
    constexpr const protocol::Parameter& apn = *protocol::byName("Apn");
    partly.mismatches.push_back({&apn, "internet", std::nullopt});
    partly.sent.push_back({&apn, "internet"});
    l.link.expired(screen, partly);
    const auto kept = l.events("000101");
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[1].kind, Kind::Write);
    EXPECT_EQ(kept[1].result, Result::Differs);
    ASSERT_EQ(kept[1].differences.size(), 1u);
    EXPECT_EQ(kept[1].differences[0].after, "");
    // A later reception that settles is not taken for the rest of that read.
    EXPECT_FALSE(l.link.answered(screen, {}, {}, true).filed);
    // Nothing answered at all: nothing to file.
    session::WatchReport silent;
    silent.silent = true;
    l.link.expired(screen, silent);
    EXPECT_EQ(l.events("000101").size(), 2u);
}

TEST(LinkRecords, ReadsWritesAndUploadsTakeTheResultTheirEndGives) {
    Link l;
    const protocol::ValueStore unit = terminalNamed("000303");
    EXPECT_EQ(l.link.read(Kind::Read, "vigil read", &unit, Result::Ok, false), "000303");
    EXPECT_EQ(l.link.read(Kind::Read, "vigil read", nullptr, Result::Silent), "");
    l.link.written(Kind::Restore, "vigil restore", "000303", unit, nullptr, Result::Cancelled, {});
    records::UploadFacts facts;
    l.link.uploaded("000303", "upload", facts, false);  // no outcome text: nothing was sent
    facts.outcome = "refused";
    l.link.uploaded("000303", "upload", facts, false);
    const auto kept = l.events("000303");
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_EQ(kept[0].result, Result::Failed);  // an answer that lacks keys
    EXPECT_EQ(kept[1].kind, Kind::Restore);
    EXPECT_TRUE(kept[1].values.empty());
    EXPECT_EQ(kept[1].result, Result::Cancelled);
    EXPECT_EQ(kept[2].result, Result::Cancelled);
    EXPECT_EQ(kept[3].result, Result::Failed);
}

TEST(LinkRecords, AStoreThatCannotBeOpenedIsToldAndEveryWriteGoesAhead) {
    records_test::TempFolder folder;
    CountingFiling filing;
    std::ofstream(folder.file("plain")) << "a file, not a folder";
    records::LinkRecords link(records::Recorder(folder.file("plain/r.sqlite"), ""), "test");
    link.setFiling(&filing);
    link.linkOpened(3);
    EXPECT_TRUE(link.heardSinceLinkOpened());  // no snapshot to wait for
    const records::AnswerFiled read =
        link.answered(terminalNamed("000101"), {&protocol::kIdCode}, {}, true);
    EXPECT_TRUE(read.filed);
    EXPECT_FALSE(read.kept);
    EXPECT_EQ(read.newUnit, "");
    ASSERT_EQ(filing.problems.size(), 1u);
    EXPECT_FALSE(filing.problems[0].empty());
}

TEST(PacedSync, AServerAwayIsTriedOnceThenLeftForThePause) {
    records_test::TempFolder folder;
    records::Recorder recorder(folder.file("r.sqlite"), "postgresql:///x?host=/nonexistent&port=1");
    recorder.record(records_test::sampleEvent("000101", "2026-11-12T09:30:00.000Z"));
    records::PacedSync paced;
    const auto first = paced.offer(recorder);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->problem.empty());
    EXPECT_EQ(first->pending, 1);
    EXPECT_FALSE(paced.offer(recorder));
    EXPECT_TRUE(records::PacedSync(std::chrono::seconds(0)).offer(recorder));
    records::Recorder alone(folder.file("r2.sqlite"), "");
    EXPECT_FALSE(paced.offer(alone));  // no server set: nothing to try

    records::ToldOnce told;
    EXPECT_TRUE(told.fresh("locked"));
    EXPECT_FALSE(told.fresh("locked"));
    EXPECT_FALSE(told.fresh(""));
    EXPECT_TRUE(told.fresh("full"));
}

}  // namespace
