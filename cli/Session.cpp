#include "cli/Session.h"

#include "cli/ExitCodes.h"
#include "cli/LineSettings.h"
#include "cli/Texts.h"
#include "platform/Catalogue.h"
#include "platform/ComPortMap.h"
#include "platform/PortDiagnostics.h"
#include "serial/LineRates.h"

namespace cli {

std::optional<LinkOptions> linkOptions(const CommandLine& line, std::string& error) {
    LinkOptions options;
    const auto port = line.value("port");
    if (!port) {
        error = platform::translated("vigil", "--port COM<n> is required (vigil ports lists them)");
        return std::nullopt;
    }
    const auto number = parseComPort(*port);
    if (!number) {
        error = withArgs(platform::translated("vigil", "--port takes COM<n>, got \"%1\""), {*port});
        return std::nullopt;
    }
    options.comNumber = *number;
    if (const auto baud = line.value("baud")) {
        const auto rate = parseCount(*baud);
        if (!rate || !isKnownLineRate(*rate)) {
            error = withArgs(platform::translated("vigil", "--baud takes one of %1; got \"%2\""),
                             {serial::lineRateList(), *baud});
            return std::nullopt;
        }
        options.baud = rate;
    }
    return options;
}

Session::Session(const LinkOptions& options)
    : link(loop, messages, options.comNumber, options.baud), terminal(link, loop) {}

int Session::open() {
    return link.open() ? kExitOk : kExitFailure;
}

int Session::reportReading(const Terminal::Reading& reading) {
    if (reading.end != Answer::End::Complete && reading.end != Answer::End::Paused)
        return reportEnd(reading.end);
    if (reading.missing.empty()) return kExitOk;
    printError(withArgs(platform::translated("vigil", "%1: the terminal's answer lacks %2"),
                        {link.describe(), keyList(reading.missing)}));
    return kExitSilent;
}

int Session::reportEnd(Answer::End end) {
    switch (end) {
        case Answer::End::Silent:
            printError(platform::noAnswerText(link.comNumber(),
                                              platform::devicePathFor(link.comNumber())));
            return kExitSilent;
        case Answer::End::LinkLost:
            printError(withArgs(platform::translated("vigil", "%1: the link was lost"),
                                {link.describe()}));
            return kExitFailure;
        case Answer::End::Interrupted:
            printError(platform::translated("vigil", "interrupted"));
            return kExitInterrupted;
        default:
            return kExitOk;
    }
}

}  // namespace cli
