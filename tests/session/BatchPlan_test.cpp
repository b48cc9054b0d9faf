// Which unit a batch asks for and which unit a connected terminal is, as the log binds them.
#include "session/BatchPlan.h"

#include <gtest/gtest.h>

#include "session/DisconnectWatch.h"
#include "support/ScratchFolder.h"

namespace {

using Kind = session::TerminalVerdict::Kind;

class Plan : public ::testing::Test, protected testsupport::ScratchFolder {
  protected:
    // The log with `rows` (after its header) and units U1..U4.
    void start(const std::string& rows) {
        writeFile("log.csv", "time,unit,idcode,result,differences\n" + rows);
        std::string error;
        log = session::BatchLog::open(path("log.csv"), error);
        ASSERT_TRUE(log) << error;
        auto parsed = session::parseUnitsFile("unit,TL9\nU1,\nU2,\nU3,\nU4,\n", "units", error);
        ASSERT_TRUE(parsed) << error;
        units = std::move(*parsed);
    }

    std::optional<session::BatchLog> log;
    std::vector<session::Unit> units;
};

TEST_F(Plan, AKnownTerminalIsItsUnitAndOnlyAnUnseenOneTakesANewUnit) {
    start(
        "t,U1,001 V1,ok,\n"
        "t,U2,002 V1,failed,x\n"
        "t,U9,009 V1,failed,x\n"  // a unit the units file does not list
        "t,U3,003 V1,failed,x\n"  // 003 was swapped in for U3 and failed...
        "t,U3,033 V1,ok,\n");     // ...then U3 was done on its own terminal
    session::BatchPlan plan(*log, units);
    EXPECT_EQ(plan.doneCount(), 2);
    const auto verdict = [&](const char* idCod) { return plan.judge(idCod); };
    EXPECT_EQ(verdict("001 V2").kind, Kind::Done);  // a firmware update changes no unit
    EXPECT_EQ(verdict("002 V1").kind, Kind::Retry);
    EXPECT_EQ(verdict("002 V1").unit->label, "U2");
    EXPECT_EQ(verdict("009 V1").kind, Kind::NotListed);
    EXPECT_EQ(verdict("003 V1").kind, Kind::StrayAttempt);
    EXPECT_EQ(verdict("003 V1").known, "U3");
    EXPECT_EQ(verdict(" V1").kind, Kind::Unidentified);
    EXPECT_EQ(verdict("").kind, Kind::Unidentified);
    // U2 has a terminal bound to it: a new one takes U4, and U4 is asked for first.
    EXPECT_EQ(verdict("004 V1").kind, Kind::Fresh);
    EXPECT_EQ(verdict("004 V1").unit->label, "U4");
    EXPECT_EQ(plan.asked()->label, "U4");
    plan.tried("U4");
    EXPECT_EQ(plan.asked()->label, "U2");  // then the failed one, once in the run
    EXPECT_EQ(verdict("005 V1").kind, Kind::NoUnitLeft);
    plan.tried("U2");
    EXPECT_EQ(plan.asked(), nullptr);
}

TEST(BatchPlan, ATerminalStaysConnectedWhileItAnswersAsTheSameUnit) {
    EXPECT_TRUE(session::stillConnected("001 V1", "001 V2"));
    EXPECT_FALSE(session::stillConnected("001 V1", "002 V1"));
    // One without a code is the same only while it answers the very same text.
    EXPECT_TRUE(session::stillConnected(" V1", " V1"));
    EXPECT_FALSE(session::stillConnected(" V1", " V2"));
    EXPECT_FALSE(session::stillConnected("", "001 V1"));
}

// Polling a unit just done: one missed answer keeps it connected, two in a row or another
// terminal's answer do not; an answer resets the count.
TEST(BatchPlan, AUnitIsDisconnectedAfterTwoSilentReadsOrAnotherTerminalsAnswer) {
    session::DisconnectWatch watch("001 V1");
    EXPECT_FALSE(watch.silent());
    EXPECT_FALSE(watch.answered("001 V2"));
    EXPECT_FALSE(watch.silent());
    EXPECT_FALSE(watch.answered(std::nullopt));  // an answer without IDCOD= names nobody
    EXPECT_FALSE(watch.silent());
    EXPECT_TRUE(watch.silent());
    EXPECT_TRUE(session::DisconnectWatch("001 V1").answered("002 V1"));
}

TEST(BatchPlan, AnAttemptIsOkOnlyWhenNothingDiffers) {
    const session::LogRow ok = session::attemptRow("t", "U1", "001", {});
    EXPECT_EQ(ok.result, session::kResultOk);
    EXPECT_EQ(ok.differences, "");
    const session::LogRow failed = session::attemptRow("t", "U1", "001", {"a", "b"});
    EXPECT_EQ(failed.result, session::kResultFailed);
    EXPECT_EQ(failed.differences, "a; b");
}

}  // namespace
