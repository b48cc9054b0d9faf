// vigil history: the records of every unit, or of one, as text, JSON or CSV.
#include <cstdio>

#include "cli/Command.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitCodes.h"
#include "cli/OutputFile.h"
#include "cli/Recording.h"
#include "cli/Texts.h"
#include "platform/Catalogue.h"
#include "records/HistoryFormat.h"

namespace cli {
namespace {

constexpr std::string_view kHelp = VIGIL_TRANSLATABLE(
    "vigil",
    "usage: vigil history [--unit ID] [--format text|json|csv]\n\n"
    "Lists the recorded exchanges with terminals, oldest first: every unit's, or the one whose\n"
    "identification code is ID (the part of IDCOD= before the first blank).\n"
    "  text  a line per event, differences and updates below it (default)\n"
    "  json  a list of events with every field; values by parameter name as 'vigil read\n"
    "        --format json' gives them\n"
    "  csv   a row per event, without the values\n\n"
    "The records live in $XDG_DATA_HOME/vigil/records.sqlite (see 'vigil records status');\n"
    "with a team server set (VIGIL_RECORDS), its records are listed with these, each event\n"
    "once. When it cannot be read, these alone are listed and a line on stderr says why.\n\n"
    "exit codes: 0 listed; 1 the records cannot be read; 2 bad command line\n");

constexpr OptionSpec kOptions[] = {{"unit", true}, {"format", true}};

int runHistory(const CommandLine& line) {
    if (!line.positional.empty())
        return usageError("history", platform::translated("vigil", "takes no file arguments"));
    const std::string format = line.value("format").value_or("text");
    if (format != "text" && format != "json" && format != "csv")
        return usageError(
            "history",
            withArgs(platform::translated("vigil", "--format takes text, json or csv, got \"%1\""),
                     {format}));
    records::Recorder& recorder = recording::recorder();
    if (!recorder.keeping()) return kExitFailure;  // the reason is already shown
    std::vector<records::Event> events;
    try {
        events = recording::teamEvents(line.value("unit").value_or(""));
    } catch (const records::StoreError& e) {
        printError(e.what());
        return kExitFailure;
    }
    const std::string text = format == "json"  ? records::historyJson(events)
                             : format == "csv" ? records::historyCsv(events)
                                               : records::historyText(events);
    return writeOutput(std::nullopt, text);
}

}  // namespace

const Command kHistoryCommand{
    "history", VIGIL_TRANSLATABLE("vigil", "list the recorded exchanges with terminals"), kHelp,
    kOptions, runHistory};

}  // namespace cli
