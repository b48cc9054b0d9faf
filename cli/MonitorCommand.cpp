// vigil monitor: the terminal's monitor output as the windows' monitor page shows it.
#include <cstdio>

#include "cli/Clock.h"
#include "cli/Command.h"
#include "cli/ExitCodes.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "platform/Catalogue.h"
#include "protocol/RequestBuilder.h"
#include "protocol/ValueStore.h"
#include "ui/TrafficMonitor.h"

namespace cli {
namespace {

constexpr std::string_view kHelp = VIGIL_TRANSLATABLE(
    "vigil",
    "usage: vigil monitor --port COM<n> [--seconds S] [--timestamps] [--baud N]\n\n"
    "Sends \"Monitor=On:\" and prints every reception as lines of up to 16 bytes: the bytes\n"
    "in hex, then as text (as the windows' monitor page shows them). Ctrl+C, or S seconds,\n"
    "ends it with \"Monitor=Off:\".\n\n"
    "options:\n"
    "  --seconds S    stop after S seconds\n"
    "  --timestamps   a line with the local time before each reception's lines\n"
    "  --port COM<n>  the port, as 'vigil ports' lists it\n"
    "  --baud N       line rate instead of the one the windows keep\n\n"
    "exit codes: 0 ended by Ctrl+C or after S seconds; 1 port cannot be opened or was lost;\n"
    "            2 bad command line\n");

constexpr OptionSpec kOptions[] = {
    kPortOption, kBaudOption, {"seconds", true}, {"timestamps", false}};

// The monitor switch of the page "Монитор" (mask 0x0400 or 0x0800).
bool sendMonitorSwitch(Link& link, std::uint16_t requestMask) {
    protocol::ValueStore none;
    protocol::TransmitBuffer buffer;
    protocol::composeRequest(none, requestMask, buffer);
    return link.send(buffer.view());
}

int runMonitor(const CommandLine& line) {
    if (!line.positional.empty())
        return usageError("monitor", platform::translated("vigil", "takes no arguments"));
    std::string error;
    const auto options = linkOptions(line, error);
    if (!options) return usageError("monitor", error);
    std::optional<int> seconds;
    if (const auto text = line.value("seconds")) {
        seconds = parseCount(*text);
        if (!seconds)
            return usageError("monitor",
                              platform::translated("vigil", "--seconds takes a whole number"));
    }
    const bool timestamps = line.has("timestamps");

    Session session(*options);
    if (int code = session.open(); code != kExitOk) return code;
    bool lost = false, outputGone = false;
    session.link.onLost = [&] { lost = true; };
    session.link.onReception = [&](std::span<const std::uint8_t> bytes) {
        if (timestamps) std::printf("[%s]\n", timeOfDayWithMilliseconds().c_str());
        for (const std::string& text : ui::monitorLines(bytes)) std::printf("%s\n", text.c_str());
        outputGone = std::fflush(stdout) != 0 || std::ferror(stdout);
    };
    // What an earlier request left on the line is not monitor output. (The switch off goes at
    // once: the output it stops never falls quiet.)
    if (session.terminal.awaitQuietLine() == EventLoop::Outcome::Interrupted) return kExitOk;
    sendMonitorSwitch(session.link, protocol::mask::MonitorOn);
    const auto until = seconds
                           ? std::optional(EventLoop::Clock::now() + std::chrono::seconds(*seconds))
                           : std::nullopt;
    session.loop.runUntil([&] { return lost || outputGone; }, until);
    session.link.onReception = nullptr;
    if (lost) return session.reportEnd(Answer::End::LinkLost);
    // The close lets the transmitter send what it holds before the port goes.
    sendMonitorSwitch(session.link, protocol::mask::MonitorOff);
    session.link.close();
    return kExitOk;
}

}  // namespace

const Command kMonitorCommand{
    "monitor", VIGIL_TRANSLATABLE("vigil", "show the terminal's monitor output as hex and text"),
    kHelp, kOptions, runMonitor};

}  // namespace cli
