#pragma once
// The terminal simulator's engine: one thread that serves a mode over a file descriptor, either a
// pseudo-terminal master it created (the client opens the slave path) or a serial device it opened.
//
// Threads: construct, attach (createPty/openDevice), start() and stop() from one controlling
// thread; the engine thread calls the mode. stop() (and the destructor) wakes the thread through
// an eventfd and joins it.
//
// Link watch: on a pty it made, the engine sees the client open and close the slave (inotify) and
// tells the mode, as a terminal sees its host come and go.
//
// Line rate: with a non-zero `bitsPerSecond` every byte takes 10 bit times each way, so a record
// is complete only once its wire time has passed and an answer reaches the client only after its
// own; 0 lets bytes through as fast as the pty carries them.
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "tools/SimMode.h"

namespace sim {

class Simulator : private Line {
  public:
    explicit Simulator(Mode& mode, unsigned bitsPerSecond = 0);
    ~Simulator() override;
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Creates a pty in raw mode and returns its slave path ("" on failure, with *error set).
    // The engine holds the slave open too, so the client may close and reopen it freely.
    std::string createPty(std::string* error = nullptr);
    // Opens a tty device in raw mode at the line rate (9600 when none was given).
    bool openDevice(const std::string& path, std::string* error = nullptr);

    void start();
    void stop();

    // Every byte received so far, in order (for logs and tests).
    std::string receivedBytes() const;
    // Whether the line was unplugged by the mode.
    bool unplugged() const { return unplugged_.load(); }
    const std::string& slavePath() const { return slavePath_; }

  private:
    void run();
    void readAvailable();
    void deliverDue();
    void writeDue();
    void closeLine();
    void watchLink();
    void linkEvents();
    Clock::duration wireTime(std::size_t bytes) const;

    // Line
    void send(std::string bytes, Clock::duration delay) override;
    void unplug() override;
    std::size_t queuedBytes() const override;
    Clock::time_point now() const override { return Clock::now(); }

    Mode& mode_;
    unsigned bitsPerSecond_;
    int fd_ = -1;
    int slaveKeeper_ = -1;
    int wakeFd_ = -1;
    int linkWatchFd_ = -1;
    int clientOpens_ = 0;  // the client's open descriptions of the slave
    std::string slavePath_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> unplugged_{false};

    // Engine thread only: bytes on their way in and out, keyed by the time they are due.
    std::multimap<Clock::time_point, std::string> inbound_, outbound_;
    std::string writing_;  // the part of a due chunk the device has not taken yet
    Clock::time_point rxLineFree_{}, txLineFree_{};

    mutable std::mutex receivedLock_;
    std::string received_;
};

}  // namespace sim
