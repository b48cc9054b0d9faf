#pragma once
// File > "Сравнить с терминалом": reads the terminal into a value store of its own (the request
// is the Read's, but no control is emptied and the answer goes to the store, gathered and parsed
// as a whole by the exchange rule, so an item cut between receptions is not lost), then shows what
// differs from the screen. From there the operator writes the screen's values of the differing
// groups (a normal write, checked like every write) or takes the terminal's values.
//
// Main thread only. The answer arrives in port deliveries; the table is not modal, and a message
// asked for there waits until the delivery has returned.
#include <QtGlobal>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "protocol/AssignmentRecorder.h"
#include "protocol/ValueStore.h"
#include "protocol/WriteCheck.h"
#include "session/AnswerGathering.h"
#include "session/AnswerWatch.h"

class TForm1;
namespace platform {
class Timer;
}
namespace ui {
class CompareDialog;
}

namespace app {

// After the no-answer text that names the port (TForm1::noAnswerText).
inline constexpr const char* kCompareSilentText = QT_TRANSLATE_NOOP("TForm1", "Сравнить не с чем.");

class Unit1Compare {
  public:
    // `onTaken` runs after the terminal's values were put into these controls.
    Unit1Compare(TForm1& form, std::function<void(const session::ParameterSet&)> onTaken);
    ~Unit1Compare();

    void setTimer(std::unique_ptr<platform::Timer> timer);
    // Before the terminal's values replace these controls: false keeps the screen as it is.
    std::function<bool(const std::vector<const protocol::Parameter*>&)> onAskBeforeTaking;
    void start();
    // `held`: the terminal's values, or nullptr when it did not answer them all. `kept`: they
    // are in the records already (the answer of a comparison or snapshot that was under way).
    using SnapshotDone = std::function<void(const protocol::ValueStore* held, bool kept)>;
    // The same read for the records' snapshot before a destructive step: nothing on the screen
    // changes and no table is shown. While a comparison or another snapshot already waits, its
    // answer serves: `done` runs when it is over, after that read's own use of it.
    void startSnapshot(SnapshotDone done);
    // While it waits, receptions fill the terminal's values instead of the controls.
    bool waiting() const { return waiting_; }
    void parse(const std::uint8_t* data, std::uint16_t count);

    // The write mask of the groups that hold a writable difference (0: none).
    static std::uint16_t maskOf(const std::vector<protocol::ValueMismatch>& differences);

  private:
    void finish();
    void showComparison();
    void writeScreen();
    void takeTerminal();

    TForm1& form_;
    std::function<void(const session::ParameterSet&)> onTaken_;
    std::unique_ptr<platform::Timer> timer_;
    protocol::ValueStore terminal_;
    protocol::AssignmentRecorder recorder_{terminal_};
    std::optional<session::AnswerGathering> answer_;  // the receptions since the request
    bool waiting_ = false;
    std::vector<protocol::ValueMismatch> differences_;
    ui::CompareDialog* dialog_ = nullptr;  // owned by the window
    SnapshotDone snapshotDone_;
    std::vector<SnapshotDone> followers_;  // served by the answer of the read under way
};

}  // namespace app
