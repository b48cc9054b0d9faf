#pragma once
// What every command that talks to a terminal shares: the options --port and --baud, the event
// loop, the console messages, the link and the terminal dialogue over it.
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/ConsoleMessages.h"
#include "cli/EventLoop.h"
#include "cli/Link.h"
#include "cli/Terminal.h"

namespace cli {

inline constexpr OptionSpec kPortOption{"port", true};
inline constexpr OptionSpec kBaudOption{"baud", true};

struct LinkOptions {
    int comNumber = 0;
    std::optional<int> baud;
};

// --port (required) and --baud; nullopt with `error` set when missing or malformed.
std::optional<LinkOptions> linkOptions(const CommandLine& line, std::string& error);

class Session {
  public:
    explicit Session(const LinkOptions& options);

    // Opens the link; kExitOk, or kExitFailure with the reason shown.
    int open();
    // Reports a reading that did not come whole (silent terminal, missing keys, lost link,
    // Ctrl+C) and returns its exit code; kExitOk for a complete one.
    int reportReading(const Terminal::Reading& reading);
    // The same for the other ends of an exchange.
    int reportEnd(Answer::End end);

    EventLoop loop;
    ConsoleMessages messages;
    Link link;
    Terminal terminal;
};

}  // namespace cli
