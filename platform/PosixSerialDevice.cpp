#include "platform/PosixSerialDevice.h"

#include "platform/WireTime.h"

// termios2 lives in the kernel headers, which clash with glibc's <termios.h>/<sys/ioctl.h>.
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept;

namespace platform {
namespace {

constexpr int kTiocmCts = 0x020, kTiocmCar = 0x040, kTiocmRng = 0x080, kTiocmDsr = 0x100;
constexpr int kTiocmDtr = 0x002, kTiocmRts = 0x004;
constexpr int kEnoioctlcmd = 515;  // the kernel's internal "no such ioctl", leaks on some drivers
constexpr int kMaxTransmitRecheckMs = 1000;
// At close: output that has not moved for this long is flushed; looked at every step.
constexpr std::chrono::milliseconds kCloseStallLimit{2000};
constexpr int kCloseDrainStepMs = 10;
// ... and never longer in all than the driver's own default closing_wait.
constexpr std::chrono::seconds kCloseDrainTotal{30};
// Wakes the line watcher out of TIOCMIWAIT; the handler does nothing.
constexpr int kWatcherWakeSignal = SIGURG;

bool unsupported(int err) {
    return err == EINVAL || err == ENOTTY || err == kEnoioctlcmd;
}

int ioctlErr(int fd, unsigned long request, void* arg) {
    for (;;) {
        if (::ioctl(fd, request, arg) == 0) return 0;
        if (errno != EINTR) return errno;
    }
}

void ignoreSignal(int) {}

}  // namespace

PosixSerialDevice::~PosixSerialDevice() {
    close();
}

int PosixSerialDevice::fail(int err) {
    if (err == EIO || err == ENXIO || err == ENODEV) lost_ = true;
    return err;
}

int PosixSerialDevice::open(const std::string& path) {
    if (path.empty()) return ENOENT;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    // Exclusive before any termios call, so another program's settings are never touched.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return err;
    }
    termios2 t{};
    if (int err = ioctlErr(fd, TCGETS2, &t); err != 0) {
        ::close(fd);
        return err;
    }
    ioctlErr(fd, TIOCEXCL, nullptr);
    t.c_iflag &=
        ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (int err = ioctlErr(fd, TCSETS2, &t); err != 0) {
        ::close(fd);
        return err;
    }
    serial_struct ss{};
    if (ioctlErr(fd, TIOCGSERIAL, &ss) == 0) {
        ss.flags |= ASYNC_LOW_LATENCY;
        ioctlErr(fd, TIOCSSERIAL, &ss);
    }
    fd_ = fd;
    lost_ = false;
    control_.baudRate = t.c_ospeed;
    int bits = 0;
    hasModemStatus_ = ioctlErr(fd_, TIOCMGET, &bits) == 0;
    hasCounters_ = readCounters(counters_);
    hasModemControl_ = true;
    rxArmed_ = true;
    rxTaken_ = false;
    receiveWatched_ = false;
    if (hasCounters_ && hasModemStatus_) startLineWatcher();
    return 0;
}

void PosixSerialDevice::close() {
    if (fd_ < 0) return;
    stopLineWatcher();
    drainBeforeClose();
    ioctlErr(fd_, TIOCNXCL, nullptr);
    ::close(fd_);
    fd_ = -1;
}

// close() itself may wait up to the driver's closing_wait (30 s) for output that flow control holds
// back: let the queue drain while it moves, and flush it once it stops moving.
void PosixSerialDevice::drainBeforeClose() {
    if (lost_) return;
    int last = -1;
    const auto start = std::chrono::steady_clock::now();
    auto lastMove = start;
    for (;;) {
        int queued = 0;
        if (ioctlErr(fd_, TIOCOUTQ, &queued) != 0 || queued <= 0) return;
        const auto now = std::chrono::steady_clock::now();
        if (queued != last) {
            last = queued;
            lastMove = now;
        }
        if (now - lastMove > kCloseStallLimit || now - start > kCloseDrainTotal) {
            ioctlErr(fd_, TCFLSH, reinterpret_cast<void*>(TCOFLUSH));
            return;
        }
        ::poll(nullptr, 0, kCloseDrainStepMs);
    }
}

int PosixSerialDevice::setQueueSizes(std::uint32_t, std::uint32_t) {
    return 0;
}

int PosixSerialDevice::getTimeOuts(DeviceTimeOuts& out) {
    out = timeOuts_;
    return 0;
}

int PosixSerialDevice::setTimeOuts(const DeviceTimeOuts& in) {
    timeOuts_ = in;
    return 0;
}

int PosixSerialDevice::getControl(DeviceControl& out) {
    std::lock_guard<std::mutex> lock(controlLock_);
    out = control_;
    return 0;
}

int PosixSerialDevice::setControl(const DeviceControl& dc) {
    if (fd_ < 0) return EBADF;
    termios2 t{};
    if (int err = ioctlErr(fd_, TCGETS2, &t); err != 0) return fail(err);
    t.c_cflag &=
        ~(CBAUD | (CBAUD << IBSHIFT) | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT) | CLOCAL | CREAD;
    t.c_ispeed = t.c_ospeed = dc.baudRate;
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= kSizes[std::clamp<int>(dc.byteSize, 5, 8) - 5];
    switch (dc.parity) {
        case 1:
            t.c_cflag |= PARENB | PARODD;
            break;
        case 2:
            t.c_cflag |= PARENB;
            break;
        case 3:
            t.c_cflag |= PARENB | PARODD | CMSPAR;
            break;
        case 4:
            t.c_cflag |= PARENB | CMSPAR;
            break;
        default:
            break;
    }
    // One and a half stop bits do not exist in termios: two is the nearest.
    if (dc.stopBits != 0) t.c_cflag |= CSTOPB;
    if (dc.flags & dcbFlag::OutxCtsFlow) t.c_cflag |= CRTSCTS;
    t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (dc.flags & dcbFlag::OutX) t.c_iflag |= IXON;
    if (dc.flags & dcbFlag::InX) t.c_iflag |= IXOFF;
    if (dc.flags & dcbFlag::Parity) t.c_iflag |= INPCK;
    t.c_cc[VSTART] = dc.xonChar;
    t.c_cc[VSTOP] = dc.xoffChar;
    if (int err = ioctlErr(fd_, TCSETS2, &t); err != 0) return fail(err);

    termios2 back{};
    if (int err = ioctlErr(fd_, TCGETS2, &back); err != 0) return fail(err);
    const bool rateTaken = back.c_ospeed == dc.baudRate;
    const bool parityTaken = (back.c_cflag & CMSPAR) == (t.c_cflag & CMSPAR);

    const std::uint32_t dtr = dc.flags & dcbFlag::DtrControlMask;
    escape(dtr == 0 ? Escape::ClrDtr : Escape::SetDtr);  // no DTR handshake on Linux: DTR just on
    const std::uint32_t rts = dc.flags & dcbFlag::RtsControlMask;
    if (rts == 0) escape(Escape::ClrRts);
    if (rts == dcbFlag::RtsControlEnable) escape(Escape::SetRts);

    {
        std::lock_guard<std::mutex> lock(controlLock_);
        control_ = dc;
        control_.baudRate = back.c_ospeed;
    }
    eventChar_ = dc.eventChar;
    return rateTaken && parityTaken ? 0 : EINVAL;
}

int PosixSerialDevice::setEventMask(std::uint32_t mask) {
    mask_ = mask;
    maskChanged_.set();
    return 0;
}

bool PosixSerialDevice::readCounters(Counters& c) {
    serial_icounter_struct ic{};
    if (ioctlErr(fd_, TIOCGICOUNT, &ic) != 0) return false;
    c = {ic.cts, ic.dsr, ic.rng, ic.dcd, ic.frame, ic.overrun, ic.parity, ic.brk, ic.buf_overrun};
    return true;
}

// Line events since the last look, from the driver's interrupt counters.
std::uint32_t PosixSerialDevice::counterEvents(std::uint32_t& errors) {
    Counters now;
    if (!hasCounters_ || !readCounters(now)) return 0;
    std::uint32_t ev = 0;
    if (now.cts != counters_.cts) ev |= lineEvent::Cts;
    if (now.dsr != counters_.dsr) ev |= lineEvent::Dsr;
    if (now.dcd != counters_.dcd) ev |= lineEvent::Rlsd;
    if (now.rng != counters_.rng) ev |= lineEvent::Ring;
    if (now.brk != counters_.brk) {
        ev |= lineEvent::Break;
        errors |= lineError::Break;
    }
    if (now.frame != counters_.frame) errors |= lineError::Frame;
    if (now.overrun != counters_.overrun || now.bufOverrun != counters_.bufOverrun)
        errors |= lineError::Overrun;
    if (now.parity != counters_.parity) errors |= lineError::Parity;
    if (errors & (lineError::Frame | lineError::Overrun | lineError::Parity)) ev |= lineEvent::Err;
    counters_ = now;
    return ev;
}

// -1: nothing being sent; 0: the queue is empty now; else how long to wait before looking again.
int PosixSerialDevice::transmitWaitMs() {
    if (!txPending_) return -1;
    int queued = 0;
    if (ioctlErr(fd_, TIOCOUTQ, &queued) != 0 || queued <= 0) {
        txPending_ = false;
        txLastQueue_ = -1;
        txBackoffMs_ = 0;
        return 0;
    }
    std::uint32_t rate;
    {
        std::lock_guard<std::mutex> lock(controlLock_);
        rate = std::max<std::uint32_t>(control_.baudRate, 1);
    }
    const int wire = static_cast<int>(std::uint64_t(queued) * kBitsPerByte * 1000 / rate) + 1;
    // A queue that does not move is held by flow control: look less and less often.
    txBackoffMs_ = queued == txLastQueue_
                       ? std::min(std::max(txBackoffMs_ * 2, wire), kMaxTransmitRecheckMs)
                       : std::min(wire, kMaxTransmitRecheckMs);
    txLastQueue_ = queued;
    return txBackoffMs_;
}

int PosixSerialDevice::waitEvent(std::uint32_t& events, std::uint32_t& errors) {
    events = errors = 0;
    // Only a change during this wait ends it; an empty mask ends it at once (also a close's
    // clearing that came just before the wait).
    maskChanged_.tryConsume();
    for (;;) {
        if (lost_ || fd_ < 0) return EIO;
        const std::uint32_t mask = mask_;
        if (mask == 0 || maskChanged_.tryConsume()) return 0;
        std::uint32_t found = counterEvents(errors);
        if (rxFlagPending_.exchange(false)) found |= lineEvent::RxFlag;
        // Still armed: the bytes were read before this thread's poll saw them.
        if (rxTaken_.exchange(false) && rxArmed_) found |= lineEvent::RxChar;
        const int txWait = transmitWaitMs();
        if (txWait == 0) found |= lineEvent::TxEmpty;
        if (found & mask) {
            events = found & mask;
            if (!(events & lineEvent::Err)) errors = 0;
            return 0;
        }
        errors = 0;

        // Bytes the receive thread watches for reach this wait through its read (rxTaken_): a
        // second thread woken by the same bytes would only compete with the delivery.
        const bool pollData = rxArmed_ && (mask & lineEvent::RxChar) && !receiveWatched_;
        pollfd fds[4] = {{fd_, static_cast<short>(pollData ? POLLIN : 0), 0},
                         {maskChanged_.fd(), POLLIN, 0},
                         {rearm_.fd(), POLLIN, 0},
                         {recheck_.fd(), POLLIN, 0}};
        const int r = ::poll(fds, 4, txWait > 0 ? txWait : -1);
        if (r < 0 && errno != EINTR) return fail(errno);
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            lost_ = true;
            return EIO;
        }
        if (rearm_.tryConsume()) rxArmed_ = true;
        recheck_.tryConsume();
        if (fds[0].revents & POLLIN) {
            // Quiet until the receive thread has read, so a full ring cannot make this spin.
            rxArmed_ = false;
            events = lineEvent::RxChar;
            return 0;
        }
    }
}

int PosixSerialDevice::clearErrors(std::uint32_t* errors, std::uint32_t* inQueue,
                                   std::uint32_t* outQueue) {
    if (lost_ || fd_ < 0) return EIO;
    if (errors) *errors = 0;
    int n = 0;
    if (inQueue) {
        if (int err = ioctlErr(fd_, FIONREAD, &n); err != 0) return fail(err);
        *inQueue = static_cast<std::uint32_t>(n);
        // Nothing left to read (another flush may have taken it): new bytes must be reported.
        if (n == 0) rearm_.set();
    }
    if (outQueue) {
        if (int err = ioctlErr(fd_, TIOCOUTQ, &n); err != 0) return fail(err);
        *outQueue = static_cast<std::uint32_t>(n);
    }
    return 0;
}

int PosixSerialDevice::read(void* buffer, std::size_t size, std::size_t& got) {
    got = 0;
    if (lost_ || fd_ < 0) return EIO;
    for (;;) {
        const ssize_t r = ::read(fd_, buffer, size);
        if (r > 0) {
            got = static_cast<std::size_t>(r);
            break;
        }
        if (r == 0) return fail(EIO);  // end of file on a tty: hung up
        if (errno == EINTR) continue;
        if (errno == EAGAIN) {
            // A pass that ends on an empty read still owes the status thread its event.
            if (rxTaken_) rearm_.set();
            return 0;
        }
        return fail(errno);
    }
    if ((mask_ & lineEvent::RxFlag) && std::memchr(buffer, eventChar_.load(), got)) {
        rxFlagPending_ = true;
        recheck_.set();
    }
    rxTaken_ = true;
    // A watching receive thread raises its data-received signal first and wakes the status thread
    // at the end of its pass (the empty queue seen in clearErrors), off the delivery's path.
    if (!receiveWatched_) rearm_.set();
    return 0;
}

void PosixSerialDevice::setReceiveWatched(bool watched) {
    if (receiveWatched_.exchange(watched) == watched) return;
    // The status thread's wait must poll the data again (a full ring, a hang-up).
    if (!watched) recheck_.set();
}

int PosixSerialDevice::write(const void* data, std::size_t size, std::size_t& written,
                             std::chrono::milliseconds limit) {
    written = 0;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    const auto* p = static_cast<const char*>(data);
    while (written < size) {
        if (lost_ || fd_ < 0) return EIO;
        if (writeInterrupt_.tryConsume()) return EINTR;
        const ssize_t r = ::write(fd_, p + written, size - written);
        if (r > 0) {
            written += static_cast<std::size_t>(r);
            txPending_ = true;
            recheck_.set();
            continue;
        }
        if (r < 0 && errno == EINTR) continue;
        if (r < 0 && errno != EAGAIN) return fail(errno);
        int timeout = -1;
        if (limit.count() > 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return ETIMEDOUT;
            timeout = static_cast<int>(left.count()) + 1;
        }
        pollfd fds[2] = {{fd_, POLLOUT, 0}, {writeInterrupt_.fd(), POLLIN, 0}};
        const int n = ::poll(fds, 2, timeout);
        if (n < 0 && errno != EINTR) return fail(errno);
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) return fail(EIO);
    }
    return 0;
}

int PosixSerialDevice::purge(bool input, bool output) {
    if (fd_ < 0) return EBADF;
    const long what = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
    if (!input && !output) return 0;
    if (output) txPending_ = false;
    return fail(ioctlErr(fd_, TCFLSH, reinterpret_cast<void*>(what)));
}

int PosixSerialDevice::escape(Escape function) {
    if (fd_ < 0) return EBADF;
    if (lost_) return EIO;
    if (function == Escape::SetBreak) return fail(ioctlErr(fd_, TIOCSBRK, nullptr));
    if (function == Escape::ClrBreak) return fail(ioctlErr(fd_, TIOCCBRK, nullptr));
    // A device without modem lines (a pty) accepts line changes as no-ops, probed once.
    if (!hasModemControl_) return 0;
    int bit = function == Escape::SetDtr || function == Escape::ClrDtr ? kTiocmDtr : kTiocmRts;
    const bool set = function == Escape::SetDtr || function == Escape::SetRts;
    const int err = ioctlErr(fd_, set ? TIOCMBIS : TIOCMBIC, &bit);
    if (unsupported(err)) {
        hasModemControl_ = false;
        return 0;
    }
    return fail(err);
}

int PosixSerialDevice::modemStatus(std::uint32_t& bits) {
    bits = 0;
    if (fd_ < 0) return EBADF;
    if (lost_) return EIO;
    if (!hasModemStatus_) return ENOTTY;
    int lines = 0;
    if (int err = ioctlErr(fd_, TIOCMGET, &lines); err != 0) return fail(err);
    if (lines & kTiocmCts) bits |= modemBit::Cts;
    if (lines & kTiocmDsr) bits |= modemBit::Dsr;
    if (lines & kTiocmRng) bits |= modemBit::Ring;
    if (lines & kTiocmCar) bits |= modemBit::Dcd;
    return 0;
}

// TIOCMIWAIT blocks in the kernel and cannot join a poll(): a helper waits in it and wakes the
// status thread, which then reads the counters. It ends on the first failure (unsupported after
// all, or hung up) and is woken for the close by a signal without SA_RESTART.
void PosixSerialDevice::startLineWatcher() {
    static const bool installed = [] {
        struct sigaction sa {};
        sa.sa_handler = ignoreSignal;
        sigemptyset(&sa.sa_mask);
        return ::sigaction(kWatcherWakeSignal, &sa, nullptr) == 0;
    }();
    if (!installed) return;
    stopWatcher_ = false;
    watcherDone_ = false;
    lineWatcher_ = std::thread([this] {
        struct Done {
            std::atomic<bool>& flag;
            ~Done() { flag = true; }
        } done{watcherDone_};
        while (!stopWatcher_) {
            if (::ioctl(fd_, TIOCMIWAIT, kTiocmCts | kTiocmDsr | kTiocmCar | kTiocmRng) != 0) {
                if (errno == EINTR) continue;
                if (!unsupported(errno)) fail(errno);
                recheck_.set();
                return;
            }
            recheck_.set();
        }
    });
}

void PosixSerialDevice::stopLineWatcher() {
    if (!lineWatcher_.joinable()) return;
    stopWatcher_ = true;
    // The helper may be just entering the ioctl: repeat the wake until it has left.
    while (!watcherDone_) {
        ::pthread_kill(lineWatcher_.native_handle(), kWatcherWakeSignal);
        struct timespec ts {
            0, 2'000'000
        };
        ::nanosleep(&ts, nullptr);
    }
    lineWatcher_.join();
}

}  // namespace platform
