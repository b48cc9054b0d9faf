// vigil restore: a unit's recorded values written back to it and verified.
#include <cstdio>

#include "cli/Command.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitCodes.h"
#include "cli/Recording.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "cli/WriteReport.h"
#include "platform/Catalogue.h"
#include "records/Snapshot.h"
#include "session/UnitIdentity.h"

namespace cli {
namespace {

constexpr std::string_view kHelp = VIGIL_TRANSLATABLE(
    "vigil",
    "usage: vigil restore --port COM<n> --unit ID [--at TIME | --before-erase] [--baud N]\n\n"
    "Writes the values the records hold for unit ID back to it, as 'vigil write' does, and\n"
    "verifies them. The terminal is read first: one that is not unit ID is not written to.\n"
    "  (default)       the newest values kept of the unit\n"
    "  --at TIME       the newest kept by TIME (UTC, 2026-11-12 or 2026-11-12T10:30)\n"
    "  --before-erase  the values read just before the unit's latest erase\n"
    "  --port COM<n>   the port, as 'vigil ports' lists it\n"
    "  --baud N        line rate instead of the one the windows keep\n\n"
    "exit codes: 0 written and verified; 1 port cannot be opened or was lost, or the records\n"
    "            cannot be read; 2 bad command line, no such values kept, or another unit is\n"
    "            connected; 3 the terminal does not answer; 4 values differ (each listed)\n");

constexpr OptionSpec kOptions[] = {
    kPortOption, kBaudOption, {"unit", true}, {"at", true}, {"before-erase", false}};

int runRestore(const CommandLine& line) {
    if (!line.positional.empty())
        return usageError("restore", platform::translated("vigil", "takes no file arguments"));
    const auto unit = line.value("unit");
    if (!unit || unit->empty())
        return usageError("restore", platform::translated("vigil", "--unit ID is required"));
    if (line.has("at") && line.has("before-erase"))
        return usageError(
            "restore", platform::translated("vigil", "--at and --before-erase exclude each other"));
    const auto at = line.value("at") ? records::snapshotTime(*line.value("at"))
                                     : std::optional<std::string>(std::string());
    if (!at)
        return usageError("restore", withArgs(platform::translated(
                                                  "vigil",
                                                  "--at takes a UTC time such as 2026-11-12T10:30, "
                                                  "got \"%1\""),
                                              {*line.value("at")}));
    std::string error;
    const auto options = linkOptions(line, error);
    if (!options) return usageError("restore", error);

    records::Recorder& recorder = recording::recorder();
    if (!recorder.keeping()) return kExitFailure;
    std::vector<records::Event> events;
    try {
        events = recording::teamEvents(*unit);
    } catch (const records::StoreError& e) {
        printError(e.what());
        return kExitFailure;
    }
    const records::Event* snapshot =
        records::chooseSnapshot(events, {*at, line.has("before-erase")}, error);
    protocol::ValueStore values;
    if (!snapshot || !records::applySnapshot(snapshot->values, values, error)) {
        printError(withArgs(platform::translated("vigil", "unit %1: %2"), {*unit, error}));
        return kExitBadInput;
    }
    printText(platform::translated("vigil", "Unit %1: values kept at %2 (%3).\n"),
              {*unit, snapshot->atUtc, records::kindName(snapshot->kind)});

    Session session(*options);
    if (int code = session.open(); code != kExitOk) return code;
    protocol::ValueStore held;
    const auto [reading, idCod] = recording::readAndRecord(session.terminal, held);
    if (int code = session.reportReading(reading); code != kExitOk) return code;
    if (session::unitIdentity(idCod) != *unit) {
        printError(
            withArgs(platform::translated("vigil",
                                          "%1: the connected terminal is unit \"%2\", not %3; "
                                          "nothing was written"),
                     {session.link.describe(), session::unitIdentity(idCod), *unit}));
        return kExitBadInput;
    }
    return writeRecordAndReport(session, records::Kind::Restore, idCod, values);
}

}  // namespace

const Command kRestoreCommand{
    "restore", VIGIL_TRANSLATABLE("vigil", "write a unit's recorded values back, verified"), kHelp,
    kOptions, runRestore};

}  // namespace cli
