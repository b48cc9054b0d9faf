#include "cli/Recording.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "cli/ConsoleMessages.h"
#include "cli/Texts.h"
#include "platform/Catalogue.h"
#include "platform/ComPortMap.h"
#include "records/FileDigest.h"
#include "records/NewEvent.h"
#include "records/TeamRecords.h"

namespace cli::recording {
namespace {

std::string& commandText() {
    static std::string text = "vigil";
    return text;
}

// A team server that did not answer is tried again after this long, not after every unit.
constexpr std::chrono::seconds kServerRetryPause{60};

void tellOnce(const std::string& problem) {
    static std::string told;
    if (problem.empty() || problem == told) return;
    told = problem;
    printError(
        withArgs(platform::translated("vigil", "records are not being kept: %1"), {problem}));
}

records::Event startEvent(records::Kind kind, const Link& link) {
    records::Event e = records::newEvent(kind, "vigil", commandText());
    e.port = "COM" + std::to_string(link.comNumber());
    e.adapter = platform::adapterText(link.comNumber());
    return e;
}

// Commits the event here, then offers what waits to the team's server (when one is set and did
// not just fail).
void keep(const records::Event& event) {
    records::Recorder& r = recorder();
    if (!r.record(event)) {
        tellOnce(r.problem());
        return;
    }
    if (r.teamAddress().empty()) return;
    static std::optional<std::chrono::steady_clock::time_point> lastFailure;
    const auto now = std::chrono::steady_clock::now();
    if (lastFailure && now - *lastFailure < kServerRetryPause) return;
    const records::SyncResult sync = r.sync();
    if (sync.problem.empty()) {
        lastFailure.reset();
        return;
    }
    lastFailure = now;
    printError(withArgs(platform::translated(
                            "vigil", "records kept on this PC, %1 waiting for the team server: %2"),
                        {std::to_string(sync.pending), sync.problem}));
}

records::Result resultOf(Answer::End end) {
    switch (end) {
        case Answer::End::Complete:
        case Answer::End::Paused:
            return records::Result::Ok;
        case Answer::End::Silent:
            return records::Result::Silent;
        case Answer::End::Interrupted:
            return records::Result::Cancelled;
        case Answer::End::LinkLost:
            break;
    }
    return records::Result::Failed;
}

}  // namespace

void setCommandText(std::span<const std::string> args) {
    std::string text = "vigil";
    for (const std::string& a : args) text += " " + a;
    commandText() = text;
}

records::Recorder& recorder() {
    static records::Recorder r = [] {
        records::Recorder opened = records::Recorder::fromEnvironment();
        if (!opened.notice().empty()) printError(opened.notice());
        tellOnce(opened.problem());
        return opened;
    }();
    return r;
}

std::vector<records::Event> teamEvents(const std::string& unitId) {
    records::Recorder& r = recorder();
    records::TeamEvents read = records::teamEvents(*r.local(), r.teamAddress(), unitId);
    if (!read.notice.empty())
        printError(withArgs(
            platform::translated("vigil",
                                 "the team's records could not be read, this PC's only are "
                                 "shown: %1"),
            {read.notice}));
    return std::move(read.events);
}

std::string recordReading(records::Kind kind, const Link& link,
                          const protocol::ControlAccess& values, const Terminal::Reading& reading) {
    records::Event e = startEvent(kind, link);
    e.result = resultOf(reading.end);
    if (e.result == records::Result::Ok && !reading.missing.empty())
        e.result = records::Result::Failed;
    if (reading.end == Answer::End::Complete || reading.end == Answer::End::Paused) {
        records::setTerminalValues(e, values);
    }
    keep(e);
    return e.idCodText;
}

RecordedReading readAndRecord(Terminal& terminal, protocol::ControlAccess& values) {
    RecordedReading done;
    done.reading = terminal.read(values);
    done.idCod = recordReading(records::Kind::Read, terminal.link(), values, done.reading);
    return done;
}

void recordWrite(records::Kind kind, const Link& link, const std::string& idCodText,
                 const protocol::ControlAccess& sent, const protocol::ControlAccess& answered,
                 const WriteOutcome& outcome) {
    if (outcome.status == WriteOutcome::Status::Refused) return;  // nothing went to the terminal
    records::Event e = startEvent(kind, link);
    records::setUnit(e, idCodText);
    e.sent = records::valuesOf(sent);
    switch (outcome.status) {
        case WriteOutcome::Status::Agreed:
            e.result = records::Result::Ok;
            break;
        case WriteOutcome::Status::Differs:
            e.result = records::Result::Differs;
            break;
        default:
            e.result = resultOf(outcome.end);
            break;
    }
    if (outcome.status != WriteOutcome::Status::Unanswered) {
        e.values = records::valuesOf(answered);
        e.ownNumber = records::valueOf(e.values, "ModulePhone");
        // A write's answer carries no IDCOD=: the one held is from the read before it, which a
        // terminal swapped in meanwhile does not share.
        for (auto& [name, value] : e.values)
            if (name == "IdCode" && !idCodText.empty()) value = idCodText;
    }
    e.differences = records::differencesOf(outcome.mismatches);
    keep(e);
}

void recordUpload(const Link& link, const std::string& idCodText, const std::string& path,
                  std::span<const std::uint8_t> image, const std::string& outcome, bool succeeded) {
    records::Event e = startEvent(records::Kind::Upload, link);
    if (!idCodText.empty()) records::setUnit(e, idCodText);
    e.result = succeeded         ? records::Result::Ok
               : outcome.empty() ? records::Result::Cancelled
                                 : records::Result::Failed;
    records::UploadFacts facts = records::updateFileFacts(path, image);
    facts.outcome = outcome;
    e.upload = facts;
    keep(e);
}

}  // namespace cli::recording
