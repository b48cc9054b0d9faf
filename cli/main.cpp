// vigil: the command-line program over the configurator's core (read, write and verify, upload,
// monitor, batch commissioning), for installers who set up terminals by the dozen.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/ExitCodes.h"
#include "cli/Interrupt.h"
#include "cli/Recording.h"

namespace {

const cli::Command* const kCommands[] = {
    &cli::kPortsCommand,   &cli::kReadCommand,    &cli::kWriteCommand,
    &cli::kUploadCommand,  &cli::kMonitorCommand, &cli::kBatchCommand,
    &cli::kHistoryCommand, &cli::kRestoreCommand, &cli::kRecordsCommand};

void printOverview(std::FILE* out) {
    std::fputs(
        "usage: vigil <command> [options]\n\n"
        "Commissioning Vigil terminals over a serial link, on the core of the Config_Vigil\n"
        "windows (same COM port map and line settings).\n\ncommands:\n",
        out);
    for (const cli::Command* c : kCommands)
        std::fprintf(out, "  %-9s %.*s\n", std::string(c->name).c_str(),
                     static_cast<int>(c->summary.size()), c->summary.data());
    std::fputs("\n'vigil <command> --help' describes a command, its options and exit codes.\n",
               out);
}

}  // namespace

namespace cli {

int usageError(std::string_view command, const std::string& message) {
    const std::string name(command);
    std::fprintf(stderr, "vigil %s: %s\nTry 'vigil %s --help'.\n", name.c_str(), message.c_str(),
                 name.c_str());
    return kExitBadInput;
}

}  // namespace cli

int main(int argc, char** argv) {
    // Lines reach a pipe (a log, a test) as they are printed.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // A reader that goes away (vigil monitor | head) is a failed write, so the command can still
    // wind up (switch the monitor off) instead of being killed.
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        printOverview(stderr);
        return cli::kExitBadInput;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printOverview(stdout);
        return cli::kExitOk;
    }
    for (const cli::Command* command : kCommands) {
        if (command->name != args[0]) continue;
        std::string error;
        const auto line =
            cli::parseCommandLine(std::span(args).subspan(1), command->options, error);
        if (!line) return cli::usageError(command->name, error);
        if (line->help) {
            std::fwrite(command->help.data(), 1, command->help.size(), stdout);
            return cli::kExitOk;
        }
        cli::installInterruptHandling();
        cli::recording::setCommandText(args);
        return command->run(*line);
    }
    std::fprintf(stderr, "vigil: unknown command \"%s\"\n\n", args[0].c_str());
    printOverview(stderr);
    return cli::kExitBadInput;
}
