#pragma once
// The main window's guard over the operator's values: watches what each request empties until
// the answer refills it (or puts it back when the answer is overdue), checks every write value
// by value, marks edited and not-taken controls, and routes receptions to the comparison with
// the terminal while it waits. An item cut between two receptions is joined and applied too.
//
// Texts shown (UTF-8): status panel 1 "Запись подтверждена: " and the pages; one message per
// answer or time-out made of kSilentText / kPartialText, the pages put back, and kNotTakenText
// with one line per value. A message asked for inside a port delivery waits until it has returned
// (platform/Delivery.h).
// A write is refused while the controls it would send still wait for an answer.
#include <QtGlobal>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "app/FieldMarks.h"
#include "app/Unit1Compare.h"
#include "platform/MessageService.h"
#include "session/AnswerWatch.h"
#include "session/CutItemJoiner.h"
#include "session/EchoFilter.h"

class TForm1;
namespace platform {
class Timer;
}

namespace app {

// The start of the no-answer text (platform::noAnswerText), which names the port and its device.
inline constexpr const char* kSilentText = QT_TRANSLATE_NOOP("TForm1", "Терминал не ответил");
inline constexpr const char* kPartialText =
    QT_TRANSLATE_NOOP("TForm1", "Терминал прислал не все значения.");
inline constexpr const char* kRestoredText =
    QT_TRANSLATE_NOOP("TForm1", "Прежние значения восстановлены");
inline constexpr const char* kNotTakenText =
    QT_TRANSLATE_NOOP("TForm1", "Терминал записал не всё, что было отправлено:");
inline constexpr const char* kConfirmedText = QT_TRANSLATE_NOOP("TForm1", "Запись подтверждена: ");
inline constexpr const char* kNotConfirmedText =
    QT_TRANSLATE_NOOP("TForm1", "Запись не подтверждена");
inline constexpr const char* kNotYetText =
    QT_TRANSLATE_NOOP("TForm1", "Терминал ещё не прислал значения");
inline constexpr const char* kEraseQuestion =
    QT_TRANSLATE_NOOP("TForm1", "Все настройки терминала будут стёрты. Продолжить?");
inline constexpr const char* kUnwrittenText =
    QT_TRANSLATE_NOOP("TForm1", "Изменения не записаны в терминал: вкладки ");

// What would drop the operator's edited values: closing the window, File > Open of a
// configuration, "Взять значения терминала".
enum class Loss { Close, Open, Take };

class Unit1Verify {
  public:
    explicit Unit1Verify(TForm1& form);
    ~Unit1Verify();

    // The answer time-out and the comparison's; before any request.
    void setTimers(std::unique_ptr<platform::Timer> answers,
                   std::unique_ptr<platform::Timer> compare);

    // SendRequest, before composing: a write of controls still emptied by an unanswered request
    // would blank the terminal's values; refused with kNotYetText, naming the pages.
    bool refusesWrite(std::uint16_t requestMask) const;
    // File > "Сравнить с терминалом"; refused in the same way while controls are emptied.
    void startCompare();
    // The comparison's read for a snapshot (app/Unit1Compare.h), refused in the same way: false
    // when refused (the operator was told; `done` never runs).
    bool startSnapshot(Unit1Compare::SnapshotDone done);
    // SendRequest, once the port has taken `request` (`requestBytes` long): empties what it
    // carries and waits for the answer to refill it.
    void emptyAndWatch(const protocol::ComposedRequest& request, std::size_t requestBytes);
    // A reception to parse: into the comparison while it waits, otherwise into the controls.
    void parseReception(const std::uint8_t* data, std::uint16_t count);
    // File > Open of a configuration: `apply` sets the controls.
    void loadFile(const std::function<void(protocol::ControlAccess&)>& apply);
    // The journal's values put on the screen: as loadFile, then every value set marked edited,
    // so the operator writes them and the write is checked.
    void restoreValues(const std::function<void(protocol::ControlAccess&)>& apply);

    // The operator's OK before an erase.
    static bool confirmErase();

    // Asks before `loss` drops edited values of `params` (kUnwrittenText and the pages; "Записать"
    // is offered on close only). Discard at once when none of them is edited; anything but
    // Write or Discard counts as Cancel.
    platform::MessageResult askBeforeLosing(
        Loss loss, std::span<const protocol::Parameter* const> params) const;
    // The write mask of the groups holding edited values (0: none).
    std::uint16_t editedWriteMask() const;
    bool waiting() const { return watch_.waiting(); }
    // Requests handed to the port so far: tells whether a SendRequest went out.
    std::size_t requestsSent() const { return requestsSent_; }
    // After each report: the report, whether answers are still awaited, and whether an answer or
    // its time-out made it (rather than a file or the operator setting controls).
    std::function<void(const session::WatchReport&, bool stillWaiting, bool fromTerminal)> onReport;

  private:
    bool refusedWhileEmptied(const std::vector<const protocol::Parameter*>& params) const;
    void expire();
    // `fromTerminal`: an answer or its time-out, not a file or the operator.
    void settled(const session::ParameterSet& assigned, const session::WatchReport& report,
                 bool fromTerminal = false);
    void report(const session::WatchReport& report, bool fromTerminal = false);

    TForm1& form_;
    session::AnswerWatch watch_;
    session::CutItemJoiner joiner_;
    FieldMarks marks_;
    Unit1Compare compare_;
    std::unique_ptr<platform::Timer> timer_;
    std::size_t requestsSent_ = 0;
    session::EchoFilter echo_;  // an echo of the last request is not its answer
    // Set by the operator (typed, a file opened, the terminal's values taken) since a request
    // last asked for them: no answer replaces them.
    session::ParameterSet typedSinceAsked_;
};

}  // namespace app
