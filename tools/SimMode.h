#pragma once
// A way of behaving on the line: the settings firmware, the bootloader, or whatever a test needs.
// The simulator hands a mode every received chunk (after the line-rate model has let it through)
// and wakes it at the time it asks for. All of it runs on the simulator's thread; a mode guards
// what it lets other threads look at with its own lock.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace sim {

using Clock = std::chrono::steady_clock;

// What a mode may do to the line.
class Line {
  public:
    virtual ~Line() = default;
    // Queues bytes to go out `delay` from now (after what is already queued, at the line rate).
    virtual void send(std::string bytes, Clock::duration delay = Clock::duration::zero()) = 0;
    // Pulls the plug: the line closes and stays closed.
    virtual void unplug() = 0;
    // Bytes sent and not yet taken by the line: a mode that sends unasked keeps this small, so
    // that it sends only what the line takes.
    virtual std::size_t queuedBytes() const { return 0; }
    virtual Clock::time_point now() const = 0;
};

class Mode {
  public:
    virtual ~Mode() = default;
    virtual void received(const std::uint8_t* data, std::size_t length, Line& line) = 0;
    // When the mode wants tick() next; nullopt for never.
    virtual std::optional<Clock::time_point> wakeAt() const { return std::nullopt; }
    virtual void tick(Line& /*line*/) {}
    // On a pty the simulator made: a client opened the line, or closed its last descriptor of it.
    virtual void linkOpened(Line& /*line*/) {}
    virtual void linkClosed(Line& /*line*/) {}
};

}  // namespace sim
