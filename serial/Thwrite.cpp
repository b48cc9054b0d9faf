#include "serial/Thwrite.h"

#include <algorithm>
#include <cerrno>

namespace {
// Bits on the wire per byte at worst (start, 8 data, parity, 2 stop): for the close's drain bound.
constexpr std::uint64_t kWireBitsPerByte = 12;
}  // namespace

TWriteThread::TWriteThread(TCommPort* port)
    : port_(port), device_(port->device_), timeOuts_(port->configuredTimeOuts_) {
    Start("Thwrite");
}

TWriteThread::~TWriteThread() {
    WaitFor();
}

void TWriteThread::Execute() {
    for (;;) {
        // A stop request asked for before this thread first looked at the ring must not lose it:
        // leave only once nothing is left that may be sent.
        if (Terminated() && (port_->outUsed_ == 0 || heldByCts())) break;
        port_->transmit_.wait();
        if (port_->outUsed_ == 0) {
            port_->transmit_.reset();
            // Bytes queued between the look and the reset must not be left waiting.
            if (port_->outUsed_ == 0) continue;
        }
        if (heldByCts()) {
            port_->transmit_.reset();
            if (heldByCts()) continue;
        }
        device_->clearErrors(nullptr, nullptr, nullptr);
        burst();
    }
}

bool TWriteThread::heldByCts() const {
    return port_->ctsHoldsOutput();
}

// The write time-outs as Windows applies them; while closing, also the drain limit.
std::chrono::milliseconds TWriteThread::limitFor(std::uint32_t bytes) const {
    const auto& t = timeOuts_.value;
    std::uint64_t limit =
        std::uint64_t{t[toWriteTotalMultiplier]} * bytes + t[toWriteTotalConstant];
    if (Terminated()) {
        const std::uint64_t wire =
            bytes * kWireBitsPerByte * 1000 / std::max<std::uint32_t>(port_->lineRate_, 1);
        const std::uint64_t drain =
            static_cast<std::uint64_t>(TCommPort::CloseDrainLimit.count()) + wire;
        limit = limit == 0 ? drain : std::min(limit, drain);
    }
    return std::chrono::milliseconds(limit);
}

void TWriteThread::burst() {
    const std::uint32_t size = port_->outSize_;
    while (port_->outUsed_ > 0) {
        std::uint32_t s, u, generation;
        {
            std::lock_guard<std::mutex> lock(port_->txLock_);
            s = port_->txStart_;
            u = port_->outUsed_;
            generation = port_->txGeneration_;
        }
        if (u == 0) return;
        const std::uint32_t piece = s + u < size ? u : size - s;
        std::size_t written = 0;
        const int err = device_->write(port_->txRing_.data() + s, piece, written, limitFor(piece));
        {
            std::lock_guard<std::mutex> lock(port_->txLock_);
            if (generation != port_->txGeneration_) return;  // flushed meanwhile: nothing to count
            if (err != 0 && err != EINTR) {
                // The rest is lost; the owner learns it from the missing answer.
                port_->outUsed_ = 0;
            } else {
                port_->outUsed_ -= static_cast<std::uint32_t>(written);
                port_->txStart_ += static_cast<std::uint32_t>(written);
                if (port_->txStart_ >= size) port_->txStart_ -= size;
            }
        }
        if (err == ETIMEDOUT && Terminated()) device_->purge(false, true);
        if (err != 0 && err != EINTR) return;
    }
}
