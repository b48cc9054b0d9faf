#include "tools/Simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/WireTime.h"

namespace sim {

namespace {

constexpr std::size_t kReadChunk = 4096;

bool makeRaw(int fd, speed_t speed) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

speed_t speedFor(unsigned bitsPerSecond) {
    switch (bitsPerSecond) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        default:
            return B9600;
    }
}

std::string failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

Simulator::Simulator(Mode& mode, unsigned bitsPerSecond)
    : mode_(mode), bitsPerSecond_(bitsPerSecond) {
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

Simulator::~Simulator() {
    stop();
    closeLine();
    if (wakeFd_ >= 0) ::close(wakeFd_);
    if (linkWatchFd_ >= 0) ::close(linkWatchFd_);
}

std::string Simulator::createPty(std::string* error) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 ||
        ptsname_r(master, name, sizeof name) != 0) {
        if (error) *error = failure("pty");
        if (master >= 0) ::close(master);
        return {};
    }
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0 || !makeRaw(slave, speedFor(bitsPerSecond_))) {
        if (error) *error = failure(name);
        if (slave >= 0) ::close(slave);
        ::close(master);
        return {};
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    fd_ = master;
    slaveKeeper_ = slave;
    slavePath_ = name;
    watchLink();
    return slavePath_;
}

// After the engine's own slave is open, so only the client's opens and closes are seen.
void Simulator::watchLink() {
    linkWatchFd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (linkWatchFd_ >= 0 && inotify_add_watch(linkWatchFd_, slavePath_.c_str(),
                                               IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        ::close(linkWatchFd_);
        linkWatchFd_ = -1;
    }
}

void Simulator::linkEvents() {
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(linkWatchFd_, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_OPEN) {
                if (clientOpens_++ == 0 && fd_ >= 0) mode_.linkOpened(*this);
            } else if (event->mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) {
                if (clientOpens_ > 0 && --clientOpens_ == 0 && fd_ >= 0) {
                    // What was on its way belonged to the client that went.
                    inbound_.clear();
                    mode_.linkClosed(*this);
                }
            }
        }
    }
}

bool Simulator::openDevice(const std::string& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || !makeRaw(fd, speedFor(bitsPerSecond_))) {
        if (error) *error = failure(path.c_str());
        if (fd >= 0) ::close(fd);
        return false;
    }
    fd_ = fd;
    slavePath_ = path;
    return true;
}

void Simulator::start() {
    if (thread_.joinable()) return;
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

void Simulator::stop() {
    if (!thread_.joinable()) return;
    stopping_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
    thread_.join();
}

std::string Simulator::receivedBytes() const {
    std::lock_guard lock(receivedLock_);
    return received_;
}

Clock::duration Simulator::wireTime(std::size_t bytes) const {
    if (bitsPerSecond_ == 0) return Clock::duration::zero();
    return std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(
        bytes * platform::kBitsPerByte * 1'000'000'000ull / bitsPerSecond_));
}

void Simulator::send(std::string bytes, Clock::duration delay) {
    if (fd_ < 0 || bytes.empty()) return;
    Clock::time_point due = Clock::now() + delay;
    if (bitsPerSecond_ != 0) {
        due = std::max(due, txLineFree_) + wireTime(bytes.size());
        txLineFree_ = due;
    }
    outbound_.emplace(due, std::move(bytes));
}

std::size_t Simulator::queuedBytes() const {
    std::size_t n = writing_.size();
    for (const auto& [due, bytes] : outbound_) n += bytes.size();
    return n;
}

void Simulator::unplug() {
    unplugged_ = true;  // before the client can see the hang-up
    closeLine();
}

void Simulator::closeLine() {
    if (fd_ >= 0) ::close(fd_);
    if (slaveKeeper_ >= 0) ::close(slaveKeeper_);
    fd_ = slaveKeeper_ = -1;
    inbound_.clear();
    outbound_.clear();
    writing_.clear();
}

void Simulator::readAvailable() {
    char chunk[kReadChunk];
    while (fd_ >= 0) {
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n <= 0) return;  // EAGAIN: all taken; EIO: no client has the line open just now
        {
            std::lock_guard lock(receivedLock_);
            received_.append(chunk, static_cast<std::size_t>(n));
        }
        if (bitsPerSecond_ == 0) {
            mode_.received(reinterpret_cast<const std::uint8_t*>(chunk),
                           static_cast<std::size_t>(n), *this);
            continue;
        }
        const Clock::time_point due =
            std::max(Clock::now(), rxLineFree_) + wireTime(static_cast<std::size_t>(n));
        rxLineFree_ = due;
        inbound_.emplace(due, std::string(chunk, static_cast<std::size_t>(n)));
    }
}

void Simulator::deliverDue() {
    while (!inbound_.empty() && inbound_.begin()->first <= Clock::now()) {
        const std::string bytes = std::move(inbound_.begin()->second);
        inbound_.erase(inbound_.begin());
        mode_.received(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), *this);
    }
}

void Simulator::writeDue() {
    while (!outbound_.empty() && outbound_.begin()->first <= Clock::now()) {
        writing_ += outbound_.begin()->second;
        outbound_.erase(outbound_.begin());
    }
    while (!writing_.empty() && fd_ >= 0) {
        const ssize_t n = ::write(fd_, writing_.data(), writing_.size());
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) return;
            writing_.clear();  // the line is gone; the bytes with it
            return;
        }
        writing_.erase(0, static_cast<std::size_t>(n));
    }
}

void Simulator::run() {
    while (!stopping_) {
        std::optional<Clock::time_point> next = mode_.wakeAt();
        auto earliest = [&next](const std::multimap<Clock::time_point, std::string>& q) {
            if (!q.empty() && (!next || q.begin()->first < *next)) next = q.begin()->first;
        };
        earliest(inbound_);
        earliest(outbound_);

        pollfd fds[3] = {{wakeFd_, POLLIN, 0}, {fd_, POLLIN, 0}, {linkWatchFd_, POLLIN, 0}};
        if (!writing_.empty()) fds[1].events |= POLLOUT;
        const nfds_t count = fd_ >= 0 ? 3 : 1;
        timespec wait{};
        timespec* timeout = nullptr;
        if (next) {
            const auto left = std::max(Clock::duration::zero(), *next - Clock::now());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            wait.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
            wait.tv_nsec = static_cast<long>(ns % 1'000'000'000);
            timeout = &wait;
        }
        if (ppoll(fds, count, timeout, nullptr) < 0 && errno != EINTR) break;
        if (fds[0].revents & POLLIN) {
            std::uint64_t value;
            [[maybe_unused]] ssize_t n = ::read(wakeFd_, &value, sizeof value);
        }
        if (stopping_) break;
        // An open is seen before the bytes written after it.
        if (count == 3 && (fds[2].revents & POLLIN)) linkEvents();
        if (count == 3 && (fds[1].revents & POLLIN)) readAvailable();
        if (count == 3 && (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) &&
            !(fds[1].revents & POLLIN)) {
            unplug();  // the device went away: nothing left to serve
            continue;
        }
        deliverDue();
        if (const auto at = mode_.wakeAt(); at && *at <= Clock::now()) mode_.tick(*this);
        writeDue();
    }
}

}  // namespace sim
