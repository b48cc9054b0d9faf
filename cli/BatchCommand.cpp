// vigil batch: commissioning one unit after another from a template and a units file, with a
// resumable log.
#include <cstdio>

#include "cli/BatchLog.h"
#include "cli/Clock.h"
#include "cli/Command.h"
#include "cli/ConfigurationFile.h"
#include "cli/ExitCodes.h"
#include "cli/OutputFile.h"
#include "cli/Session.h"
#include "cli/UnitsFile.h"
#include "cli/WriteVerify.h"
#include "protocol/Cp1251.h"

namespace cli {
namespace {

constexpr std::string_view kHelp =
    "usage: vigil batch --port COM<n> TEMPLATE.abt UNITS.csv --log LOG.csv [--keep-unlisted]\n"
    "                   [--baud N]\n\n"
    "Commissions the units of UNITS.csv one after another. For each unit not yet done in\n"
    "LOG.csv it asks for the unit, waits until a terminal answers a read on the port, writes\n"
    "TEMPLATE.abt with the unit's own values and verifies them as 'vigil write' does, and\n"
    "appends a row to LOG.csv: time, unit, the terminal's IDCOD, ok/failed, the differing\n"
    "parameters. Then it waits until that terminal is disconnected and asks for the next unit.\n"
    "A terminal whose IDCOD the log holds as done under another unit is not written to.\n"
    "Run it again with the same LOG.csv to resume: units done are skipped, failed ones are\n"
    "tried again.\n\n"
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
    "exit codes: 0 every unit done; 1 port or log unusable; 2 bad command line or file;\n"
    "            4 some unit failed (see the log); 130 Ctrl+C (the log keeps whole rows)\n";

constexpr OptionSpec kOptions[] = {kPortOption, kBaudOption, {"log", true},
                                   {kKeepUnlistedOption, false}};

// Between two polls of a terminal that is not ready.
constexpr std::chrono::seconds kPollPause{1};
// Silent reads in a row that mean the unit was disconnected.
constexpr int kSilentReadsForDisconnect = 2;

class Batch {
public:
    Batch(Session& session, BatchLog& log) : session_(session), log_(log) {}

    // Commissions `unit`; false when Ctrl+C ended the run (or the log could not be written).
    bool commission(const Unit& unit, const ConfigurationFile& templateFile);
    // Waits until the connected terminal no longer answers.
    bool awaitDisconnect();

    int ok = 0, failed = 0;
    bool logFailed = false;

private:
    // Polls with reads until a terminal answers every key; false on Ctrl+C.
    bool awaitTerminal(protocol::ValueStore& reading, std::string& answer);
    // Opens the port if it is closed, quietly; prints the reason once per unit.
    bool openQuietly(bool& reasonShown);
    bool record(const Unit& unit, const std::string& idCode, const WriteOutcome& outcome);

    Session& session_;
    BatchLog& log_;
};

bool Batch::openQuietly(bool& reasonShown) {
    if (session_.link.isOpen()) return true;
    const bool opened = session_.link.open(true);
    if (!opened && !reasonShown) {
        printError(session_.link.failure() + " (trying again)");
        reasonShown = true;
    }
    return opened;
}

bool Batch::awaitTerminal(protocol::ValueStore& reading, std::string& answer) {
    bool reasonShown = false;
    for (;;) {
        if (openQuietly(reasonShown)) {
            const Terminal::Reading r = session_.terminal.read(reading);
            if (r.end == Answer::End::Interrupted) return false;
            answer = r.answer;
            if (r.end != Answer::End::LinkLost && r.end != Answer::End::Silent && r.missing.empty())
                return true;
            if (r.end == Answer::End::Silent) continue;  // the read itself waited
        }
        if (session_.loop.runFor(kPollPause) == EventLoop::Outcome::Interrupted) return false;
    }
}

bool Batch::awaitDisconnect() {
    // One missed answer is not an unplugged unit: writing the next unit's values into this one
    // would lose both. Two silent reads in a row are.
    int silentReads = 0;
    for (;;) {
        if (!session_.link.isOpen()) return true;
        protocol::ValueStore scratch;
        const Answer::End end = session_.terminal.read(scratch).end;
        if (end == Answer::End::Interrupted) return false;
        if (end == Answer::End::LinkLost) return true;
        if (end == Answer::End::Silent) {
            if (++silentReads == kSilentReadsForDisconnect) return true;
            continue;
        }
        silentReads = 0;
        if (session_.loop.runFor(kPollPause) == EventLoop::Outcome::Interrupted) return false;
    }
}

bool Batch::commission(const Unit& unit, const ConfigurationFile& templateFile) {
    std::string idCode;
    protocol::ValueStore reading;  // the terminal's own values, kept for what the template lacks
    std::string answer;
    for (;;) {
        std::printf("Unit %s: connect it to %s.\n", unit.label.c_str(),
                    session_.link.describe().c_str());
        if (!awaitTerminal(reading, answer)) return false;
        idCode = protocol::fromCp1251ForDisplay(reading.text("EIdCod").value_or(""));
        // A unit already commissioned (left connected, or a resumed run) is never overwritten.
        const std::string* other = idCode.empty() ? nullptr : log_.unitWithIdCode(idCode);
        if (!other || *other == unit.label) break;
        std::printf("Unit %s: the connected terminal (IDCOD=%s) is unit %s, already done; "
                    "disconnect it.\n",
                    unit.label.c_str(), idCode.c_str(), other->c_str());
        if (!awaitDisconnect()) return false;
    }
    // A kept value the answer parse would bend is refused for this unit; nothing is sent.
    if (std::string problem = templateFile.keptValuesProblem(answer, reading); !problem.empty()) {
        WriteOutcome refused;
        refused.status = WriteOutcome::Status::Refused;
        refused.refusal = std::move(problem);
        return record(unit, idCode, refused);
    }
    std::printf("Unit %s: terminal IDCOD=%s, writing.\n", unit.label.c_str(), idCode.c_str());

    protocol::ValueStore values = templateFile.valuesOver(reading);
    for (const Override& value : unit.values) applyOverride(values, value);
    const WriteOutcome outcome = writeAndVerify(session_.terminal, values);
    if (outcome.status == WriteOutcome::Status::Unanswered &&
        outcome.end == Answer::End::Interrupted)
        return false;
    return record(unit, idCode, outcome);
}

bool Batch::record(const Unit& unit, const std::string& idCode, const WriteOutcome& outcome) {
    std::vector<std::string> differences;
    switch (outcome.status) {
    case WriteOutcome::Status::Agreed: break;
    case WriteOutcome::Status::Differs: differences = mismatchLines(outcome.mismatches); break;
    case WriteOutcome::Status::Refused: differences = {outcome.refusal}; break;
    case WriteOutcome::Status::Unanswered: differences = {"нет ответа"}; break;
    }
    const bool agreed = outcome.status == WriteOutcome::Status::Agreed;
    std::string joined;
    for (const std::string& d : differences) joined += (joined.empty() ? "" : "; ") + d;
    std::string error;
    if (!log_.append({localTimestamp(), unit.label, idCode, agreed ? kResultOk : kResultFailed,
                      joined},
                     error)) {
        // What the terminal now holds must not go unsaid because the log could not keep it.
        printError(error);
        printError("unit " + unit.label + " (IDCOD=" + idCode + "): " +
                   (agreed ? "written and verified" : "FAILED") +
                   ", but the log does not record it; the batch stops");
        logFailed = true;
        return false;
    }
    (agreed ? ok : failed) += 1;
    std::printf("Unit %s: %s\n", unit.label.c_str(), agreed ? kResultOk : "FAILED");
    for (const std::string& d : differences) std::printf("  %s\n", d.c_str());
    return true;
}

int runBatch(const CommandLine& line) {
    if (line.positional.size() != 2) return usageError("batch", "needs TEMPLATE.abt and UNITS.csv");
    const auto logPath = line.value("log");
    if (!logPath) return usageError("batch", "--log LOG.csv is required");
    std::string error;
    const auto options = linkOptions(line, error);
    if (!options) return usageError("batch", error);

    const auto units = readUnitsFile(line.positional[1], error);
    if (!units) {
        printError(error);
        return kExitBadInput;
    }
    const auto templateFile = readConfigurationFile(
        line.positional[0], line.has(kKeepUnlistedOption), suppliedByEveryUnit(*units), error);
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

    Session session(*options);
    Batch batch(session, *log);
    int skipped = 0;
    const Unit* previous = nullptr;  // the unit of this run that may still be connected
    for (const Unit& unit : *units) {
        if (log->done(unit.label)) {
            ++skipped;
            continue;
        }
        if (previous) {
            std::printf("Unit %s: done; disconnect it.\n", previous->label.c_str());
            if (!batch.awaitDisconnect()) break;
        }
        if (!batch.commission(unit, *templateFile)) break;
        previous = &unit;
    }
    session.link.close();
    std::printf("Batch: %d ok, %d failed, %d done before.\n", batch.ok, batch.failed, skipped);
    if (batch.logFailed) return kExitFailure;
    const int attempted = batch.ok + batch.failed + skipped;
    if (attempted < static_cast<int>(units->size())) return session.reportEnd(Answer::End::Interrupted);
    return batch.failed == 0 ? kExitOk : kExitDiffers;
}

}  // namespace

const Command kBatchCommand{"batch", "commission many units from a template and a units file",
                            kHelp, kOptions, runBatch};

}  // namespace cli
