#include "serial/Thread.h"

#include <poll.h>

#include <algorithm>

namespace {
// Reads that fail or bring nothing in a row before a pass gives up (a gone device).
constexpr int kMaxFailedReads = 3;
}  // namespace

TReadThread::TReadThread(TCommPort* port)
    : port_(port),
      device_(port->device_),
      pollDevice_((port->MonitorEvents & EventBit(evRxChar)) != 0) {
    Start("Thread");
}

TReadThread::~TReadThread() {
    WaitFor();
}

void TReadThread::Execute() {
    while (!Terminated()) {
        waitForWork();
        if (Terminated()) break;
        pass();
    }
}

// A full ring waits for the request alone: GetBlock's rearm brings one once there is room.
void TReadThread::waitForWork() {
    const int fd = pollDevice_ ? device_->receiveFd() : -1;
    if (fd < 0 || port_->rxRing_.full()) {
        watchDevice(false);
        port_->receiveRequest_.wait();
        return;
    }
    // Level-triggered: whatever is queued while this thread watches wakes the poll below, and the
    // pass after it reads until the queue is empty or the ring full.
    watchDevice(true);
    pollfd fds[2] = {{port_->receiveRequest_.fd(), POLLIN, 0}, {fd, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) return;
    // A hung-up device stays ready for ever: from now on the status thread's request alone.
    if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) pollDevice_ = false;
    port_->receiveRequest_.tryConsume();
}

// Only this thread changes it; the status thread and the device read it.
void TReadThread::watchDevice(bool on) {
    if (port_->receiveWatchesDevice_ == on) return;
    port_->receiveWatchesDevice_ = on;
    device_->setReceiveWatched(on);
}

void TReadThread::pass() {
    serial::ByteRing& ring = port_->rxRing_;
    int failures = 0;
    for (;;) {
        std::uint32_t queued = 0;
        if (device_->clearErrors(nullptr, &queued, nullptr) != 0) return;
        // One device read per pass of this loop: into the room up to the ring's end first.
        const serial::ByteRing::Spans room = ring.writable();
        const std::uint32_t n = std::min(room.first.size, queued);
        if (n == 0) return;
        std::size_t got = 0;
        if (device_->read(room.first.data, n, got) != 0 || got == 0) {
            if (++failures >= kMaxFailedReads) return;
            continue;
        }
        failures = 0;
        // A flush in between discarded the ring: these bytes belong to no one.
        if (!ring.commit(room.generation, static_cast<std::uint32_t>(got))) continue;
        port_->dataReceived_.set();
    }
}
