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
    if (fd < 0 || port_->inUsed_ >= port_->inSize_) {
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
    const std::uint32_t size = port_->inSize_;
    int failures = 0;
    for (;;) {
        std::uint32_t queued = 0;
        if (device_->clearErrors(nullptr, &queued, nullptr) != 0) return;
        std::uint32_t s, u, generation;
        {
            std::lock_guard<std::mutex> lock(port_->rxLock_);
            s = port_->rxStart_;
            u = port_->inUsed_;
            generation = port_->rxGeneration_;
        }
        std::uint32_t w = s + u;
        std::uint32_t room;
        if (w < size) {
            room = size - w;
        } else {
            w -= size;
            room = s - w;
        }
        const std::uint32_t n = std::min(room, queued);
        if (n == 0) return;
        std::size_t got = 0;
        if (device_->read(port_->rxRing_.data() + w, n, got) != 0 || got == 0) {
            if (++failures >= kMaxFailedReads) return;
            continue;
        }
        failures = 0;
        {
            std::lock_guard<std::mutex> lock(port_->rxLock_);
            // A flush in between discarded the ring: these bytes belong to no one.
            if (generation != port_->rxGeneration_) continue;
            port_->inUsed_ += static_cast<std::uint32_t>(got);
        }
        port_->dataReceived_.set();
    }
}
