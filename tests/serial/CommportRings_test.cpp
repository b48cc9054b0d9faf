// The two rings: pieces at the wrap, full rings, exact counts and the coalescing of deliveries.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "support/FakePortFixture.h"

using namespace std::chrono_literals;
using testsupport::pumpUntil;

namespace {

// Bytes that differ position by position, so a misplaced piece shows.
std::string pattern(std::size_t n, int seed = 0) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 7 + static_cast<std::size_t>(seed)) % 251);
    return s;
}

class Rings : public testsupport::FakePortTest {
  protected:
    void fillReceiveRing(std::size_t n) {
        ASSERT_TRUE(pumpUntil([&] { return port.InBuffUsed() == n; })) << port.InBuffUsed();
    }
    std::string take(std::uint32_t n) {
        std::string out(n, '\0');
        out.resize(port.GetBlock(out.data(), n));
        return out;
    }
    void sendAll(std::size_t total) {
        ASSERT_TRUE(fake->waitForWritten(total, 10s));
        ASSERT_TRUE(pumpUntil([&] { return port.OutBuffUsed() == 0; }));
    }
};

TEST_F(Rings, TheTransmitRingTakesOnlyWhatFitsAndWrapsInTwoPieces) {
    port.SetOBuffSize(256);
    port.SetOpen(true);
    fake->stallWrites(true);
    const std::string a = pattern(156), b = pattern(300, 1);
    EXPECT_EQ(port.PutBlock(a.data(), 156), 156u);
    EXPECT_EQ(port.PutBlock(b.data(), 300), 100u) << "exactly the 100 free bytes";
    EXPECT_EQ(port.GetOutBuffFree(), 0u);
    EXPECT_EQ(port.PutBlock(b.data(), 1), 0u) << "a full ring takes nothing";
    fake->stallWrites(false);
    sendAll(256);
    EXPECT_EQ(fake->written(), a + b.substr(0, 100));

    const std::string first = pattern(200, 2), second = pattern(100, 3);
    port.PutBlock(first.data(), 200);
    sendAll(456);
    EXPECT_EQ(port.OutStart(), 200u);
    fake->stallWrites(true);
    EXPECT_EQ(port.PutBlock(second.data(), 100), 100u) << "56 to the end, 44 from the start";
    fake->stallWrites(false);
    sendAll(556);
    EXPECT_EQ(fake->written(), a + b.substr(0, 100) + first + second);
    EXPECT_EQ(port.OutStart(), 44u);
}

TEST_F(Rings, GetBlockReadsAcrossTheEndAndAShrunkRingStartsAgainAtItsBeginning) {
    port.SetOpen(true);
    fake->feed(pattern(2000));
    fillReceiveRing(2000);
    EXPECT_EQ(take(2000), pattern(2000));
    EXPECT_EQ(port.InStart(), 2000u);

    const std::string tail = pattern(100, 5);
    fake->feed(tail);
    fillReceiveRing(100);
    EXPECT_EQ(take(100), tail) << "48 from the ring's end, then 52 from its beginning";
    EXPECT_EQ(port.InStart(), 52u);
    EXPECT_EQ(take(10), "");

    fake->feed(pattern(1500));
    fillReceiveRing(1500);
    take(1500);
    port.SetIBuffSize(1024);  // reopens with the start index beyond the new ring
    EXPECT_EQ(port.InStart(), 0u);
    fake->feed("fits");
    fillReceiveRing(4);
    EXPECT_EQ(take(4), "fits");
}

TEST_F(Rings, AReceivePassStopsOnAFullRingAndTheRestWaitsInTheDriver) {
    port.SetOpen(true);
    fake->feed(pattern(1000));
    fillReceiveRing(1000);
    take(1000);
    const std::string burst = pattern(2058, 9);
    fake->feed(burst);
    fillReceiveRing(2048);  // 1048 to the end, then 1000 from the beginning
    EXPECT_EQ(port.GetInBuffFree(), 0u);
    std::uint32_t queued = 0;
    fake->clearErrors(nullptr, &queued, nullptr);
    EXPECT_EQ(queued, 10u);
    EXPECT_EQ(take(2048), burst.substr(0, 2048));
    // Freed space lets the rest in without any new byte from the line.
    fillReceiveRing(10);
    EXPECT_EQ(take(10), burst.substr(2048));
}

TEST_F(Rings, AGetBlockNeverTakesMoreThanItsCountCanTell) {
    port.SetIBuffSize(100000);
    port.SetOpen(true);
    const std::string big = pattern(70000);
    fake->feed(big);
    fillReceiveRing(70000);
    std::string out(70000, '\0');
    EXPECT_EQ(port.GetBlock(out.data(), 70000), 65535);
    EXPECT_EQ(port.InBuffUsed(), 70000u - 65535u) << "the rest stays for the next call";
    EXPECT_TRUE(out.compare(0, 65535, big, 0, 65535) == 0);
}

TEST_F(Rings, BurstsBeforeADeliveryArriveAsOneFollowedByAnEmptyOne) {
    std::vector<std::uint32_t> counts;
    std::string got;
    port.OnDataReceived = [&](TCommPort* s, std::uint32_t count) {
        counts.push_back(count);
        std::string buf(count, '\0');
        got.append(buf.data(), s->GetBlock(buf.data(), count));
    };
    std::atomic<int> queued{0};
    platform::MainThread::setWakeHook([&] { ++queued; });
    port.SetOpen(true);
    // Unpumped: the first delivery (and the burst's status dispatch) wait when the second comes.
    fake->feed("first-");
    while (queued < 2) std::this_thread::yield();
    fake->feed("second");
    while (port.InBuffUsed() < 12) std::this_thread::yield();
    ASSERT_TRUE(pumpUntil([&] { return counts.size() >= 2; }));
    platform::MainThread::setWakeHook(nullptr);
    testsupport::pumpFor(50ms);
    EXPECT_EQ(counts, (std::vector<std::uint32_t>{12, 0}));
    EXPECT_EQ(got, "first-second");
}

TEST_F(Rings, FlushesEmptyBothRingsAndAbandonTheBurstInFlight) {
    port.SetOpen(true);
    fake->feed("abc");
    fillReceiveRing(3);
    port.FlushInBuffer();
    EXPECT_FALSE(port.CharReady());
    fake->stallWrites(true);
    port.PutString("xyz");
    port.FlushOutBuffer();
    EXPECT_EQ(port.OutBuffUsed(), 0u);
    EXPECT_EQ(fake->outputPurges(), 1);
    fake->stallWrites(false);
    port.PutString("ok");
    sendAll(2);
    EXPECT_EQ(fake->written(), "ok") << "the new bytes did not overwrite the abandoned burst";
}

}  // namespace
