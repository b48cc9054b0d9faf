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
        port_->receiveRequest_.wait();
        return;
    }
    pollfd fds[2] = {{port_->receiveRequest_.fd(), POLLIN, 0}, {fd, POLLIN, 0}};
    // Level-triggered: whatever is queued while this is set wakes the poll below, and the pass
    // after it reads until the queue is empty or the ring full.
    port_->receiveWatchesDevice_ = true;
    const int ready = ::poll(fds, 2, -1);
    port_->receiveWatchesDevice_ = false;
    if (ready < 0) return;
    // A hung-up device stays ready for ever: from now on the status thread's request alone.
    if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) pollDevice_ = false;
    port_->receiveRequest_.tryConsume();
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
