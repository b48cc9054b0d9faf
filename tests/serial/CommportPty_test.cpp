// The data path on real tty I/O: a pty pair is the far end, mapped to COM7 through the COM map.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <string>
#include <thread>

#include "support/FakePortFixture.h"
#include "support/PtyPair.h"

using namespace std::chrono_literals;
using testsupport::pumpFor;
using testsupport::pumpUntil;

namespace {

std::chrono::microseconds cpuTime() {
    rusage r{};
    ::getrusage(RUSAGE_SELF, &r);
    return std::chrono::seconds(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           std::chrono::microseconds(r.ru_utime.tv_usec + r.ru_stime.tv_usec);
}

std::string pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i % 253);
    return s;
}

class OverPty : public ::testing::Test {
  protected:
    OverPty() {
        platform::MainThread::adoptCurrentThread();
        map.map(pty.slavePath(), 7);
        port.SetComNumber(7);
        port.OnDataReceived = [this](TCommPort* p, std::uint32_t count) {
            EXPECT_TRUE(platform::MainThread::isCurrent());
            ++deliveries;
            std::string buf(count, '\0');
            received.append(buf.data(), p->GetBlock(buf.data(), count));
        };
        port.OnOpen = [this](TCommPort*, int e) { openError = e; };
    }
    void TearDown() override { testsupport::detachAndClose(port); }

    platform::RecordingMessageService messages;
    testsupport::ComPortMapFile map;
    testsupport::PtyPair pty;
    TCommPort port;
    std::string received;
    int deliveries = 0;
    int openError = -1;
};

TEST_F(OverPty, BytesTravelBothWaysIncludingThoseQueuedBeforeTheOpen) {
    pty.write("early");
    port.SetOpen(true);
    ASSERT_TRUE(port.Open());
    EXPECT_EQ(openError, 0);
    EXPECT_EQ(port.DevicePath(), pty.slavePath());
    ASSERT_TRUE(pumpUntil([&] { return received == "early"; })) << received;

    const std::string request = "$Pass=1234:End:";
    EXPECT_EQ(port.PutString(request.c_str()), request.size());
    EXPECT_EQ(pty.read(request.size(), 5s), request);
    const std::string answer = pattern(10000);  // several rings' worth
    pty.write(answer);
    ASSERT_TRUE(pumpUntil([&] { return received.size() >= answer.size() + 5; }));
    EXPECT_TRUE(received == "early" + answer);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(OverPty, EveryRateOpensCleanlyAndHardwareFlowWithoutModemLinesStillSends) {
    for (int r = cbr110; r <= cbr256000; ++r) {
        port.SetBaudRate(static_cast<TBaudRate>(r));
        port.SetOpen(true);
        EXPECT_EQ(openError, 0) << port.GetBaud();
        port.SetOpen(false);
    }
    port.SetComControl(ccHard);
    port.SetOpen(true);
    EXPECT_FALSE(port.CTS());
    port.PutString("sent");
    EXPECT_EQ(pty.read(4, 5s), "sent");
}

// Nothing is sent, so nothing but the ring's own re-arm can restart a receive pass that stopped on
// a full ring: a lost re-arm leaves the rest in the driver for good. The handler takes the bytes a
// few at a time, as a GetChar loop does, so the receive thread often refills the ring in between.
TEST_F(OverPty, ABurstOfManyRingsArrivesWholeWithNothingSent) {
    port.OnDataReceived = [this](TCommPort* p, std::uint32_t) {
        char piece[7];
        while (const std::uint16_t n = p->GetBlock(piece, sizeof piece)) received.append(piece, n);
    };
    port.SetOpen(true);
    const std::string burst = pattern(256 * 1024);
    std::atomic<bool> giveUp{false};
    std::thread peer([&] {
        for (std::size_t done = 0; done < burst.size() && !giveUp;) {
            const ssize_t n = ::write(pty.master(), burst.data() + done, burst.size() - done);
            pollfd p{pty.master(), POLLOUT, 0};
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else
                ::poll(&p, 1, 100);
        }
    });
    const bool whole = pumpUntil([&] { return received.size() >= burst.size(); }, 60s);
    giveUp = true;
    peer.join();
    ASSERT_TRUE(whole) << received.size() << " of " << burst.size() << " bytes";
    EXPECT_TRUE(received == burst);
}

TEST_F(OverPty, CloseSendsWhatIsStillInTheTransmitRing) {
    port.SetOpen(true);
    const std::string block = pattern(4000);
    ASSERT_EQ(port.PutBlock(block.data(), 4000), 4000u);
    port.SetOpen(false);
    EXPECT_TRUE(pty.read(4000, 5s) == block);
}

TEST_F(OverPty, NothingRunsAfterCloseAndAReopenWorks) {
    int txd = 0;
    port.OnTxDSignal = [&](TCommPort*) { ++txd; };
    port.SetOpen(true);
    port.PutString("one");
    ASSERT_TRUE(pumpUntil([&] { return txd > 0; })) << "transmit-empty on a pty";
    port.SetOpen(false);
    const int before = deliveries, txBefore = txd;
    pty.write("ignored");
    pumpFor(100ms);
    EXPECT_EQ(deliveries, before);
    EXPECT_EQ(txd, txBefore);

    port.SetOpen(true);
    pty.drain(20ms);  // input the closed port left in the driver
    received.clear();
    port.FlushInBuffer();
    pty.write("again");
    ASSERT_TRUE(pumpUntil([&] { return received.find("again") != std::string::npos; })) << received;
    port.PutString("two");
    EXPECT_EQ(pty.read(3, 5s), "two");
}

TEST_F(OverPty, ATakenDeviceOrAnUnmappedNumberFailsToOpen) {
    port.SetOpen(true);
    TCommPort other;
    other.SetComNumber(7);
    other.SetOpen(true);
    EXPECT_FALSE(other.Open());
    other.SetComNumber(42);
    other.SetOpen(true);
    EXPECT_FALSE(other.Open());
    const auto texts = messages.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].rfind("Не могу открыть COM порт\nПорт " + pty.slavePath() + " занят", 0), 0u)
        << texts[0];
    EXPECT_EQ(texts[1],
              "Не могу открыть COM порт\nЭтому порту не назначено устройство: подключите "
              "адаптер или выберите другой порт");
}

TEST_F(OverPty, AHangUpIsNoticedOnceWithoutSpinning) {
    int lost = 0, closed = 0;
    port.OnDeviceLost = [&](TCommPort*) { ++lost; };
    port.OnClose = [&](TCommPort*) { ++closed; };
    port.SetOpen(true);
    pty.write("x");
    ASSERT_TRUE(pumpUntil([&] { return received == "x"; }));

    pty.closeMaster();
    ASSERT_TRUE(pumpUntil([&] { return lost == 1; }, 5s));
    port.PutString("into the void");
    port.RequestRead();
    const auto cpuBefore = cpuTime();
    pumpFor(500ms);
    EXPECT_LT(cpuTime() - cpuBefore, 200ms) << "a spinning thread would burn the whole period";
    EXPECT_EQ(lost, 1);
    port.SetOpen(false);
    EXPECT_EQ(closed, 1);
}

}  // namespace
