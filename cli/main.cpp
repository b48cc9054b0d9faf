// vigil: the command-line program over the configurator's core (read, write and verify, upload,
// monitor, batch commissioning), for installers who set up terminals by the dozen.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Catalogues.h"
#include "cli/Command.h"
#include "cli/ExitCodes.h"
#include "cli/Interrupt.h"
#include "cli/Recording.h"
#include "cli/RunLanguage.h"
#include "cli/Texts.h"
#include "platform/Catalogue.h"

namespace {

const cli::Command* const kCommands[] = {
    &cli::kPortsCommand,   &cli::kReadCommand,    &cli::kWriteCommand,
    &cli::kUploadCommand,  &cli::kMonitorCommand, &cli::kBatchCommand,
    &cli::kHistoryCommand, &cli::kRestoreCommand, &cli::kRecordsCommand};

void printOverview(std::FILE* out) {
    std::fputs(
        platform::translated(
            "vigil",
            "usage: vigil [--lang ru|en] <command> [options]\n\n"
            "Commissioning Vigil terminals over a serial link, on the core of the Config_Vigil\n"
            "windows (same COM port map and line settings).\n\ncommands:\n")
            .c_str(),
        out);
    // The names stay as typed; the manual page's generator finds them by the two leading blanks.
    for (const cli::Command* c : kCommands)
        std::fprintf(out, "  %-9s %s\n", std::string(c->name).c_str(),
                     platform::translated("vigil", std::string(c->summary).c_str()).c_str());
    std::fputs(
        platform::translated(
            "vigil",
            "\n'vigil <command> --help' describes a command, its options and exit codes.\n"
            "--lang ru|en (anywhere on the line, else VIGIL_LANG, else the locale) chooses\n"
            "the language of the messages; files, logs and JSON keys are the same in both.\n")
            .c_str(),
        out);
}

}  // namespace

namespace cli {

int usageError(std::string_view command, const std::string& message) {
    const std::string name(command);
    std::fputs(withArgs(platform::translated("vigil", "vigil %1: %2\nTry 'vigil %1 --help'.\n"),
                        {name, message})
                   .c_str(),
               stderr);
    return kExitBadInput;
}

}  // namespace cli

int main(int argc, char** argv) {
    // Lines reach a pipe (a log, a test) as they are printed.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // A reader that goes away (vigil monitor | head) is a failed write, so the command can still
    // wind up (switch the monitor off) instead of being killed.
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    // One language for the whole run, chosen before anything is printed. A --lang that cannot be
    // used leaves the environment's language, in which it is refused.
    std::string languageError;
    const auto language = cli::takeLanguageOption(args, languageError);
    // No catalogue to word this in: it stays in English.
    if (const std::string problem =
            cli::installCatalogues(cli::runLanguage(language.value_or(std::nullopt)));
        !problem.empty())
        std::fprintf(stderr, "vigil: %s\n", problem.c_str());
    if (!language) {
        cli::takeLanguageOption(args, languageError);  // worded again, in that language
        std::fprintf(stderr, "vigil: %s\n", languageError.c_str());
        return cli::kExitBadInput;
    }
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
            std::fputs(platform::translated("vigil", std::string(command->help).c_str()).c_str(),
                       stdout);
            return cli::kExitOk;
        }
        cli::installInterruptHandling();
        cli::recording::setCommandText(args);
        return command->run(*line);
    }
    std::fputs(
        cli::withArgs(platform::translated("vigil", "vigil: unknown command \"%1\"\n\n"), {args[0]})
            .c_str(),
        stderr);
    printOverview(stderr);
    return cli::kExitBadInput;
}
