#include "platform/Signal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace platform {
namespace {

bool readable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    for (;;) {
        const int r = ::poll(&p, 1, timeoutMs);
        if (r >= 0) return r > 0;
        if (errno != EINTR) return false;
    }
}

}  // namespace

Signal::Signal(Reset mode) : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), mode_(mode) {
    // Without its eventfd no thread of the port could ever be woken: fail loudly at creation.
    if (fd_ < 0) std::abort();
}

Signal::~Signal() {
    ::close(fd_);
}

void Signal::set() {
    const std::uint64_t one = 1;
    // EAGAIN only when the counter is at its maximum, which is "raised" anyway.
    [[maybe_unused]] ssize_t n = ::write(fd_, &one, sizeof one);
}

void Signal::reset() {
    std::uint64_t value;
    [[maybe_unused]] ssize_t n = ::read(fd_, &value, sizeof value);
}

bool Signal::tryConsume() {
    if (mode_ == Reset::Manual) return isSet();
    std::uint64_t value;
    // Only one of several racing waiters gets the counter; the others poll again.
    return ::read(fd_, &value, sizeof value) == static_cast<ssize_t>(sizeof value);
}

bool Signal::isSet() const {
    return readable(fd_, 0);
}

void Signal::wait() {
    while (!tryConsume()) readable(fd_, -1);
}

bool Signal::waitFor(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (tryConsume()) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        readable(fd_, static_cast<int>(left.count()) + 1);
    }
}

}  // namespace platform
