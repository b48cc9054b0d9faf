// The tty device on a pty: exclusive open, event waits without spinning, hang-up. (The port's
// tests over a pty cover rates, data both ways and closing.)
#include "platform/PosixSerialDevice.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <functional>
#include <future>
#include <thread>

#include "support/PtyPair.h"

using namespace std::chrono_literals;
using platform::PosixSerialDevice;
namespace ev = platform::lineEvent;

namespace {

class PosixDevice : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(dev.open(pty.slavePath()), 0); }
    testsupport::PtyPair pty;
    PosixSerialDevice dev;
    std::uint32_t events = 0, errors = 0;
};

TEST_F(PosixDevice, OpenFailuresCarryTheirErrnoAndASecondOpenWaitsForTheFirstClose) {
    PosixSerialDevice other;
    EXPECT_EQ(other.open("/nonexistent/tty"), ENOENT);
    char name[] = "/tmp/vigil-notatty-XXXXXX";
    const int fd = ::mkstemp(name);
    EXPECT_EQ(other.open(name), ENOTTY);
    ::close(fd);
    ::unlink(name);
    EXPECT_EQ(other.open(pty.slavePath()), EBUSY);
    EXPECT_FALSE(other.isOpen());
    dev.close();
    EXPECT_EQ(other.open(pty.slavePath()), 0);
}

TEST_F(PosixDevice, ReceivedDataIsReportedOncePerRead) {
    dev.setEventMask(ev::RxChar | ev::TxEmpty);
    pty.write("abc");
    ASSERT_EQ(dev.waitEvent(events, errors), 0);
    EXPECT_EQ(events, ev::RxChar);
    // Unread data is not reported again: the next wait sleeps until the mask is set meanwhile.
    std::thread ender([&] {
        std::this_thread::sleep_for(50ms);
        dev.setEventMask(ev::RxChar | ev::TxEmpty);
    });
    ASSERT_EQ(dev.waitEvent(events, errors), 0);
    EXPECT_EQ(events, 0u);
    ender.join();
    std::uint32_t queued = 0;
    ASSERT_EQ(dev.clearErrors(nullptr, &queued, nullptr), 0);
    EXPECT_EQ(queued, 3u);
    char buf[8];
    std::size_t got = 0, written = 0;
    ASSERT_EQ(dev.read(buf, sizeof buf, got), 0);
    EXPECT_EQ(std::string(buf, got), "abc");
    ASSERT_EQ(dev.read(buf, sizeof buf, got), 0);
    EXPECT_EQ(got, 0u) << "nothing queued is not an error";
    ASSERT_EQ(dev.write("ping", 4, written, 0ms), 0);
    ASSERT_EQ(dev.waitEvent(events, errors), 0);
    EXPECT_EQ(events, ev::TxEmpty);
    EXPECT_EQ(pty.read(4, 5s), "ping");
}

// While the receive thread watches the data, the status wait neither wakes on its arrival nor
// misses it: RxChar comes once the pass that read the bytes has ended, or once the watch is given
// up (the bytes unread). Each wait must end only after that step (5 s liveness bound).
TEST_F(PosixDevice, WatchedDataIsReportedAfterItsReadAndAGivenUpWatchFallsBackToTheWait) {
    std::atomic<bool> stepDone{false};
    const auto waitAcross = [&](const std::function<void()>& step) {
        stepDone = false;
        auto wait = std::async(std::launch::async, [&] {
            return dev.waitEvent(events, errors) == 0 && events == ev::RxChar && stepDone;
        });
        std::this_thread::sleep_for(50ms);  // an unwatched wait would have ended by now
        stepDone = true;
        step();
        if (wait.wait_for(5s) != std::future_status::ready) dev.setEventMask(ev::RxChar);
        return wait.get();
    };
    dev.setEventMask(ev::RxChar);
    dev.setReceiveWatched(true);
    pty.write("abc");
    EXPECT_TRUE(waitAcross([&] {
        char buf[8];
        std::size_t got = 0;
        std::uint32_t queued = 1;
        EXPECT_TRUE(dev.read(buf, sizeof buf, got) == 0 && std::string(buf, got) == "abc");
        EXPECT_TRUE(dev.clearErrors(nullptr, &queued, nullptr) == 0 && queued == 0);
    }));
    pty.write("de");
    EXPECT_TRUE(waitAcross([&] { dev.setReceiveWatched(false); }));  // a full ring, say
}

TEST_F(PosixDevice, AWriteTheFarEndDoesNotTakeEndsAtItsLimitOrWhenInterrupted) {
    const std::string big(1 << 20, 'x');
    std::size_t written = 0;
    EXPECT_EQ(dev.write(big.data(), big.size(), written, 100ms), ETIMEDOUT);
    EXPECT_LT(written, big.size());
    dev.interruptWrite();
    EXPECT_EQ(dev.write(big.data(), big.size(), written, 0ms), EINTR);
}

TEST_F(PosixDevice, AHangUpMarksTheDeviceLost) {
    dev.setEventMask(ev::RxChar);
    pty.closeMaster();
    EXPECT_EQ(dev.waitEvent(events, errors), EIO);
    EXPECT_TRUE(dev.lost());
    char buf[4];
    std::size_t got = 0;
    EXPECT_NE(dev.read(buf, 4, got), 0);
    EXPECT_EQ(dev.write("x", 1, got, 0ms), EIO);
}

}  // namespace
