// vigil batch: commissioning one unit after another from a template and a units file, with a
// resumable log.
#include <cstdio>
#include <optional>

#include "cli/Clock.h"
#include "cli/Command.h"
#include "cli/ConfigurationFile.h"
#include "cli/ExitCodes.h"
#include "cli/OutputFile.h"
#include "cli/Recording.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "cli/WriteVerify.h"
#include "platform/Catalogue.h"
#include "protocol/Cp1251.h"
#include "protocol/ParameterTable.h"
#include "session/BatchLog.h"
#include "session/BatchPlan.h"
#include "session/DisconnectWatch.h"
#include "session/UnitsFile.h"

namespace cli {
namespace {

using session::BatchLog;
using session::kResultFailed;
using session::kResultOk;
using session::Unit;

constexpr std::string_view kHelp = VIGIL_TRANSLATABLE(
    "vigil",
    "usage: vigil batch --port COM<n> TEMPLATE.abt UNITS.csv --log LOG.csv [--keep-unlisted]\n"
    "                   [--baud N]\n\n"
    "Commissions the units of UNITS.csv one after another. For each unit not yet done in\n"
    "LOG.csv it asks for the unit, waits until a terminal answers a read on the port, writes\n"
    "TEMPLATE.abt with the unit's own values and verifies them as 'vigil write' does, and\n"
    "appends a row to LOG.csv: time, unit, the terminal's IDCOD, ok/failed, the differing\n"
    "parameters. Then it waits until that terminal is disconnected and asks for the next unit.\n"
    "A terminal is known by the code its IDCOD starts with (up to the first blank): one the log\n"
    "has a row of is that row's unit, tried again if it failed and left alone if it is done;\n"
    "only a terminal the log has never seen takes the next unit.\n"
    "Run it again with the same LOG.csv to resume. One batch per log and per port.\n\n"
    "UNITS.csv: a header row 'unit,<KEY>,<KEY>...' (parameter names or .abt keys, values as\n"
    "--set of 'vigil write' takes them), then one row per unit: its label and its values; an\n"
    "empty cell keeps the template's value. ',' or ';' separates, UTF-8. Nothing is sent\n"
    "when a value lies outside what its parameter accepts, or when TEMPLATE.abt lacks a\n"
    "writable value that not every unit row gives.\n\n"
    "options:\n"
    "  --log LOG.csv  the record of the run (created, or appended to)\n"
    "  --keep-unlisted  keep each terminal's own values for what the template and the\n"
    "                 unit's row do not give (written back and verified too)\n"
    "  --port COM<n>  the port, as 'vigil ports' lists it\n"
    "  --baud N       line rate instead of the one the windows keep\n\n"
    "exit codes: 0 every unit done; 1 port or log unusable, or held by another batch;\n"
    "            2 bad command line or file; 4 some unit failed (see the log);\n"
    "            130 Ctrl+C (the log keeps whole rows)\n");

constexpr OptionSpec kOptions[] = {
    kPortOption, kBaudOption, {"log", true}, {kKeepUnlistedOption, false}};

// Between two polls of a terminal that is not ready.
constexpr std::chrono::seconds kPollPause{1};

// Works through the units: it asks for the next unit no terminal has taken yet, and whatever
// terminal then answers is judged by the log. A terminal the log has a row of is that row's unit
// (tried again if it failed, left alone if it is done); only a terminal the log has never seen
// takes the unit asked for.
class Batch {
  public:
    enum class End { Finished, Interrupted, LogFailed, PortHeld };

    Batch(Session& session, BatchLog& log, const std::vector<Unit>& units,
          const ConfigurationFile& templateFile)
        : session_(session), log_(log), plan_(log, units), templateFile_(templateFile) {}

    End run();

    int ok = 0, failed = 0;

  private:
    // Polls with reads until a terminal answers every key; `answer` keeps the answer's bytes.
    End awaitTerminal(protocol::ValueStore& reading, std::string& answer);
    // Waits until the terminal of `idCode` no longer answers; false on Ctrl+C.
    bool awaitDisconnect(const std::string& idCode);
    // Opens the port if it is closed, quietly; prints the reason once per unit.
    bool openQuietly(bool& reasonShown);
    // The unit the connected terminal is to be written as, or nullptr (the reason printed).
    const Unit* unitFor(const Unit& asked, const std::string& idCode) const;
    // Writes and verifies the unit over the terminal's `reading` (kept for what the template
    // lacks); false when Ctrl+C ended it or the log could not be written.
    bool commission(const Unit& unit, const std::string& idCode,
                    const protocol::ValueStore& reading, const std::string& answer, End& end);
    bool record(const Unit& unit, const std::string& idCode, const WriteOutcome& outcome,
                const std::vector<std::string>& extra);

    Session& session_;
    BatchLog& log_;
    session::BatchPlan plan_;
    const ConfigurationFile& templateFile_;
    std::string connectedId_;  // the IDCOD text of the terminal last seen connected
};

bool Batch::openQuietly(bool& reasonShown) {
    if (session_.link.isOpen()) return true;
    const bool opened = session_.link.open(true);
    if (!opened && !reasonShown && !session_.link.heldByAnother()) {
        printError(withArgs(platform::translated("vigil", "%1 (trying again)"),
                            {session_.link.failure()}));
        reasonShown = true;
    }
    return opened;
}

Batch::End Batch::awaitTerminal(protocol::ValueStore& reading, std::string& answer) {
    bool reasonShown = false;
    for (;;) {
        if (openQuietly(reasonShown)) {
            const Terminal::Reading r = session_.terminal.read(reading);
            if (r.end == Answer::End::Interrupted) return End::Interrupted;
            if (r.end != Answer::End::LinkLost && r.end != Answer::End::Silent &&
                r.missing.empty()) {
                answer = r.answer;
                return End::Finished;
            }
            if (r.end == Answer::End::Silent) continue;  // the read itself waited
        } else if (session_.link.heldByAnother()) {
            // Another batch (or any program) on the port would write its units into ours.
            printError(session_.link.failure());
            return End::PortHeld;
        }
        if (session_.loop.runFor(kPollPause) == EventLoop::Outcome::Interrupted)
            return End::Interrupted;
    }
}

bool Batch::awaitDisconnect(const std::string& idCode) {
    session::DisconnectWatch watch(idCode);
    for (;;) {
        if (!session_.link.isOpen()) return true;
        protocol::ValueStore reading;
        const Terminal::Reading r = session_.terminal.read(reading);
        if (r.end == Answer::End::Interrupted) return false;
        if (r.end == Answer::End::LinkLost) return true;
        if (r.end == Answer::End::Silent) {
            if (watch.silent()) return true;
            continue;
        }
        if (watch.answered(identification(r, reading))) return true;
        if (session_.loop.runFor(kPollPause) == EventLoop::Outcome::Interrupted) return false;
    }
}

const Unit* Batch::unitFor(const Unit& asked, const std::string& idCode) const {
    using Kind = session::TerminalVerdict::Kind;
    const std::string& label = asked.label;
    const session::TerminalVerdict verdict = plan_.judge(idCode);
    const std::string& known = verdict.known;
    switch (verdict.kind) {
        case Kind::Unidentified:
            printText(
                platform::translated(
                    "vigil",
                    "Unit %1: the connected terminal gives no identification code (IDCOD=%2); "
                    "it could not be told from another unit, so it is not written; "
                    "disconnect it.\n"),
                {label, idCode});
            break;
        case Kind::StrayAttempt:
            printText(
                platform::translated(
                    "vigil",
                    "Unit %1: the connected terminal (IDCOD=%2) took part of unit %3's values "
                    "in an attempt that failed; unit %3 was done since on another terminal "
                    "(IDCOD=%4). This one is not written and may hold unit %3's values; "
                    "disconnect it.\n"),
                {label, idCode, known, log_.idCodeOf(known)});
            break;
        case Kind::Done:
            printText(platform::translated(
                          "vigil",
                          "Unit %1: the connected terminal (IDCOD=%2) is unit %3, already done; "
                          "disconnect it.\n"),
                      {label, idCode, known});
            break;
        case Kind::NotListed:
            printText(platform::translated(
                          "vigil",
                          "Unit %1: the connected terminal (IDCOD=%2) is unit %3 of the log, which "
                          "the units file does not list; disconnect it.\n"),
                      {label, idCode, known});
            break;
        case Kind::Retry:
            printText(platform::translated(
                          "vigil", "Unit %1: terminal IDCOD=%2, failed before; trying it again.\n"),
                      {known, idCode});
            break;
        case Kind::Fresh:
            printText(platform::translated("vigil", "Unit %1: terminal IDCOD=%2, writing.\n"),
                      {verdict.unit->label, idCode});
            break;
        case Kind::NoUnitLeft:
            printText(platform::translated("vigil",
                                           "Unit %1: the connected terminal (IDCOD=%2) is not in "
                                           "the log, and unit %1 has a "
                                           "terminal of its own (IDCOD=%3); disconnect it.\n"),
                      {label, idCode, log_.idCodeOf(asked.label)});
            break;
    }
    return verdict.unit;
}

bool Batch::commission(const Unit& unit, const std::string& idCode,
                       const protocol::ValueStore& reading, const std::string& answer, End& end) {
    plan_.tried(unit.label);
    // A kept value the answer parse would bend is refused for this unit; nothing is sent.
    if (std::string problem = templateFile_.keptValuesProblem(answer, reading, TextFor::Log);
        !problem.empty()) {
        WriteOutcome refused;
        refused.status = WriteOutcome::Status::Refused;
        refused.refusal = std::move(problem);
        if (record(unit, idCode, refused, {})) return true;
        end = End::LogFailed;
        return false;
    }
    // The identifying read is the unit's snapshot before the write.
    Terminal::Reading whole;  // awaitTerminal returns only once every key has come
    whole.end = Answer::End::Complete;
    whole.answer = answer;
    recording::recordReading(records::Kind::Read, session_.link, reading, whole);
    protocol::ValueStore values = session::valuesToSend(templateFile_.file, reading, unit.values);
    const protocol::ValueStore sent = values;
    const WriteOutcome outcome = writeAndVerify(session_.terminal, values);
    // Ctrl+C may come after the terminal took the values: the row is written all the same, so
    // that this terminal stays bound to this unit.
    bool interrupted = outcome.status == WriteOutcome::Status::Unanswered &&
                       outcome.end == Answer::End::Interrupted;
    // The terminal written must still be the one identified.
    session::WrittenTerminal written{idCode, idCode, {}, {}};
    if (!interrupted && outcome.status != WriteOutcome::Status::Refused) {
        const AnsweringAfter after = answeringAfter(session_.terminal, outcome);
        interrupted = after.end == Answer::End::Interrupted;
        written = session::writtenTerminal(log_, unit.label, idCode, after.idCod,
                                           outcome.status != WriteOutcome::Status::Unanswered,
                                           templateFile_.needsTerminalValues());
        connectedId_ = written.connected;
    }
    // The records file the write under the terminal that took it, whatever the log binds.
    recording::recordWrite(records::Kind::Write, session_.link, connectedId_, sent, values,
                           outcome);
    std::string error;
    if (!record(unit, written.idCodText, outcome, written.notes) ||
        (!written.displaced.empty() &&
         !log_.append({localTimestamp(), written.displaced, connectedId_, kResultFailed,
                       written.displacedNote(unit.label)},
                      error))) {
        if (!error.empty()) printError(error);
        end = End::LogFailed;
        return false;
    }
    if (interrupted) end = End::Interrupted;
    return !interrupted;
}

bool Batch::record(const Unit& unit, const std::string& idCode, const WriteOutcome& outcome,
                   const std::vector<std::string>& extra) {
    std::vector<std::string> differences = session::attemptDifferences(outcome);
    differences.insert(differences.end(), extra.begin(), extra.end());
    const bool agreed = differences.empty();
    std::string error;
    if (!log_.append(session::attemptRow(localTimestamp(), unit.label, idCode, differences),
                     error)) {
        // What the terminal now holds must not go unsaid because the log could not keep it.
        printError(error);
        printError(withArgs(
            agreed ? platform::translated("vigil",
                                          "unit %1 (IDCOD=%2): written and verified, but the log "
                                          "does not record it; the batch stops")
                   : platform::translated("vigil",
                                          "unit %1 (IDCOD=%2): FAILED, but the log does not record "
                                          "it; the batch stops"),
            {unit.label, idCode}));
        return false;
    }
    (agreed ? ok : failed) += 1;
    printText(agreed ? platform::translated("vigil", "Unit %1: ok\n")
                     : platform::translated("vigil", "Unit %1: FAILED\n"),
              {unit.label});
    for (const std::string& d : differences) std::printf("  %s\n", d.c_str());
    return true;
}

Batch::End Batch::run() {
    // Set while a terminal is connected: what to tell the operator about it (empty: told).
    std::optional<std::string> connected;
    for (;;) {
        const Unit* unit = plan_.asked();
        if (!unit) return End::Finished;
        if (connected) {
            if (!connected->empty()) std::printf("%s\n", connected->c_str());
            if (!awaitDisconnect(connectedId_)) return End::Interrupted;
        }
        if (log_.bound(unit->label))
            printText(
                platform::translated(
                    "vigil", "Unit %1: failed before; connect its terminal (IDCOD=%2) to %3.\n"),
                {unit->label, log_.idCodeOf(unit->label), session_.link.describe()});
        else
            printText(platform::translated("vigil", "Unit %1: connect it to %2.\n"),
                      {unit->label, session_.link.describe()});
        std::fflush(stdout);
        protocol::ValueStore reading;
        std::string answer;
        if (const End end = awaitTerminal(reading, answer); end != End::Finished) return end;
        const std::string idCode =
            protocol::fromCp1251ForDisplay(reading.text(protocol::kIdCode).value_or(""));
        const Unit* target = unitFor(*unit, idCode);
        connectedId_ = idCode;
        connected = "";  // unitFor told the operator to disconnect a terminal it refused
        if (!target) continue;
        End end = End::Finished;
        const int failedBefore = failed;
        if (!commission(*target, idCode, reading, answer, end)) return end;
        // After a failure nothing may read as "done".
        connected = withArgs(failed == failedBefore
                                 ? platform::translated("vigil", "Unit %1: done; disconnect it.")
                                 : platform::translated("vigil", "Unit %1: disconnect it."),
                             {target->label});
    }
}

int runBatch(const CommandLine& line) {
    if (line.positional.size() != 2)
        return usageError("batch",
                          platform::translated("vigil", "needs TEMPLATE.abt and UNITS.csv"));
    const auto logPath = line.value("log");
    if (!logPath)
        return usageError("batch", platform::translated("vigil", "--log LOG.csv is required"));
    std::string error;
    const auto options = linkOptions(line, error);
    if (!options) return usageError("batch", error);

    const auto units = session::readUnitsFile(line.positional[1], error);
    if (!units) {
        printError(error);
        return kExitBadInput;
    }
    const auto templateFile =
        readConfigurationFile(line.positional[0], line.has(kKeepUnlistedOption),
                              session::suppliedByEveryUnit(*units), error);
    if (!templateFile) {
        printError(error);
        return kExitBadInput;
    }
    if (const std::string problem = outputFileProblem(*logPath); !problem.empty()) {
        printError(problem);
        return kExitFailure;
    }
    auto log = BatchLog::open(*logPath, error);
    if (!log) {
        printError(error);
        return kExitFailure;
    }
    for (const std::string& refused : log->refused()) printError(refused);

    Session session(*options);
    // The port is this batch's alone from the start: a second batch on it stops here.
    if (!session.link.open(true) && session.link.heldByAnother()) {
        printError(session.link.failure());
        return kExitFailure;
    }
    const int skipped = session::BatchPlan(*log, *units).doneCount();
    Batch batch(session, *log, *units, *templateFile);
    const Batch::End end = batch.run();
    session.link.close();
    const int done = session::BatchPlan(*log, *units).doneCount();
    printText(platform::translated("vigil", "Batch: %1 ok, %2 failed, %3 done before.\n"),
              {std::to_string(batch.ok), std::to_string(batch.failed), std::to_string(skipped)});
    switch (end) {
        case Batch::End::LogFailed:
        case Batch::End::PortHeld:
            return kExitFailure;
        case Batch::End::Interrupted:
            return session.reportEnd(Answer::End::Interrupted);
        case Batch::End::Finished:
            break;
    }
    return done == static_cast<int>(units->size()) ? kExitOk : kExitDiffers;
}

}  // namespace

const Command kBatchCommand{
    "batch", VIGIL_TRANSLATABLE("vigil", "commission many units from a template and a units file"),
    kHelp, kOptions, runBatch};

}  // namespace cli
