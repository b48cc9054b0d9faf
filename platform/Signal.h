#pragma once
// An event object that a thread can wait on, alone or in one poll() together with a device fd.
// Automatic reset: a wait that sees the signal consumes it, so several raises before the waiter
// wakes wake it once. Manual reset: it stays raised until reset() and wakes every wait meanwhile.
// All operations are safe from any thread.
#include <chrono>

namespace platform {

class Signal {
  public:
    enum class Reset { Automatic, Manual };

    explicit Signal(Reset mode);
    ~Signal();
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    void set();
    void reset();
    // Blocks until raised (consuming it when automatic).
    void wait();
    // As wait(), giving up after `timeout`; returns whether it was raised.
    bool waitFor(std::chrono::milliseconds timeout);
    // Non-blocking look; consumes an automatic signal it sees.
    bool tryConsume();
    bool isSet() const;

    // Readable while raised: put it in a poll() set, then call tryConsume().
    int fd() const { return fd_; }
    Reset mode() const { return mode_; }

  private:
    int fd_;
    Reset mode_;
};

}  // namespace platform
