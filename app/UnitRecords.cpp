#include "app/UnitRecords.h"

#include <QCoreApplication>

#include "app/Unit1.h"
#include "ui/TeamServerSetting.h"

namespace app {
namespace {

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

UnitRecords::UnitRecords(records::Recorder recorder)
    : LinkRecords(std::move(recorder), "Config_Vigil") {
    setFiling(&sync_);
}

QString UnitRecords::answered(const protocol::ControlAccess& screen,
                              const session::ParameterSet& assigned,
                              const session::WatchReport& report, bool settled) {
    const records::AnswerFiled filed = LinkRecords::answered(screen, assigned, report, settled);
    QString status;
    if (!filed.newUnit.empty()) status = unitStatusText(filed.newUnit, filed.lastSeen);
    if (filed.filed && !filed.kept && (!status.isEmpty() || filed.read))
        status = notKeptLine(recorder().problem());
    return status;
}

QString UnitRecords::notKeptText() const {
    if (recorder().keeping()) return {};
    return notKeptLine(recorder().problem());
}

QString UnitRecords::pendingText() {
    records::Recorder& r = recorder();
    if (r.teamAddress().empty() || !r.keeping()) return {};
    try {
        return QCoreApplication::translate("UnitRecords", "Ждут отправки на сервер: ") +
               QString::number(r.local()->pending());
    } catch (const records::StoreError&) {
        return {};
    }
}

}  // namespace app
