#pragma once
// The windows' records: the local store opened once for the program, an event for each answer the
// screen takes (a read, or a write's verification), the status bar's text for the unit connected,
// and the outbox sent to the team's server on a thread of its own.
#include <QString>
#include <QtGlobal>
#include <string>

#include "records/BackgroundSync.h"
#include "records/LinkRecords.h"
#include "session/AnswerWatch.h"

class TForm1;

namespace app {

inline constexpr const char* kSnapshotFailedQuestion =
    QT_TRANSLATE_NOOP("TForm1",
                      "Терминал не ответил: его настройки не сохранены в журнале перед стиранием. "
                      "Стереть всё равно?");
inline constexpr const char* kUploadSnapshotFailedQuestion = QT_TRANSLATE_NOOP(
    "TForm1",
    "Терминал не ответил: его настройки не сохранены в журнале перед обновлением. Обновить всё "
    "равно?");
inline constexpr const char* kWriteSnapshotFailedQuestion = QT_TRANSLATE_NOOP(
    "TForm1",
    "Терминал не ответил: его настройки не сохранены в журнале перед записью. Записать всё равно?");

// "Терминал 000101, последняя запись 12.11.2026" (the unit's latest event before this one).
QString unitStatusText(const std::string& unitId, const std::string& lastSeenUtc);

// Keeps the answer the main window took and shows the unit it came from on the status bar.
// `settled`: nothing the requests emptied still waits (the answer has come whole).
void recordAnswer(TForm1& form, const session::ParameterSet& assigned,
                  const session::WatchReport& report, bool settled);

// The program's records as the windows word them; what is filed is records::LinkRecords' rule.
class UnitRecords : public records::LinkRecords {
  public:
    // The program's records (VIGIL_RECORDS and the default file).
    static UnitRecords& instance();
    explicit UnitRecords(records::Recorder recorder);

    // An answer the screen took (see records::LinkRecords::answered). Returns the status text
    // when the answer names a unit other than the previous one, else an empty string.
    QString answered(const protocol::ControlAccess& screen, const session::ParameterSet& assigned,
                     const session::WatchReport& report, bool settled = true);

    // "Журнал не ведётся: " and why, when events are not being kept; else "".
    QString notKeptText() const;

    // "Ждут отправки на сервер: 3" with a team server set, else "".
    QString pendingText();

  private:
    records::BackgroundSync sync_;  // the outbox is sent off the GUI thread
};

}  // namespace app
