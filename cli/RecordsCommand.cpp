// vigil records status|sync: where the records are kept and what waits for the team server.
#include <cstdio>

#include "cli/Command.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitCodes.h"
#include "cli/Recording.h"
#include "cli/Texts.h"
#include "platform/Catalogue.h"
#include "records/SqlStore.h"

namespace cli {
namespace {

constexpr std::string_view kHelp = VIGIL_TRANSLATABLE(
    "vigil",
    "usage: vigil records status | vigil records sync\n\n"
    "  status  where the records are kept, how many units and events they hold, the team\n"
    "          server (VIGIL_RECORDS=postgresql://...) and how many events wait for it\n"
    "  sync    sends the waiting events to the team server now\n\n"
    "The password of the team server comes from libpq's password file (~/.pgpass or\n"
    "PGPASSFILE); it is never shown or stored by this program.\n\n"
    "exit codes: 0 done; 1 the records or the server cannot be used, or events still wait;\n"
    "            2 bad command line\n");

int status(records::Recorder& recorder) {
    if (!recorder.keeping()) return kExitFailure;
    records::SqlStore& local = *recorder.local();
    try {
        printText(platform::translated("vigil", "records: %1\n"), {local.description()});
        printText(platform::translated("vigil", "units: %1\n"),
                  {std::to_string(local.units().size())});
        if (recorder.teamAddress().empty()) {
            printText(
                platform::translated("vigil", "team server: none (VIGIL_RECORDS is not set)\n"));
        } else {
            printText(platform::translated("vigil", "team server: %1\n"),
                      {records::withoutPassword(recorder.teamAddress())});
            printText(platform::translated("vigil", "waiting to be sent: %1\n"),
                      {std::to_string(local.pending())});
        }
    } catch (const records::StoreError& e) {
        printError(e.what());
        return kExitFailure;
    }
    return kExitOk;
}

int sync(records::Recorder& recorder) {
    if (!recorder.keeping()) return kExitFailure;
    const records::SyncResult result = recorder.sync();
    printText(platform::translated("vigil", "sent: %1, waiting: %2\n"),
              {std::to_string(result.sent), std::to_string(result.pending)});
    if (!result.problem.empty()) {
        printError(result.problem);
        return kExitFailure;
    }
    return result.pending == 0 ? kExitOk : kExitFailure;
}

int runRecords(const CommandLine& line) {
    if (line.positional.size() != 1)
        return usageError("records", platform::translated("vigil", "takes status or sync"));
    if (line.positional[0] == "status") return status(recording::recorder());
    if (line.positional[0] == "sync") return sync(recording::recorder());
    return usageError("records",
                      withArgs(platform::translated("vigil", "takes status or sync, got \"%1\""),
                               {line.positional[0]}));
}

}  // namespace

const Command kRecordsCommand{
    "records",
    VIGIL_TRANSLATABLE("vigil", "where the records are kept; send them to the team server"),
    kHelp,
    {},
    runRecords};

}  // namespace cli
