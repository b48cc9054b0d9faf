// When an answer is over: every expected key, a pause once it began, a full receive buffer, or the
// time-out fixed from the wire time at the send.
#include "session/AnswerGathering.h"

#include <gtest/gtest.h>

#include "session/ExchangeRules.h"

namespace {

using session::AnswerGathering;
using End = AnswerGathering::End;
using std::chrono::milliseconds;

const protocol::Parameter* const kTl1 = protocol::byControl("ETl1");
const protocol::Parameter* const kTl2 = protocol::byControl("ETl2");
const std::vector<const protocol::Parameter*> kExpected{kTl1, kTl2};
constexpr unsigned kRate = 9600;

std::span<const std::uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

TEST(AnswerGathering, AnItemCutBetweenReceptionsCountsAndTheLastKeyEndsTheAnswer) {
    const auto sent = session::Clock::now();
    AnswerGathering answer(kExpected, 20, kRate, sent);
    answer.take(bytes("$TL1=12"), sent + milliseconds(50));
    EXPECT_FALSE(answer.over(sent + milliseconds(60)));
    answer.take(bytes("3:TL2="), sent + milliseconds(70));
    EXPECT_EQ(answer.end(), End::Paused);  // TL2 has no ":" yet
    answer.take(bytes("9:"), sent + milliseconds(80));
    EXPECT_TRUE(answer.over(sent + milliseconds(80)));
    EXPECT_EQ(answer.end(), End::Complete);
    EXPECT_EQ(answer.bytes(), "$TL1=123:TL2=9:");
}

TEST(AnswerGathering, SilencePauseFullBufferAndLimitEndItIncomplete) {
    const auto sent = session::Clock::now();
    // Silence is known by the time-out of an empty answer, however long the answer expected: a
    // silent terminal (an unplugged unit) is noticed as soon by a read as by a short write.
    const auto firstByteBy = sent + milliseconds(session::answerTimeoutMs(20, 0, kRate));
    AnswerGathering silent(session::everyParameter(), 20, kRate, sent);
    EXPECT_FALSE(silent.over(firstByteBy - milliseconds(1)));
    EXPECT_TRUE(silent.over(firstByteBy));
    EXPECT_LT(firstByteBy, silent.limit());
    EXPECT_EQ(silent.end(), End::Silent);

    AnswerGathering paused(kExpected, 20, kRate, sent);
    paused.take(bytes("$TL1=1:"), sent + milliseconds(100));
    const auto pauseEnds = sent + milliseconds(100) + session::answerPause(kRate);
    EXPECT_FALSE(paused.over(pauseEnds - milliseconds(1)));
    EXPECT_TRUE(paused.over(pauseEnds));
    EXPECT_EQ(paused.end(), End::Paused);

    // A terminal that never stops talking: the buffer fills, then nothing more is kept.
    AnswerGathering chatter(kExpected, 20, kRate, sent);
    const std::string block(1000, 'x');
    for (int i = 0; i < 5; ++i) chatter.take(bytes(block), sent + milliseconds(10));
    EXPECT_EQ(chatter.bytes().size(), session::kAnswerCapacity);
    EXPECT_TRUE(chatter.over(sent + milliseconds(10)));
    EXPECT_TRUE(AnswerGathering(kExpected, 20, kRate, sent).over(chatter.limit()));
}

// The window waits out the terminal's pauses and a full buffer: only the keys (or the time-out) end
// its answer, however long the terminal stops before the rest. A slow line is given the time its
// answer takes: a read at 300 bit/s that keeps coming is not cut after ten seconds.
TEST(AnswerGathering, WaitingOutPausesOrOnASlowLineOnlyKeysOrTheTimeOutEndIt) {
    const auto sent = session::Clock::now();
    AnswerGathering behind(kExpected, 20, kRate, sent);
    behind.waitOutPauses();
    EXPECT_EQ(behind.deadline(), behind.limit());  // nor a late first byte
    behind.take(bytes("$TL1=1:"), sent + milliseconds(100));
    EXPECT_EQ(behind.deadline(), behind.limit());
    behind.take(bytes(std::string(session::kAnswerCapacity, 'x')), sent + milliseconds(200));
    EXPECT_EQ(behind.deadline(), behind.limit());
    behind.take(bytes("TL2=2:"), sent + milliseconds(900));
    EXPECT_FALSE(behind.over(sent + milliseconds(900)));  // dropped: the buffer is full

    const auto& every = session::everyParameter();
    AnswerGathering slow(every, 20, 300, sent);
    for (int ms = 0; ms <= 30000; ms += 200)
        slow.take(bytes("GPRLAT=5545.1234N:"), sent + milliseconds(ms));
    EXPECT_FALSE(slow.over(sent + milliseconds(30000)));
    EXPECT_EQ(slow.end(), End::Paused);
    EXPECT_GT(slow.limit(), sent + milliseconds(60000));
}
