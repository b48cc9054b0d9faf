#pragma once
// The serial link of one command: the port component on COM<n> with the windows' line settings
// (registry store, --baud on top), its receptions handed to whoever listens, and a device that
// vanishes closed outside the delivery that reported it.
//
// Main thread only; receptions and onLost arrive from the event loop.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/ConsoleMessages.h"
#include "cli/EventLoop.h"
#include "serial/Commport.h"

namespace cli {

class Link {
  public:
    Link(EventLoop& loop, ConsoleMessages& messages, int comNumber, std::optional<int> baud);
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // Opens the port; false when it could not, with the reason shown unless `quiet` (failure()
    // keeps it either way).
    bool open(bool quiet = false);
    // Why the latest open failed: "COM3 (/dev/ttyUSB0): Не могу открыть COM порт" and the cause.
    const std::string& failure() const { return failure_; }
    // Whether the latest open failed because another program holds the port.
    bool heldByAnother() const;
    // Closes the port; must not be called from inside a reception.
    void close();
    bool isOpen() const { return port_.Open(); }

    // Queues bytes for the terminal; false when the link is closed or the ring took less.
    bool send(std::string_view bytes);
    bool send(std::span<const std::uint8_t> bytes);
    void discardPendingInput() { port_.FlushInBuffer(); }

    unsigned lineRate() const { return static_cast<unsigned>(port_.GetBaud()); }
    int comNumber() const { return comNumber_; }
    // "COM3" and, once known, its device: "COM3 (/dev/ttyUSB0)".
    std::string describe() const;

    // Every non-empty reception, in order; the bytes are valid during the call.
    std::function<void(std::span<const std::uint8_t>)> onReception;
    // After the link closed because its device went away (run from the loop, not a delivery).
    std::function<void()> onLost;

  private:
    void deliver(std::uint32_t count);

    EventLoop& loop_;
    ConsoleMessages& messages_;
    int comNumber_;
    TCommPort port_;
    std::array<std::uint8_t, 4096> buffer_{};
    int openError_ = 0;
    std::string failure_;
};

}  // namespace cli
