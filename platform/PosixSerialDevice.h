#pragma once
// The real serial device: a Linux tty driven through termios2 and the tty ioctls.
//
// Open: O_RDWR|O_NOCTTY|O_NONBLOCK|O_CLOEXEC, flock(LOCK_EX|LOCK_NB) before any termios call, then
// TIOCEXCL; raw mode with CLOCAL|CREAD; low-latency mode where the driver allows it. What the
// driver supports (modem status, interrupt counters, modem-line control) is probed once here, and
// an unsupported call is never retried in a loop: modem-line control on a device without lines (a
// pty) is accepted and does nothing, modem status fails.
//
// Events: received data from poll() (re-armed after each read, when the input queue is seen
// empty, or by rearmReceive(), so a full ring cannot make the status thread spin); transmit-empty
// from TIOCOUTQ after each write, re-checked after the queue's wire time while it drains (backing
// off up to 1 s while flow control holds it); modem lines, breaks and line errors from TIOCGICOUNT
// differences, woken by a TIOCMIWAIT helper where the driver has both. Hang-up (POLLHUP/POLLERR,
// read() == 0, EIO) marks the device lost.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/SerialDevice.h"
#include "platform/Signal.h"

namespace platform {

class PosixSerialDevice : public SerialDevice {
  public:
    PosixSerialDevice() = default;
    ~PosixSerialDevice() override;

    int open(const std::string& path) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    bool lost() const override { return lost_.load(); }

    int setQueueSizes(std::uint32_t input, std::uint32_t output) override;
    int getTimeOuts(DeviceTimeOuts& out) override;
    int setTimeOuts(const DeviceTimeOuts& in) override;
    int getControl(DeviceControl& out) override;
    int setControl(const DeviceControl& in) override;

    int setEventMask(std::uint32_t mask) override;
    int waitEvent(std::uint32_t& events, std::uint32_t& errors) override;

    int clearErrors(std::uint32_t* errors, std::uint32_t* inQueue,
                    std::uint32_t* outQueue) override;
    int read(void* buffer, std::size_t size, std::size_t& got) override;
    int write(const void* data, std::size_t size, std::size_t& written,
              std::chrono::milliseconds limit) override;
    void interruptWrite() override { writeInterrupt_.set(); }
    void rearmReceive() override { rearm_.set(); }
    // Only through the TIOCMIWAIT helper, which ends if the driver refuses its first wait.
    bool signalsModemChanges() const override { return !watcherDone_; }
    int receiveFd() const override { return lost_ ? -1 : fd_; }
    void setReceiveWatched(bool watched) override;

    int purge(bool input, bool output) override;
    int escape(Escape function) override;
    int modemStatus(std::uint32_t& bits) override;

  private:
    struct Counters {
        int cts = 0, dsr = 0, rng = 0, dcd = 0, frame = 0, overrun = 0, parity = 0, brk = 0,
            bufOverrun = 0;
    };
    int fail(int err);  // records a hang-up, returns err
    bool readCounters(Counters& c);
    std::uint32_t counterEvents(std::uint32_t& errors);
    int transmitWaitMs();
    void drainBeforeClose();
    void startLineWatcher();
    void stopLineWatcher();

    int fd_ = -1;
    std::atomic<bool> lost_{false};
    bool hasModemStatus_ = false;
    bool hasCounters_ = false;
    std::atomic<bool> hasModemControl_{true};
    DeviceControl control_;
    DeviceTimeOuts timeOuts_;
    std::mutex controlLock_;

    std::atomic<std::uint32_t> mask_{0};
    std::atomic<std::uint8_t> eventChar_{0};
    std::atomic<bool> rxFlagPending_{false};
    std::atomic<bool> txPending_{false};
    // The receive thread took bytes: the status thread reports them if its poll did not.
    std::atomic<bool> rxTaken_{false};
    // The receive thread polls receiveFd() itself (setReceiveWatched).
    std::atomic<bool> receiveWatched_{false};
    // Status-thread state.
    bool rxArmed_ = true;
    Counters counters_;
    int txLastQueue_ = -1;
    int txBackoffMs_ = 0;

    Signal maskChanged_{Signal::Reset::Automatic};
    Signal rearm_{Signal::Reset::Automatic};
    Signal recheck_{Signal::Reset::Automatic};
    Signal writeInterrupt_{Signal::Reset::Automatic};

    std::thread lineWatcher_;
    std::atomic<bool> stopWatcher_{false};
    std::atomic<bool> watcherDone_{true};
};

}  // namespace platform
