// vigil write: a configuration file and overrides written to the terminal and verified.
#include <cstdio>

#include "cli/Command.h"
#include "cli/ConfigurationFile.h"
#include "cli/ExitCodes.h"
#include "cli/Overrides.h"
#include "cli/Recording.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "cli/WriteReport.h"
#include "cli/WriteVerify.h"
#include "platform/Catalogue.h"

namespace cli {
namespace {

constexpr std::string_view kHelp = VIGIL_TRANSLATABLE(
    "vigil",
    "usage: vigil write --port COM<n> FILE.abt [--set KEY=VALUE ...] [--keep-unlisted]\n"
    "                   [--baud N]\n\n"
    "Takes the values of FILE.abt, then each --set, then writes all four groups as the\n"
    "windows' 'write all pages' button does and checks that every value sent comes back\n"
    "equal (in the write's answer, or in a read that follows for values it lacks).\n"
    "Nothing is sent when a value lies outside what its parameter accepts, or when FILE.abt\n"
    "lacks a writable value (all 53 are written, so a missing one would be blanked).\n\n"
    "  --set KEY=VALUE  KEY is a parameter name (ModulePhone, ServerIp1, AlarmPressCount ...)\n"
    "                   with the value as 'vigil read --format json' shows it, or an .abt key\n"
    "                   (TL9, Ip1, NmbPress ...) with the value as the file holds it; repeatable\n"
    "  --keep-unlisted  read the terminal first and keep its own values for what FILE.abt\n"
    "                   and --set do not give (they are written back and verified too)\n"
    "  --port COM<n>    the port, as 'vigil ports' lists it\n"
    "  --baud N         line rate instead of the one the windows keep\n\n"
    "exit codes: 0 written and verified; 1 port cannot be opened or was lost; 2 bad command\n"
    "            line or file, a value outside its domain, or values missing; 3 the terminal\n"
    "            does not answer; 4 values differ (each listed with what was sent and received)\n");

constexpr OptionSpec kOptions[] = {
    kPortOption, kBaudOption, {"set", true, true}, {kKeepUnlistedOption, false}};

int runWrite(const CommandLine& line) {
    if (line.positional.size() != 1)
        return usageError("write", platform::translated("vigil", "needs exactly one FILE.abt"));
    std::string error;
    const auto options = linkOptions(line, error);
    if (!options) return usageError("write", error);
    std::vector<Override> overrides;
    for (const std::string& set : line.all("set")) {
        auto override = parseOverride(set, error);
        if (!override) return usageError("write", error);
        overrides.push_back(*override);
    }
    std::set<const protocol::Parameter*> supplied;
    for (const Override& override : overrides) supplied.insert(override.parameter);
    const auto file =
        readConfigurationFile(line.positional[0], line.has(kKeepUnlistedOption), supplied, error);
    if (!file) {
        printError(error);
        return kExitBadInput;
    }

    Session session(*options);
    if (int code = session.open(); code != kExitOk) return code;
    // One read before the write: the records' snapshot of what the terminal held, and under
    // --keep-unlisted the values kept for what the file lacks.
    protocol::ValueStore terminalValues;
    const auto [reading, idCod] = recording::readAndRecord(session.terminal, terminalValues);
    if (file->needsTerminalValues()) {
        if (int code = session.reportReading(reading); code != kExitOk) {
            session.link.close();
            return code;
        }
        if (const std::string problem =
                file->keptValuesProblem(reading.answer, terminalValues, TextFor::Screen);
            !problem.empty()) {
            session.link.close();
            printError(withArgs("%1: %2", {session.link.describe(), problem}));
            return kExitBadInput;
        }
    }
    protocol::ValueStore values = session::valuesToSend(file->file, terminalValues, overrides);
    return writeRecordAndReport(session, records::Kind::Write, idCod, values);
}

}  // namespace

const Command kWriteCommand{
    "write", VIGIL_TRANSLATABLE("vigil", "write an .abt file (and overrides), then verify"), kHelp,
    kOptions, runWrite};

}  // namespace cli
