// The simulated bootloader over a real pty: answers, faults by record number, the received image.
// Late answers and the unplug are run through the port by the upload's end-to-end tests.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "tools/BootloaderMode.h"
#include "tools/EncFile.h"
#include "tools/Simulator.h"
#include "update/UpdateFile.h"

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The client end: the pty slave in raw mode.
class Client {
  public:
    explicit Client(const std::string& path)
        : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
        termios t{};
        tcgetattr(fd_, &t);
        cfmakeraw(&t);
        tcsetattr(fd_, TCSANOW, &t);
    }
    ~Client() { ::close(fd_); }
    void write(const Bytes& b) {
        ASSERT_EQ(::write(fd_, b.data(), b.size()), static_cast<ssize_t>(b.size()));
    }
    // What arrives within `wait` after the first byte (or nothing by then).
    Bytes read(std::chrono::milliseconds wait = 3000ms, std::chrono::milliseconds settle = 50ms) {
        Bytes got;
        pollfd p{fd_, POLLIN, 0};
        while (::poll(&p, 1, static_cast<int>((got.empty() ? wait : settle).count())) > 0) {
            std::uint8_t buf[256];
            const ssize_t n = (p.revents & (POLLHUP | POLLERR)) ? -1 : ::read(fd_, buf, sizeof buf);
            if (n <= 0) break;
            got.insert(got.end(), buf, buf + n);
        }
        return got;
    }

  private:
    int fd_;
};

Bytes payload(std::size_t n, unsigned seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>((i * 131 + seed * 17) >> 1);
    return b;
}

struct Rig {
    explicit Rig(sim::BootloaderOptions o = {}) : boot(o), engine(boot) {
        path = engine.createPty();
        engine.start();
    }
    sim::BootloaderMode boot;
    sim::Simulator engine;
    std::string path;
};

}  // namespace

TEST(Bootloader, AcceptsGoodRecordsRejectsBadOnesAndKeepsTheImage) {
    Rig rig;
    ASSERT_FALSE(rig.path.empty());
    Client c(rig.path);
    const Bytes image = sim::makeImage(payload(3000, 1));
    ASSERT_TRUE(update::checkRecords(image.data(), static_cast<std::uint32_t>(image.size())).ok());
    const Bytes first(image.begin(), image.begin() + 1044);
    Bytes bad = first;
    bad[500] ^= 0x01;

    c.write(bad);
    EXPECT_EQ(c.read(), Bytes{0xEE});
    for (std::size_t pos = 0; pos < image.size();) {
        const std::size_t n = image[pos] * 256u + image[pos + 1] + 2;
        c.write(Bytes(image.begin() + static_cast<long>(pos),
                      image.begin() + static_cast<long>(pos + n)));
        EXPECT_EQ(c.read(), Bytes{0x11});
        pos += n;
    }
    EXPECT_EQ(rig.boot.recordsReceived(), 4u);
    EXPECT_EQ(rig.boot.recordsAccepted(), 3u);
    EXPECT_EQ(rig.boot.image(), image);

    // A settings client's read, even in pieces, goes unanswered and the next record is taken;
    // other text that is no record is refused.
    const std::string read = "$Pass=Vostel:End:";
    c.write(Bytes(read.begin(), read.begin() + 5));
    c.write(Bytes(read.begin() + 5, read.end()));
    EXPECT_EQ(c.read(300ms), Bytes{});
    EXPECT_EQ(rig.boot.settingsRequestsIgnored(), 1u);
    c.write(Bytes(image.begin(), image.begin() + 1044));
    EXPECT_EQ(c.read(), Bytes{0x11});
    c.write(Bytes{'P', 'a', 's', 's'});
    EXPECT_EQ(c.read(), Bytes{0xEE});
}

TEST(Bootloader, FaultsByRecordNumber) {
    sim::BootloaderOptions o;
    o.acceptByte = 0x33;
    o.rejectRecords = {2};
    o.silentRecords = {3};
    o.doubleAnswerRecords = {5};
    Rig rig(o);
    Client c(rig.path);
    const Bytes record = sim::makeImage(payload(20, 2));
    c.write(record);
    EXPECT_EQ(c.read(), Bytes{0x33});
    c.write(record);
    EXPECT_EQ(c.read(), Bytes{0xEE});
    c.write(record);
    EXPECT_EQ(c.read(300ms), Bytes{});
    c.write(record);  // the repeat of a record whose answer went missing is flashed again
    EXPECT_EQ(c.read(), Bytes{0x33});
    c.write(record);
    EXPECT_EQ(c.read(), (Bytes{0x33, 0x33}));
    // Accepted: records 1, 3 (unanswered), 4 (its repeat), 5; all five kept as they came.
    EXPECT_EQ(rig.boot.recordsAccepted(), 4u);
    EXPECT_EQ(rig.boot.image().size(), 4 * record.size());
    EXPECT_EQ(rig.boot.records(), std::vector<Bytes>(5, record));
}

// The application's monitor output until a record comes, then a bootloader whose two-byte answer
// arrives a byte at a time.
TEST(Bootloader, ChattersUntilTheFirstRecordAndSplitsAnswersByTheByte) {
    sim::BootloaderOptions o;
    o.chatterMs = 20;
    o.chatterText = "MON:";
    o.doubleAnswerRecords = {1};
    o.byteGapMs = 300;
    Rig rig(o);
    Client c(rig.path);
    Bytes chatter;
    for (int i = 0; i < 100 && chatter.size() < 8; ++i) {
        const Bytes more = c.read(1000ms, 5ms);
        chatter.insert(chatter.end(), more.begin(), more.end());
    }
    ASSERT_GE(chatter.size(), 8u);
    EXPECT_EQ(Bytes(chatter.begin(), chatter.begin() + 4), (Bytes{'M', 'O', 'N', ':'}));
    const Bytes record = sim::makeImage(payload(20, 3));
    c.write(record);
    const Bytes first = c.read(1000ms, 100ms);  // after any chatter still under way
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.back(), 0x11);
    EXPECT_EQ(c.read(1000ms, 10ms), Bytes{0x11});
    EXPECT_EQ(c.read(300ms), Bytes{});  // quiet from then on
}
