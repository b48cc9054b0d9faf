#include "app/UnitRecords.h"

#include <QCoreApplication>

#include "app/Unit1.h"
#include "platform/ComPortMap.h"
#include "records/NewEvent.h"
#include "records/Recorder.h"
#include "ui/TeamServerSetting.h"

namespace app {
namespace {

constexpr const char* kProgram = "Config_Vigil";

// "2026-11-12T09:30:00.000Z" -> "12.11.2026".
QString dayOf(const std::string& utc) {
    if (utc.size() < 10) return {};
    return QString::fromStdString(utc.substr(8, 2) + "." + utc.substr(5, 2) + "." +
                                  utc.substr(0, 4));
}

// The status bar's line when events are not being kept.
QString notKeptLine(const std::string& problem) {
    return QCoreApplication::translate("UnitRecords", "Журнал не ведётся: ") +
           QString::fromStdString(problem);
}

}  // namespace

QString unitStatusText(const std::string& unitId, const std::string& lastSeenUtc) {
    QString text =
        QCoreApplication::translate("UnitRecords", "Терминал ") + QString::fromStdString(unitId);
    if (lastSeenUtc.empty())
        return text + QCoreApplication::translate("UnitRecords", ", записей ещё нет");
    return text + QCoreApplication::translate("UnitRecords", ", последняя запись ") +
           dayOf(lastSeenUtc);
}

void recordAnswer(TForm1& form, const session::ParameterSet& assigned,
                  const session::WatchReport& report, bool settled) {
    const QString status =
        UnitRecords::instance().answered(form.controls(), assigned, report, settled);
    if (!status.isEmpty()) form.setPanelText(1, status);
}

UnitRecords& UnitRecords::instance() {
    static UnitRecords records(records::Recorder::fromEnvironment(ui::storedTeamAddress()));
    return records;
}

UnitRecords::UnitRecords(records::Recorder recorder) : recorder_(std::move(recorder)) {}

UnitRecords::~UnitRecords() {
    if (sender_.joinable()) sender_.join();
}

QString UnitRecords::answered(const protocol::ControlAccess& screen,
                              const session::ParameterSet& assigned,
                              const session::WatchReport& report, bool settled) {
    if (assigned.count(&protocol::kIdCode) != 0) readUnderWay_ = true;
    const bool read = readUnderWay_ && settled;
    if (read) readUnderWay_ = false;
    const bool write = !report.confirmedTabs.empty() || !report.mismatches.empty();
    if (!read && !write) return {};
    heard_ = true;
    records::Event e =
        newEvent(read ? records::Kind::Read : records::Kind::Write, read ? "Чтение" : "Запись");
    records::setTerminalValues(e, screen);
    if (e.unitId.empty() && !linkIdCod_.empty()) records::setUnit(e, linkIdCod_);
    if (read) linkIdCod_ = e.idCodText;
    e.result = report.mismatches.empty() ? records::Result::Ok : records::Result::Differs;
    e.differences = records::differencesOf(report.mismatches);
    if (write) e.sent = records::valuesOf(report.sent);

    QString status;
    if (read && !e.unitId.empty() && e.unitId != lastUnit_ && recorder_.keeping()) {
        std::string lastSeen;
        try {
            for (const records::UnitSummary& u : recorder_.local()->units())
                if (u.unitId == e.unitId) lastSeen = u.lastSeen;
        } catch (const records::StoreError&) {
        }
        status = unitStatusText(e.unitId, lastSeen);
    }
    if (read && !e.unitId.empty()) lastUnit_ = e.unitId;
    if (recorder_.record(e))
        syncInBackground();
    else if (!status.isEmpty() || read)
        status = notKeptLine(recorder_.problem());
    return status;
}

QString UnitRecords::notKeptText() const {
    if (recorder_.keeping()) return {};
    return notKeptLine(recorder_.problem());
}

void UnitRecords::compared(const protocol::ControlAccess& terminal, bool answered,
                           const std::vector<protocol::ValueMismatch>& differences) {
    records::Event e = newEvent(records::Kind::Compare, "Сравнить с терминалом");
    e.result = !answered             ? records::Result::Silent
               : differences.empty() ? records::Result::Ok
                                     : records::Result::Differs;
    if (answered) {
        records::setTerminalValues(e, terminal);
        heard_ = true;
        // A write that follows finds the unit here when the screen holds no IDCOD=.
        if (!e.idCodText.empty()) linkIdCod_ = e.idCodText;
    }
    e.differences = records::differencesOf(differences);
    if (recorder_.record(e)) syncInBackground();
}

void UnitRecords::snapshot(const protocol::ControlAccess& terminal, const std::string& command) {
    records::Event e = newEvent(records::Kind::Read, command);
    records::setTerminalValues(e, terminal);
    heard_ = true;
    linkIdCod_ = e.idCodText;
    if (recorder_.record(e)) syncInBackground();
}

void UnitRecords::destructive(records::Kind kind, const std::string& idCodText,
                              const std::string& command, records::Result result,
                              std::optional<records::UploadFacts> upload) {
    records::Event e = newEvent(kind, command);
    records::setUnit(e, idCodText);
    e.result = result;
    e.upload = std::move(upload);
    if (recorder_.record(e)) syncInBackground();
}

void UnitRecords::linkOpened(int comNumber) {
    heard_ = false;
    linkIdCod_.clear();
    port_ = "COM" + std::to_string(comNumber);
    adapter_ = platform::adapterText(comNumber);
}

records::Event UnitRecords::newEvent(records::Kind kind, const std::string& command) const {
    records::Event e = records::newEvent(kind, kProgram, command);
    e.port = port_;
    e.adapter = adapter_;
    return e;
}

QString UnitRecords::pendingText() {
    if (recorder_.teamAddress().empty() || !recorder_.keeping()) return {};
    try {
        return QCoreApplication::translate("UnitRecords", "Ждут отправки на сервер: ") +
               QString::number(recorder_.local()->pending());
    } catch (const records::StoreError&) {
        return {};
    }
}

void UnitRecords::syncInBackground() {
    if (recorder_.teamAddress().empty() || !recorder_.keeping()) return;
    if (sending_) return;  // what this event queued goes with the send under way or the next
    if (sender_.joinable()) sender_.join();  // finished: it cleared sending_ as its last step
    sending_ = true;
    // The sender opens the file itself: a store's connection is not shared between threads.
    sender_ = std::thread(
        [this, path = recorder_.local()->description(), team = recorder_.teamAddress()] {
            records::Recorder own(path, team);
            own.sync();
            sending_ = false;
        });
}

}  // namespace app
