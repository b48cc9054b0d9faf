// What verified, differs and no answer mean for a write, and the read-backs each option asks for.
#include "session/Verification.h"

#include <gtest/gtest.h>

#include "protocol/ValueStore.h"

namespace {

using protocol::byControl;
using session::ReadBack;
using session::Verification;

const protocol::Parameter* const tl1 = byControl("ETl1");
const protocol::Parameter* const tl2 = byControl("ETl2");
const protocol::Parameter* const sms = byControl("ChSim1ForP1");

struct Sent : ::testing::Test {
    protocol::ValueStore values;
    protocol::ValueSnapshot sent;
    void SetUp() override {
        values.setText(*protocol::byControl("ETl1"), "111");
        values.setText(*protocol::byControl("ETl2"), "222");
        values.setChecked(*protocol::byControl("ChSim1ForP1"), true);
        sent = protocol::snapshotValues(values, std::vector{tl1, tl2, sms});
    }
};

}  // namespace

TEST_F(Sent, TheAnswerAloneDecidesWithoutReadBack) {
    Verification check(sent, ReadBack::None);
    EXPECT_FALSE(check.anyAnswered());
    values.setText(*protocol::byControl("ETl2"), "2");
    check.answered({tl1, tl2});
    EXPECT_TRUE(check.anyAnswered());
    EXPECT_TRUE(check.nextReadBack(values).empty());
    const auto wrong = check.mismatches(values);
    ASSERT_EQ(wrong.size(), 2u);
    EXPECT_EQ(wrong[0].parameter, tl2);
    EXPECT_EQ(wrong[0].actual, "2");
    EXPECT_EQ(wrong[1].parameter, sms);  // no answer
    EXPECT_FALSE(wrong[1].actual);

    // What the operator set meanwhile is no longer checked; a later answer counts.
    check.overwritten({sms});
    values.setText(*protocol::byControl("ETl2"), "222");
    EXPECT_TRUE(check.mismatches(values).empty());
}

TEST_F(Sent, ConfirmReadsWhatTheAnswerLackedThenWhatDiffers) {
    Verification check(sent, ReadBack::Confirm);
    values.setText(*protocol::byControl("ETl1"), "late");
    check.answered({tl1, tl2});
    EXPECT_EQ(check.nextReadBack(values), (std::vector{sms}));
    check.answered({sms});
    EXPECT_EQ(check.nextReadBack(values), (std::vector{tl1}));
    values.setText(*protocol::byControl("ETl1"),
                   "111");  // the read agrees: the difference was a late answer
    check.answered({tl1});
    EXPECT_TRUE(check.nextReadBack(values).empty());
    EXPECT_TRUE(check.mismatches(values).empty());

    // Everything answered at once and equal: no read at all.
    Verification agreed(sent, ReadBack::Confirm);
    agreed.answered({tl1, tl2, sms});
    EXPECT_TRUE(agreed.nextReadBack(values).empty());
}

TEST_F(Sent, AReadBackLeftUnansweredIsNoAnswerNeverADifference) {
    using session::Verdict;
    // The answer lacked a value and the read for it went unanswered.
    Verification lacking(sent, ReadBack::Confirm);
    lacking.answered({tl1, tl2});
    EXPECT_EQ(lacking.nextReadBack(values), (std::vector{sms}));
    EXPECT_EQ(lacking.nextReadBack(values), (std::vector{sms}));  // once more, then it stands
    EXPECT_TRUE(lacking.nextReadBack(values).empty());
    EXPECT_EQ(Verification::verdictOf(lacking.mismatches(values)), Verdict::NoAnswer);

    // A difference (a late answer of another request, say) that the confirming read leaves
    // unanswered is not confirmed: no answer, not a difference.
    Verification unconfirmed(sent, ReadBack::Confirm);
    values.setText(*protocol::byControl("ETl1"), "stale");
    unconfirmed.answered({tl1, tl2, sms});
    EXPECT_EQ(unconfirmed.nextReadBack(values), (std::vector{tl1}));
    EXPECT_TRUE(unconfirmed.nextReadBack(values).empty());
    const auto left = unconfirmed.mismatches(values);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_FALSE(left[0].actual);
    EXPECT_EQ(Verification::verdictOf(left), Verdict::NoAnswer);

    // A confirmed difference stands beside a value with no answer.
    Verification both(sent, ReadBack::None);
    both.answered({tl1});
    EXPECT_EQ(Verification::verdictOf(both.mismatches(values)), Verdict::Differs);
}
