// Line events, flow control, stalled writes and a vanishing device, on the fake device.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "support/FakePortFixture.h"

using namespace std::chrono_literals;
using testsupport::pumpFor;
using testsupport::pumpUntil;
namespace ev = platform::lineEvent;
namespace mb = platform::modemBit;

namespace {

class Events : public testsupport::FakePortTest {
  protected:
    // Every status handler appends its name.
    void recordAll() {
        const std::pair<TNotifyEvent TCommPort::*, const char*> handlers[] = {
            {&TCommPort::OnCTSSignal, "CTS"},  {&TCommPort::OnDCDSignal, "DCD"},
            {&TCommPort::OnDSRSignal, "DSR"},  {&TCommPort::OnRingSignal, "Ring"},
            {&TCommPort::OnRxDSignal, "RxD"},  {&TCommPort::OnRxEventSignal, "RxEvent"},
            {&TCommPort::OnTxDSignal, "TxD"},  {&TCommPort::OnBreakSignal, "Break"},
            {&TCommPort::OnDeviceLost, "Lost"}};
        for (const auto& [h, name] : handlers)
            port.*h = [this, n = name](TCommPort*) { calls.push_back(n); };
        port.OnErrorSignal = [this](TCommPort*, int e) { calls.push_back("Error"), lastError = e; };
    }
    std::size_t count(const std::string& name) const {
        return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), name));
    }

    std::vector<std::string> calls;
    int lastError = -1;
};

TEST_F(Events, OneMaskIsDispatchedInTheFixedOrder) {
    recordAll();
    port.MonitorEvents = 0x01FF;
    port.SetOpen(true);
    fake->raiseEvents(0x01FF & ~ev::RxChar, platform::lineError::Frame);
    ASSERT_TRUE(pumpUntil([&] { return calls.size() >= 8; }));
    pumpFor(20ms);
    EXPECT_EQ(calls, (std::vector<std::string>{"CTS", "DCD", "DSR", "Ring", "RxEvent", "TxD",
                                               "Break", "Error"}));
    EXPECT_EQ(lastError, static_cast<int>(platform::lineError::Frame));
}

TEST_F(Events, ModemLinesAreKeptCurrentBeforeTheirHandlersRun) {
    bool ctsSeen = false, dcdSeen = false;
    port.OnCTSSignal = [&](TCommPort* p) { ctsSeen = p->CTS(); };
    port.OnDCDSignal = [&](TCommPort* p) { dcdSeen = p->DCD(); };
    port.SetOpen(true);
    fake->setModemLines(mb::Cts | mb::Dcd);
    ASSERT_TRUE(pumpUntil([&] { return ctsSeen && dcdSeen; }));
    EXPECT_FALSE(port.DSR());
    port.SetOpen(false);
    EXPECT_FALSE(port.CTS() || port.DCD()) << "cleared at close";
}

TEST_F(Events, OnlyMonitoredEventsAreReportedAndLineErrorsCarryTheirBits) {
    recordAll();
    port.MonitorEvents =
        EventBit(evRxChar) | EventBit(evRxEventChar) | EventBit(evBreak) | EventBit(evError);
    port.SetEventChar('\n');
    port.SetOpen(true);
    EXPECT_EQ(fake->eventMask(), 0x00C3u);
    fake->setModemLines(mb::Cts);
    // Each event is awaited before the next: two waits before one dispatch coalesce by design.
    fake->raiseBreak();
    ASSERT_TRUE(pumpUntil([&] { return count("Break") == 1; }));
    fake->feed("line\n");
    ASSERT_TRUE(pumpUntil([&] { return count("RxEvent") == 1; }));
    fake->raiseLineError(platform::lineError::Parity | platform::lineError::Overrun);
    ASSERT_TRUE(pumpUntil([&] { return count("Error") == 1; }));
    EXPECT_EQ(lastError, 0x0006);
    EXPECT_EQ(count("CTS"), 0u);
}

TEST_F(Events, StatusNotificationsCoalesceIntoTheLastMask) {
    recordAll();
    std::atomic<int> queued{0};
    platform::MainThread::setWakeHook([&] { ++queued; });
    port.SetOpen(true);
    // The first dispatch is queued, unpumped, before the second event happens.
    fake->setModemLines(mb::Cts);
    while (queued == 0) std::this_thread::yield();
    fake->setModemLines(mb::Cts | mb::Dsr);
    while (!port.DSR()) std::this_thread::yield();
    platform::MainThread::setWakeHook(nullptr);
    ASSERT_TRUE(pumpUntil([&] { return count("DSR") >= 1; }));
    pumpFor(20ms);
    EXPECT_EQ(count("CTS"), 0u);
}

TEST_F(Events, HardwareFlowHoldsBytesUntilCtsComesOn) {
    port.SetComControl(ccHard);
    port.SetOpen(true);
    port.PutString("held back");
    pumpFor(100ms);
    EXPECT_EQ(fake->written(), "");
    EXPECT_EQ(port.OutBuffUsed(), 9u);
    fake->setModemLines(mb::Cts);
    ASSERT_TRUE(fake->waitForWritten(9, 10s));
    EXPECT_EQ(fake->written(), "held back");
}

// A driver that reports the lines but never signals a change could not release held bytes; the
// kernel's CRTSCTS holds them on the line instead.
TEST_F(Events, HardwareFlowDoesNotHoldBytesWhereLineChangesAreNeverSignalled) {
    fake->signalModemChanges(false);
    port.SetComControl(ccHard);
    port.SetOpen(true);
    EXPECT_FALSE(port.CTS());
    port.PutString("not held");
    ASSERT_TRUE(fake->waitForWritten(8, 10s));
    EXPECT_EQ(fake->written(), "not held");
}

// The lines keep changing (as seen by the driver) while the port opens and closes.
TEST_F(Events, ModemLinesReadFalseAfterEveryClose) {
    fake->setModemLines(mb::Cts | mb::Dsr | mb::Dcd | mb::Ring);
    std::atomic<bool> stop{false};
    std::thread line([&] {
        while (!stop) fake->raiseEvents(ev::Cts | ev::Dsr | ev::Rlsd | ev::Ring);
    });
    for (int cycle = 0; cycle < 100; ++cycle) {
        port.SetOpen(true);
        port.SetOpen(false);
        EXPECT_FALSE(port.CTS() || port.DSR() || port.DCD() || port.Ring()) << "cycle " << cycle;
    }
    stop = true;
    line.join();
}

TEST_F(Events, NothingMonitoredLeavesTheStatusThreadAsleep) {
    recordAll();
    port.MonitorEvents = 0;
    port.SetOpen(true);
    pumpFor(100ms);
    EXPECT_LE(fake->eventWaits(), 1) << "an empty mask ends every wait at once";
    fake->feed("asked for");
    port.RequestRead();
    ASSERT_TRUE(pumpUntil([&] { return port.InBuffUsed() == 9; }));
    EXPECT_TRUE(calls.empty());
}

TEST_F(Events, AStalledWriteCannotHoldTheCloseForEverAndATimeOutDiscardsTheRing) {
    int closed = 0;
    port.OnClose = [&](TCommPort*) { ++closed; };
    port.SetOpen(true);
    fake->stallWrites(true);
    port.PutString("never leaves");
    pumpFor(20ms);
    const auto start = std::chrono::steady_clock::now();
    port.SetOpen(false);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 30s) << "liveness";
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(fake->written(), "");
    EXPECT_GE(fake->outputPurges(), 1) << "the driver's output is flushed";
    EXPECT_EQ(port.OutBuffUsed(), 0u);

    port.SetTimeOut(toWriteTotalConstant, 30);
    port.SetOpen(true);
    fake->stallWrites(true);
    port.PutString("lost");
    ASSERT_TRUE(pumpUntil([&] { return port.OutBuffUsed() == 0; }));
    fake->stallWrites(false);
    port.PutString("next");
    ASSERT_TRUE(fake->waitForWritten(4, 10s));
    EXPECT_EQ(fake->written(), "next");
}

TEST_F(Events, AnUnpluggedDeviceIsReportedOncePerOpenAndThePortCanBeReopened) {
    recordAll();
    int closes = 0;
    port.OnClose = [&](TCommPort*) { ++closes; };
    port.SetOpen(true);
    fake->unplug();
    ASSERT_TRUE(pumpUntil([&] { return count("Lost") == 1; }));
    EXPECT_EQ(port.PutString("gone"), 4u) << "still Open until the owner closes it";
    port.RequestRead();
    pumpFor(100ms);
    EXPECT_EQ(count("Lost"), 1u);
    port.SetOpen(false);
    EXPECT_EQ(closes, 1);

    port.SetOpen(true);
    fake->feed("back");
    ASSERT_TRUE(pumpUntil([&] { return port.InBuffUsed() == 4; }));
    fake->unplug();
    ASSERT_TRUE(pumpUntil([&] { return count("Lost") == 2; }));
}

TEST_F(Events, NoHandlerRunsAfterClose) {
    int deliveries = 0;
    port.OnDataReceived = [&](TCommPort*, std::uint32_t) { ++deliveries; };
    recordAll();
    port.SetOpen(true);
    fake->feed("late");
    port.SetOpen(false);  // not pumped: the delivery may run during the close, never after it
    const int atClose = deliveries;
    const std::size_t callsAtClose = calls.size();
    fake->feed("after");
    fake->setModemLines(mb::Cts);
    pumpFor(100ms);
    EXPECT_EQ(deliveries, atClose);
    EXPECT_EQ(calls.size(), callsAtClose);
}

}  // namespace
