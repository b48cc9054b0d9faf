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
