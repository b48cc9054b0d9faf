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
        if (Terminated() && (port_->txRing_.used() == 0 || heldByCts())) break;
        port_->transmit_.wait();
        if (port_->txRing_.used() == 0) {
            port_->transmit_.reset();
            // Bytes queued between the look and the reset must not be left waiting.
            if (port_->txRing_.used() == 0) continue;
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
    serial::ByteRing& ring = port_->txRing_;
    while (ring.used() > 0) {
        const serial::ByteRing::Spans held = ring.readable();
        if (held.size() == 0) return;
        // One device write per pass of this loop: the piece up to the ring's end first.
        const std::uint32_t piece = held.first.size;
        std::size_t written = 0;
        const int err = device_->write(held.first.data, piece, written, limitFor(piece));
        const bool failed = err != 0 && err != EINTR;
        // The rest of a failed write is lost; the owner learns it from the missing answer.
        const bool counted =
            failed ? ring.discard(held.generation)
                   : ring.consume(held.generation, static_cast<std::uint32_t>(written)).counted;
        if (!counted) return;  // flushed meanwhile: nothing to count
        if (err == ETIMEDOUT && Terminated()) device_->purge(false, true);
        if (failed) return;
    }
}
