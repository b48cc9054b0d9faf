// vigil read: the terminal's values as an .abt file or as JSON.
#include "cli/Command.h"
#include "cli/ExitCodes.h"
#include "cli/OutputFile.h"
#include "cli/Recording.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "files/AbtFile.h"
#include "platform/Catalogue.h"
#include "protocol/ValueStore.h"
#include "records/HistoryFormat.h"
#include "records/NewEvent.h"
#include "session/TemplateValues.h"

namespace cli {
namespace {

constexpr std::string_view kHelp = VIGIL_TRANSLATABLE(
    "vigil",
    "usage: vigil read --port COM<n> [--out FILE] [--format abt|json] [--baud N]\n\n"
    "Reads every value of the terminal (the Read buttons' request) and writes them:\n"
    "  abt   the 53 items exactly as File -> Save writes them (default)\n"
    "  json  every parameter by name (Phone1, ServerIp1, MicSensitivity, IdCode, ...), with its\n"
    "        value as a request or an answer carries it, read-only ones included\n"
    "to FILE (replaced whole) or to standard output.\n\n"
    "options:\n"
    "  --port COM<n>  the port, as 'vigil ports' lists it\n"
    "  --baud N       line rate instead of the one the windows keep\n\n"
    "exit codes: 0 read; 1 port cannot be opened or output not written; 2 bad command line;\n"
    "            3 the terminal does not answer, or its answer lacks a key (named)\n");

constexpr OptionSpec kOptions[] = {kPortOption, kBaudOption, {"out", true}, {"format", true}};

int runRead(const CommandLine& line) {
    if (!line.positional.empty())
        return usageError("read",
                          platform::translated("vigil", "takes no file arguments; use --out"));
    const std::string format = line.value("format").value_or("abt");
    if (format != "abt" && format != "json")
        return usageError("read", withArgs(platform::translated(
                                               "vigil", "--format takes abt or json, got \"%1\""),
                                           {format}));
    std::string error;
    const auto options = linkOptions(line, error);
    if (!options) return usageError("read", error);

    Session session(*options);
    if (int code = session.open(); code != kExitOk) return code;
    protocol::ValueStore values;
    const Terminal::Reading reading = session.terminal.read(values);
    session.link.close();
    recording::recordReading(records::Kind::Read, session.link, values, reading);
    if (int code = session.reportReading(reading); code != kExitOk) return code;
    // The output holds such a value as the parse bent it; the operator must know it is not the
    // terminal's before writing the file anywhere.
    for (const std::string& bent :
         session::bentAnswerValues(reading.answer, protocol::kFileItems, values))
        printError(withArgs(
            platform::translated(
                "vigil",
                "warning: the terminal holds %1; the output holds the value as read into range"),
            {bent}));

    if (format == "json")
        return writeOutput(line.value("out"), records::valuesJson(records::valuesOf(values)));
    protocol::TransmitBuffer buffer;
    const protocol::ComposeResult composed = files::composeAbt(values, buffer);
    if (!composed.ok) {
        printError(composed.message);
        return kExitFailure;
    }
    return writeOutput(line.value("out"), buffer.view());
}

}  // namespace

const Command kReadCommand{
    "read", VIGIL_TRANSLATABLE("vigil", "read the terminal's values to an .abt file or JSON"),
    kHelp, kOptions, runRead};

}  // namespace cli
