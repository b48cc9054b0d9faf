#pragma once
// A scriptable serial device for tests of what a pty cannot show: feed received bytes, change modem
// lines, raise a break or a line error, stall writes, make a step fail, unplug at a chosen moment.
// One object can serve several opens (a test keeps it and hands it out from a device factory);
// open() clears the line state, keeps the scripted failures and the record of written bytes.
// Every operation is thread-safe.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/SerialDevice.h"

namespace platform {

class FakeSerialDevice : public SerialDevice {
  public:
    // --- The test's side ---
    void feed(const std::string& bytes);
    void setModemLines(std::uint32_t modemBits);  // modemBit:: values
    // Whether line changes end waitEvent() (default); off, they are only seen by modemStatus().
    void signalModemChanges(bool signalled);
    void raiseBreak();
    // Any set of line events at once (one completed wait), with the flags of an Err event.
    void raiseEvents(std::uint32_t lineEvents, std::uint32_t lineErrors = 0);
    void raiseLineError(std::uint32_t lineErrors);  // lineError:: values
    void stallWrites(bool stalled);
    void unplug();
    // The next open() fails with `err` (0: succeeds again).
    void failOpen(int err);
    // setControl() fails with `err` from now on (0: succeeds again).
    void failControl(int err);

    std::string written() const;
    // Waits until at least `count` bytes were written; returns whether they were.
    bool waitForWritten(std::size_t count, std::chrono::milliseconds timeout) const;
    DeviceControl control() const;
    std::vector<Escape> escapes() const;
    std::uint32_t eventMask() const;
    int opens() const;
    int closes() const;
    int outputPurges() const;
    int eventWaits() const;  // waitEvent() calls since the last open

    // --- The component's side ---
    int open(const std::string& path) override;
    void close() override;
    bool isOpen() const override;
    bool lost() const override;
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
    void interruptWrite() override;
    void rearmReceive() override;
    int purge(bool input, bool output) override;
    int escape(Escape function) override;
    int modemStatus(std::uint32_t& bits) override;
    bool signalsModemChanges() const override;

  private:
    void raise(std::uint32_t events);  // lock held

    mutable std::mutex lock_;
    mutable std::condition_variable changed_;
    bool open_ = false;
    bool lost_ = false;
    bool stalled_ = false;
    bool writeInterrupted_ = false;
    bool signalsModemChanges_ = true;
    bool maskChanged_ = false;
    int failOpen_ = 0;
    int failControl_ = 0;
    int opens_ = 0, closes_ = 0, outputPurges_ = 0, eventWaits_ = 0;
    std::uint32_t mask_ = 0;
    std::uint32_t pending_ = 0;
    std::uint32_t errors_ = 0;
    std::uint32_t modem_ = 0;
    std::deque<char> input_;
    std::string written_;
    DeviceControl control_;
    DeviceTimeOuts timeOuts_;
    std::vector<Escape> escapes_;
};

}  // namespace platform
