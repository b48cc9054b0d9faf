// The window's driver of the exchange rule: when the answer to the latest request is over, and
// what an overdue answer puts back.
#include "session/AnswerWatch.h"

#include <gtest/gtest.h>

#include "protocol/TransmitBuffer.h"
#include "protocol/ValueStore.h"

namespace {

using std::chrono::milliseconds;
constexpr unsigned kRate = 9600;

std::span<const std::uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

struct Sent {
    protocol::ComposedRequest request;
    std::size_t length = 0;
};

// Composes `mask` from the screen, empties it and tells the watch at `at`.
Sent send(session::AnswerWatch& watch, protocol::ValueStore& screen, std::uint16_t mask,
          session::Clock::time_point at) {
    protocol::TransmitBuffer buffer;
    Sent s{protocol::composeRequest(screen, mask, buffer), buffer.length()};
    const auto before =
        protocol::snapshotValues(screen, session::AnswerWatch::emptiedBy(s.request));
    protocol::applyEmptying(screen, s.request);
    watch.sent(s.request, before, s.length, kRate, at);
    return s;
}

}  // namespace

TEST(AnswerWatch, OnlyTheLatestRequestsKeysOrItsTimeOutEndTheWait) {
    protocol::ValueStore screen;
    screen.setText(*protocol::byControl("ETl1"), "+79160001122");
    session::AnswerWatch watch(screen);
    EXPECT_FALSE(watch.deadline());
    const auto t0 = session::Clock::now();
    const Sent write = send(watch, screen, protocol::mask::Phones, t0);
    const int timeout = session::answerTimeoutMs(
        write.length, session::expectedAnswerBytes(session::AnswerWatch::answeredTo(write.request)),
        kRate);
    EXPECT_EQ(watch.deadline(), t0 + milliseconds(timeout));

    // The terminal stops after the first item: the rest may still come.
    watch.heard(bytes("TL1=+79160001122:"), t0 + milliseconds(100));
    EXPECT_EQ(watch.deadline(), t0 + milliseconds(timeout));

    // A read behind the unanswered write sets the time-out.
    const auto t1 = t0 + milliseconds(150);
    const Sent read = send(watch, screen, protocol::mask::Read, t1);
    watch.heard(bytes("TL1=+79160001122:"), t1 + milliseconds(10));
    EXPECT_EQ(
        *watch.deadline(),
        t1 + milliseconds(session::answerTimeoutMs(
                 read.length, session::expectedAnswerBytes(session::everyParameter()), kRate)));

    // Overdue: the operator's number comes back, nothing is awaited any more.
    const session::WatchReport report = watch.expire();
    EXPECT_EQ(screen.text(*protocol::byControl("ETl1")), "+79160001122");
    EXPECT_TRUE(report.restoredTabs.count(protocol::TabPhones));
    EXPECT_FALSE(watch.waiting());
    EXPECT_FALSE(watch.deadline());
}

// A terminal that answers every request late: the answer to a read given up at its time-out comes
// while a write is on its way, bringing the terminal's old values. It fills the controls, but the
// write is judged by its own answer only.
TEST(AnswerWatch, ALateAnswerOfAReadGivenUpConfirmsNoWriteSentAfterIt) {
    const protocol::Parameter& tl1 = *protocol::byControl("ETl1");
    const auto all = session::everyParameter();
    const session::ParameterSet everything(all.begin(), all.end());
    protocol::ValueStore screen;
    session::AnswerWatch watch(screen);
    const auto t0 = session::Clock::now();
    send(watch, screen, protocol::mask::Read, t0);
    watch.expire(t0 + milliseconds(2300));

    screen.setText(tl1, "+70000000001");
    const Sent write = send(watch, screen, protocol::mask::Phones, t0 + milliseconds(2400));
    const auto sent = session::AnswerWatch::answeredTo(write.request);
    const session::ParameterSet phones(sent.begin(), sent.end());
    screen.setText(tl1, "+79999999999");  // the read's answer, the terminal's old number
    session::WatchReport report = watch.answered(everything, t0 + milliseconds(2500));
    EXPECT_TRUE(report.mismatches.empty());
    EXPECT_TRUE(watch.waiting());

    screen.setText(tl1, "+70000000001");  // the write's own answer
    report = watch.answered(phones, t0 + milliseconds(4900));
    EXPECT_TRUE(report.mismatches.empty());
    EXPECT_TRUE(report.confirmedTabs.count(protocol::TabPhones));

    // Once the settle has passed, an answer is the write's own again: a difference is reported.
    send(watch, screen, protocol::mask::Read, t0 + milliseconds(5000));
    watch.expire(t0 + milliseconds(7300));
    send(watch, screen, protocol::mask::Phones, t0 + milliseconds(9500));
    screen.setText(tl1, "+79999999999");
    report = watch.answered(phones, t0 + milliseconds(9600));
    ASSERT_EQ(report.mismatches.size(), 1u);
    EXPECT_EQ(report.mismatches[0].actual, "+79999999999");
}
