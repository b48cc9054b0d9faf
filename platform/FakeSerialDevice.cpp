#include "platform/FakeSerialDevice.h"

#include <algorithm>
#include <cerrno>

namespace platform {

using Lock = std::unique_lock<std::mutex>;

void FakeSerialDevice::raise(std::uint32_t events) {
    pending_ |= events;
    changed_.notify_all();
}

void FakeSerialDevice::feed(const std::string& bytes) {
    Lock l(lock_);
    input_.insert(input_.end(), bytes.begin(), bytes.end());
    std::uint32_t ev = lineEvent::RxChar;
    if (bytes.find(static_cast<char>(control_.eventChar)) != std::string::npos)
        ev |= lineEvent::RxFlag;
    raise(ev);
}

void FakeSerialDevice::setModemLines(std::uint32_t bits) {
    Lock l(lock_);
    const std::uint32_t diff = bits ^ modem_;
    modem_ = bits;
    std::uint32_t ev = 0;
    if (diff & modemBit::Cts) ev |= lineEvent::Cts;
    if (diff & modemBit::Dsr) ev |= lineEvent::Dsr;
    if (diff & modemBit::Dcd) ev |= lineEvent::Rlsd;
    if (diff & modemBit::Ring) ev |= lineEvent::Ring;
    if (signalsModemChanges_) raise(ev);
}

void FakeSerialDevice::signalModemChanges(bool signalled) {
    Lock l(lock_);
    signalsModemChanges_ = signalled;
}

bool FakeSerialDevice::signalsModemChanges() const {
    Lock l(lock_);
    return signalsModemChanges_;
}

void FakeSerialDevice::raiseBreak() {
    Lock l(lock_);
    raise(lineEvent::Break);
}

void FakeSerialDevice::raiseEvents(std::uint32_t lineEvents, std::uint32_t lineErrors) {
    Lock l(lock_);
    errors_ |= lineErrors;
    raise(lineEvents);
}

void FakeSerialDevice::raiseLineError(std::uint32_t lineErrors) {
    Lock l(lock_);
    errors_ |= lineErrors;
    raise(lineEvent::Err);
}

void FakeSerialDevice::stallWrites(bool stalled) {
    Lock l(lock_);
    stalled_ = stalled;
    changed_.notify_all();
}

void FakeSerialDevice::unplug() {
    Lock l(lock_);
    lost_ = true;
    changed_.notify_all();
}

void FakeSerialDevice::failOpen(int err) {
    Lock l(lock_);
    failOpen_ = err;
}

void FakeSerialDevice::failControl(int err) {
    Lock l(lock_);
    failControl_ = err;
}

std::string FakeSerialDevice::written() const {
    Lock l(lock_);
    return written_;
}

bool FakeSerialDevice::waitForWritten(std::size_t count, std::chrono::milliseconds timeout) const {
    Lock l(lock_);
    return changed_.wait_for(l, timeout, [&] { return written_.size() >= count; });
}

DeviceControl FakeSerialDevice::control() const {
    Lock l(lock_);
    return control_;
}

std::vector<Escape> FakeSerialDevice::escapes() const {
    Lock l(lock_);
    return escapes_;
}

std::uint32_t FakeSerialDevice::eventMask() const {
    Lock l(lock_);
    return mask_;
}

int FakeSerialDevice::opens() const {
    Lock l(lock_);
    return opens_;
}

int FakeSerialDevice::closes() const {
    Lock l(lock_);
    return closes_;
}

int FakeSerialDevice::outputPurges() const {
    Lock l(lock_);
    return outputPurges_;
}

int FakeSerialDevice::eventWaits() const {
    Lock l(lock_);
    return eventWaits_;
}

int FakeSerialDevice::open(const std::string&) {
    Lock l(lock_);
    if (failOpen_ != 0) return failOpen_;
    open_ = true;
    lost_ = false;
    eventWaits_ = 0;
    stalled_ = false;
    writeInterrupted_ = false;
    maskChanged_ = false;
    pending_ = errors_ = modem_ = 0;
    input_.clear();
    escapes_.clear();
    ++opens_;
    return 0;
}

void FakeSerialDevice::close() {
    Lock l(lock_);
    open_ = false;
    ++closes_;
    changed_.notify_all();
}

bool FakeSerialDevice::isOpen() const {
    Lock l(lock_);
    return open_;
}

bool FakeSerialDevice::lost() const {
    Lock l(lock_);
    return lost_;
}

int FakeSerialDevice::setQueueSizes(std::uint32_t, std::uint32_t) {
    return 0;
}

int FakeSerialDevice::getTimeOuts(DeviceTimeOuts& out) {
    Lock l(lock_);
    out = timeOuts_;
    return 0;
}

int FakeSerialDevice::setTimeOuts(const DeviceTimeOuts& in) {
    Lock l(lock_);
    timeOuts_ = in;
    return 0;
}

int FakeSerialDevice::getControl(DeviceControl& out) {
    Lock l(lock_);
    out = control_;
    return lost_ ? EIO : 0;
}

int FakeSerialDevice::setControl(const DeviceControl& in) {
    Lock l(lock_);
    if (lost_) return EIO;
    if (failControl_ != 0) return failControl_;
    control_ = in;
    return 0;
}

int FakeSerialDevice::setEventMask(std::uint32_t mask) {
    Lock l(lock_);
    mask_ = mask;
    maskChanged_ = true;
    changed_.notify_all();
    return 0;
}

int FakeSerialDevice::waitEvent(std::uint32_t& events, std::uint32_t& errors) {
    Lock l(lock_);
    ++eventWaits_;
    events = errors = 0;
    maskChanged_ = false;  // as on the real device: only a change during the wait ends it
    changed_.wait(l,
                  [&] { return lost_ || maskChanged_ || mask_ == 0 || (pending_ & mask_) != 0; });
    if (lost_) return EIO;
    if (maskChanged_ || mask_ == 0) {
        maskChanged_ = false;
        return 0;
    }
    events = pending_ & mask_;
    pending_ = 0;
    if (events & lineEvent::Err) errors = errors_;
    errors_ = 0;
    return 0;
}

int FakeSerialDevice::clearErrors(std::uint32_t* errors, std::uint32_t* inQueue,
                                  std::uint32_t* outQueue) {
    Lock l(lock_);
    if (lost_) return EIO;
    if (errors) *errors = 0;
    if (inQueue) *inQueue = static_cast<std::uint32_t>(input_.size());
    if (outQueue) *outQueue = 0;
    return 0;
}

int FakeSerialDevice::read(void* buffer, std::size_t size, std::size_t& got) {
    Lock l(lock_);
    got = 0;
    if (lost_) return EIO;
    got = std::min(size, input_.size());
    std::copy_n(input_.begin(), got, static_cast<char*>(buffer));
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(got));
    return 0;
}

int FakeSerialDevice::write(const void* data, std::size_t size, std::size_t& written,
                            std::chrono::milliseconds limit) {
    Lock l(lock_);
    written = 0;
    const auto ready = [&] { return lost_ || writeInterrupted_ || !stalled_; };
    if (limit.count() > 0) {
        if (!changed_.wait_for(l, limit, ready)) return ETIMEDOUT;
    } else {
        changed_.wait(l, ready);
    }
    if (lost_) return EIO;
    if (writeInterrupted_) {
        writeInterrupted_ = false;
        return EINTR;
    }
    written_.append(static_cast<const char*>(data), size);
    written = size;
    raise(lineEvent::TxEmpty);
    return 0;
}

void FakeSerialDevice::interruptWrite() {
    Lock l(lock_);
    writeInterrupted_ = true;
    changed_.notify_all();
}

void FakeSerialDevice::rearmReceive() {
    Lock l(lock_);
    if (!input_.empty()) raise(lineEvent::RxChar);
}

int FakeSerialDevice::purge(bool, bool output) {
    Lock l(lock_);
    if (output) ++outputPurges_;
    return 0;
}

int FakeSerialDevice::escape(Escape function) {
    Lock l(lock_);
    if (lost_) return EIO;
    escapes_.push_back(function);
    return 0;
}

int FakeSerialDevice::modemStatus(std::uint32_t& bits) {
    Lock l(lock_);
    bits = modem_;
    return lost_ ? EIO : 0;
}

}  // namespace platform
