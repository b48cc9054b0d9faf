// vigil write: a configuration file and overrides written to the terminal and verified.
#include <cstdio>

#include "cli/Command.h"
#include "cli/ConfigurationFile.h"
#include "cli/ExitCodes.h"
#include "cli/Overrides.h"
#include "cli/Recording.h"
#include "cli/Session.h"
#include "cli/WriteReport.h"
#include "cli/WriteVerify.h"

namespace cli {
namespace {

constexpr std::string_view kHelp =
    "usage: vigil write --port COM<n> FILE.abt [--set KEY=VALUE ...] [--baud N]\n\n"
    "Applies FILE.abt as File -> Open does, then each --set, then writes all four groups as\n"
    "the windows' 'write all pages' button does and checks that every value sent comes back\n"
    "equal (in the write's answer, or in a read that follows for values it lacks).\n\n"
    "  --set KEY=VALUE  KEY is a parameter name (ModulePhone, ServerIp1, AlarmPressCount ...)\n"
    "                   with the value as 'vigil read --format json' shows it, or an .abt key\n"
    "                   (TL9, Ip1, NmbPress ...) with the value as the file holds it; repeatable\n"
    "  --port COM<n>    the port, as 'vigil ports' lists it\n"
    "  --baud N         line rate instead of the one the windows keep\n\n"
    "exit codes: 0 written and verified; 1 port cannot be opened or was lost; 2 bad command\n"
    "            line or file, or a value that cannot be sent; 3 the terminal does not answer;\n"
    "            4 values differ (each listed with what was sent and received)\n";

constexpr OptionSpec kOptions[] = {kPortOption, kBaudOption, {"set", true, true}};

int runWrite(const CommandLine& line) {
    if (line.positional.size() != 1) return usageError("write", "needs exactly one FILE.abt");
    std::string error;
    const auto options = linkOptions(line, error);
    if (!options) return usageError("write", error);
    std::vector<Override> overrides;
    for (const std::string& set : line.all("set")) {
        auto override = parseOverride(set, error);
        if (!override) return usageError("write", error);
        overrides.push_back(*override);
    }
    protocol::ValueStore values;
    if (!applyConfigurationFile(line.positional[0], values, error)) {
        printError(error);
        return kExitBadInput;
    }
    for (const Override& override : overrides) applyOverride(values, override);

    Session session(*options);
    if (int code = session.open(); code != kExitOk) return code;
    const std::string idCod = recording::snapshotBeforeWrite(session.terminal);
    return writeRecordAndReport(session, records::Kind::Write, idCod, values);
}

}  // namespace

const Command kWriteCommand{"write", "write an .abt file (and overrides), then verify", kHelp,
                            kOptions, runWrite};

}  // namespace cli
