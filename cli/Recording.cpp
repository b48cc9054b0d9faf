#include "cli/Recording.h"

#include <optional>

#include "cli/ConsoleMessages.h"
#include "cli/Texts.h"
#include "platform/Catalogue.h"
#include "records/FileDigest.h"
#include "records/LinkRecords.h"
#include "records/PacedSync.h"
#include "records/TeamRecords.h"

namespace cli::recording {
namespace {

std::string& commandText() {
    static std::string text = "vigil";
    return text;
}

// After each event: the outbox offered to the team's server, and a store that fails told once,
// on standard error.
class StandardErrorFiling : public records::Filing {
  public:
    void kept(records::Recorder& recorder) override {
        const std::optional<records::SyncResult> sync = paced_.offer(recorder);
        if (!sync || sync->problem.empty()) return;
        printError(
            withArgs(platform::translated(
                         "vigil", "records kept on this PC, %1 waiting for the team server: %2"),
                     {std::to_string(sync->pending), sync->problem}));
    }
    void notKept(const std::string& problem) override {
        if (told_.fresh(problem))
            printError(withArgs(platform::translated("vigil", "records are not being kept: %1"),
                                {problem}));
    }

  private:
    records::PacedSync paced_;
    records::ToldOnce told_;
};

// The records of this run, opened at first use.
records::LinkRecords& runRecords() {
    static StandardErrorFiling filing;
    static records::LinkRecords run = [] {
        records::Recorder opened = records::Recorder::fromEnvironment();
        if (!opened.notice().empty()) printError(opened.notice());
        filing.notKept(opened.problem());
        return records::LinkRecords(std::move(opened), "vigil");
    }();
    run.setFiling(&filing);
    return run;
}

// The run's records with `link`'s port and adapter on the events from here.
records::LinkRecords& on(const Link& link) {
    records::LinkRecords& run = runRecords();
    run.linkOpened(link.comNumber());
    return run;
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

records::Result resultOf(const WriteOutcome& outcome) {
    switch (outcome.status) {
        case WriteOutcome::Status::Agreed:
            return records::Result::Ok;
        case WriteOutcome::Status::Differs:
            return records::Result::Differs;
        default:
            return resultOf(outcome.end);
    }
}

}  // namespace

void setCommandText(std::span<const std::string> args) {
    std::string text = "vigil";
    for (const std::string& a : args) text += " " + a;
    commandText() = text;
}

records::Recorder& recorder() {
    return runRecords().recorder();
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
    const bool answered =
        reading.end == Answer::End::Complete || reading.end == Answer::End::Paused;
    return on(link).read(kind, commandText(), answered ? &values : nullptr, resultOf(reading.end),
                         reading.missing.empty());
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
    const bool heard = outcome.status != WriteOutcome::Status::Unanswered;
    on(link).written(kind, commandText(), idCodText, sent, heard ? &answered : nullptr,
                     resultOf(outcome), outcome.mismatches);
}

void recordUpload(const Link& link, const std::string& idCodText, const std::string& path,
                  std::span<const std::uint8_t> image, const std::string& outcome, bool succeeded) {
    records::UploadFacts facts = records::updateFileFacts(path, image);
    facts.outcome = outcome;
    on(link).uploaded(idCodText, commandText(), std::move(facts), succeeded);
}

}  // namespace cli::recording
