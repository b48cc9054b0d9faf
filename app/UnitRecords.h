#pragma once
// The windows' records: the local store opened once for the program, an event for each answer the
// screen takes (a read, or a write's verification), the status bar's text for the unit connected,
// and the outbox sent to the team's server on a thread of its own.
#include <QString>
#include <QtGlobal>
#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "protocol/ControlAccess.h"
#include "protocol/WriteCheck.h"
#include "records/Recorder.h"
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

class UnitRecords {
  public:
    // The program's records (VIGIL_RECORDS and the default file).
    static UnitRecords& instance();
    explicit UnitRecords(records::Recorder recorder);
    ~UnitRecords();

    records::Recorder& recorder() { return recorder_; }

    // An answer the screen took. A read's answer (it carries IDCOD=) is kept with every value on
    // the screen once it has come whole (`settled`: an answer arrives in several receptions); a
    // write's verification with its differences. Returns the status text when the answer names a
    // unit other than the previous one, else an empty string.
    QString answered(const protocol::ControlAccess& screen, const session::ParameterSet& assigned,
                     const session::WatchReport& report, bool settled = true);

    // A comparison of the screen with the terminal: the terminal's values (when it answered) and
    // each difference, the screen's value before the terminal's.
    void compared(const protocol::ControlAccess& terminal, bool answered,
                  const std::vector<protocol::ValueMismatch>& differences);
    // The terminal's values read before a destructive step (kept as a read), then that step.
    void snapshot(const protocol::ControlAccess& terminal, const std::string& command);
    // `upload`: the update file and the outcome text, for an upload.
    void destructive(records::Kind kind, const std::string& idCodText, const std::string& command,
                     records::Result result,
                     std::optional<records::UploadFacts> upload = std::nullopt);

    // The link opened on COM<comNumber>: the port and its adapter go with every event from here.
    void linkOpened(int comNumber);

    // True once the terminal's values are in the records for this connection (a read, a write's
    // answer, a comparison or a snapshot since linkOpened), so a write needs no read of its own.
    bool heardSinceLinkOpened() const { return heard_ || !recorder_.keeping(); }

    // "Журнал не ведётся: " and why, when events are not being kept; else "".
    QString notKeptText() const;

    // "Ждут отправки на сервер: 3" with a team server set, else "".
    QString pendingText();

    // Sends the outbox to the team's server, never on the calling (GUI) thread; one send at a time.
    void syncInBackground();

  private:
    // A fresh event of this program, with the port and adapter in use.
    records::Event newEvent(records::Kind kind, const std::string& command) const;

    records::Recorder recorder_;
    std::string port_, adapter_;
    std::string lastUnit_;
    bool readUnderWay_ = false;
    bool heard_ = false;  // see heardSinceLinkOpened
    // IDCOD= of this connection's terminal, for a write's answer when the screen holds none.
    std::string linkIdCod_;  // IDCOD= came, the rest of the answer may
                             // still be coming
    std::thread sender_;
    std::atomic<bool> sending_{false};
};

}  // namespace app
