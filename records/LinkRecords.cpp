#include "records/LinkRecords.h"

#include "platform/ComPortMap.h"
#include "records/NewEvent.h"

namespace records {

namespace {
// The window actions an answer on the screen is filed under.
constexpr const char* kReadCommand = "Чтение";
constexpr const char* kWriteCommand = "Запись";
constexpr const char* kCompareCommand = "Сравнить с терминалом";
}  // namespace

LinkRecords::LinkRecords(Recorder recorder, std::string program)
    : recorder_(std::move(recorder)), program_(std::move(program)) {}

void LinkRecords::linkOpened(int comNumber) {
    heard_ = false;
    linkIdCod_.clear();
    readUnderWay_ = false;
    port_ = "COM" + std::to_string(comNumber);
    adapter_ = platform::adapterText(comNumber);
}

Event LinkRecords::newEvent(Kind kind, const std::string& command) const {
    Event e = records::newEvent(kind, program_, command);
    e.port = port_;
    e.adapter = adapter_;
    return e;
}

bool LinkRecords::keep(const Event& event) {
    const bool kept = recorder_.record(event);
    if (filing_) {
        if (kept)
            filing_->kept(recorder_);
        else
            filing_->notKept(recorder_.problem());
    }
    return kept;
}

void LinkRecords::nameHeardUnit(Event& event) const {
    // A write's answer carries no IDCOD=, and the screen may still show one read over an earlier
    // connection, from a terminal since swapped: only what this connection heard names the unit.
    setUnit(event, linkIdCod_);
    for (auto& [name, value] : event.values)
        if (name == "IdCode") value = linkIdCod_;
}

std::string LinkRecords::lastSeenOf(const std::string& unitId) {
    try {
        if (const auto unit = recorder_.local()->unit(unitId)) return unit->lastSeen;
    } catch (const StoreError&) {
    }
    return {};
}

AnswerFiled LinkRecords::answered(const protocol::ControlAccess& screen,
                                  const session::ParameterSet& assigned,
                                  const session::WatchReport& report, bool settled) {
    AnswerFiled filed;
    if (assigned.count(&protocol::kIdCode) != 0) readUnderWay_ = true;
    filed.read = readUnderWay_ && settled;
    if (filed.read) readUnderWay_ = false;
    if (!filed.read) {
        filed.filed = isWrite(report);
        filed.kept = fileWrite(screen, report);
        return filed;
    }
    filed.filed = true;
    heard_ = true;
    Event e = newEvent(Kind::Read, kReadCommand);
    setTerminalValues(e, screen);
    linkIdCod_ = e.idCodText;
    e.result = report.mismatches.empty() ? Result::Ok : Result::Differs;
    e.differences = differencesOf(report.mismatches);
    if (isWrite(report)) e.sent = valuesOf(report.sent);

    if (!e.unitId.empty() && e.unitId != lastUnit_ && recorder_.keeping()) {
        filed.newUnit = e.unitId;
        filed.lastSeen = lastSeenOf(e.unitId);
    }
    if (!e.unitId.empty()) lastUnit_ = e.unitId;
    filed.kept = keep(e);
    return filed;
}

bool LinkRecords::isWrite(const session::WatchReport& report) {
    return !report.confirmedTabs.empty() || !report.mismatches.empty();
}

bool LinkRecords::fileWrite(const protocol::ControlAccess& screen,
                            const session::WatchReport& report) {
    if (!isWrite(report)) return false;
    heard_ = true;
    Event e = newEvent(Kind::Write, kWriteCommand);
    setTerminalValues(e, screen);
    nameHeardUnit(e);
    e.result = report.mismatches.empty() ? Result::Ok : Result::Differs;
    e.differences = differencesOf(report.mismatches);
    e.sent = valuesOf(report.sent);
    return keep(e);
}

void LinkRecords::expired(const protocol::ControlAccess& screen,
                          const session::WatchReport& report) {
    // A read cut short is no read of the terminal: the screen holds what was put back.
    readUnderWay_ = false;
    fileWrite(screen, report);
}

void LinkRecords::compared(const protocol::ControlAccess& terminal, bool answered,
                           const std::vector<protocol::ValueMismatch>& differences) {
    Event e = newEvent(Kind::Compare, kCompareCommand);
    e.result = !answered ? Result::Silent : differences.empty() ? Result::Ok : Result::Differs;
    if (answered) {
        setTerminalValues(e, terminal);
        heard_ = true;
        // A write that follows finds the unit here when the screen holds no IDCOD=.
        if (!e.idCodText.empty()) linkIdCod_ = e.idCodText;
    }
    e.differences = differencesOf(differences);
    keep(e);
}

std::string LinkRecords::read(Kind kind, const std::string& command,
                              const protocol::ControlAccess* terminal, Result ended, bool whole) {
    Event e = newEvent(kind, command);
    e.result = ended == Result::Ok && !whole ? Result::Failed : ended;
    if (terminal) {
        setTerminalValues(e, *terminal);
        heard_ = true;
        linkIdCod_ = e.idCodText;
    }
    keep(e);
    return e.idCodText;
}

void LinkRecords::written(Kind kind, const std::string& command, const std::string& idCodText,
                          const protocol::ControlAccess& sent,
                          const protocol::ControlAccess* answered, Result result,
                          const std::vector<protocol::ValueMismatch>& mismatches) {
    Event e = newEvent(kind, command);
    setUnit(e, idCodText);
    e.sent = valuesOf(sent);
    e.result = result;
    if (answered) {
        heard_ = true;
        e.values = valuesOf(*answered);
        e.ownNumber = valueOf(e.values, "ModulePhone");
        // A write's answer carries no IDCOD=: the one held is from the read before it, which a
        // terminal swapped in meanwhile does not share.
        for (auto& [name, value] : e.values)
            if (name == "IdCode" && !idCodText.empty()) value = idCodText;
    }
    e.differences = differencesOf(mismatches);
    keep(e);
}

void LinkRecords::destructive(Kind kind, const std::string& idCodText, const std::string& command,
                              Result result, std::optional<UploadFacts> upload) {
    Event e = newEvent(kind, command);
    setUnit(e, idCodText);
    e.result = result;
    e.upload = std::move(upload);
    keep(e);
}

void LinkRecords::uploaded(const std::string& idCodText, const std::string& command,
                           UploadFacts facts, bool succeeded) {
    const Result result = succeeded               ? Result::Ok
                          : facts.outcome.empty() ? Result::Cancelled
                                                  : Result::Failed;
    destructive(Kind::Upload, idCodText, command, result, std::move(facts));
}

}  // namespace records
