// TForm1: the journal of terminals (File -> "Журнал терминалов…") and values put back from it.
#include <QLineEdit>
#include <QTimer>
#include <optional>
#include <utility>

#include "app/Unit1.h"
#include "app/Unit1Verify.h"
#include "app/UnitRecords.h"
#include "platform/Catalogue.h"
#include "platform/MessageService.h"
#include "protocol/Cp1251.h"
#include "protocol/RequestBuilder.h"
#include "ui/UnitJournalWindow.h"

void TForm1::OpenUnitJournalClick() {
    if (!Journal) {
        records::Recorder& recorder = app::UnitRecords::instance().recorder();
        Journal = new ui::UnitJournalWindow(
            recorder.local(), QString::fromStdString(recorder.problem()), *Dialogs,
            [this](const std::function<void(protocol::ControlAccess&)>& apply) {
                restoreToScreen(apply);
            },
            recorder.teamAddress(), this);
    } else {
        Journal->reload();
    }
    Journal->setPending(app::UnitRecords::instance().pendingText());
    Journal->show();
    Journal->raise();
    Journal->activateWindow();
}

void TForm1::restoreToScreen(const std::function<void(protocol::ControlAccess&)>& apply) {
    if (uploadLocked_) return;
    Verify->restoreValues(apply);
}

bool TForm1::afterSnapshot(const std::string& command, const char* silentQuestion,
                           std::function<void(const SnapshotOutcome&)> then) {
    auto answered = [this, command, silentQuestion, then](const protocol::ValueStore* held,
                                                          bool inRecords) {
        std::optional<protocol::ValueStore> kept;
        if (held) kept = *held;
        // Out of the port delivery the answer came in before anything is asked or sent.
        QTimer::singleShot(0, this, [this, kept, inRecords, command, silentQuestion, then] {
            SnapshotOutcome outcome;
            if (kept) {
                if (!inRecords) app::UnitRecords::instance().snapshot(*kept, command);
                outcome = {
                    true, true,
                    protocol::fromCp1251ForDisplay(kept->text(protocol::kIdCode).value_or(""))};
            } else {
                outcome.goOn =
                    platform::messages().show(platform::translated("TForm1", silentQuestion), "",
                                              platform::MessageIcon::Warning,
                                              platform::MessageButtons::OkCancel) ==
                    platform::MessageResult::Ok;
                // The screen may show a unit read over an earlier link: the step names only
                // what this one heard.
                outcome.idCod = app::UnitRecords::instance().heardIdCod();
            }
            then(outcome);
        });
    };
    // Records not kept: no read for them, and the operator learns it now, at the step itself.
    if (const QString notKept = app::UnitRecords::instance().notKeptText(); !notKept.isEmpty()) {
        setPanelText(1, notKept);
        then({true, false, EIdCod->text().toStdString()});
        return true;
    }
    // A closed link has no terminal to read: the question at once, not a broken link's box first.
    if (!linkOpen()) {
        answered(nullptr, false);
        return true;
    }
    return Verify->startSnapshot(answered);
}

void TForm1::eraseAfterSnapshot() {
    afterSnapshot("Снимок перед EraseEeprom", app::kSnapshotFailedQuestion,
                  [this](const SnapshotOutcome& o) {
                      if (!o.goOn) return;
                      RequestMask = protocol::mask::Erase;
                      SendRequest();
                      app::UnitRecords::instance().destructive(
                          records::Kind::Erase, o.idCod, "EraseEeprom",
                          o.kept ? records::Result::Ok : records::Result::Silent);
                  });
}

bool TForm1::writeWaitsForSnapshot(std::uint16_t requested) {
    constexpr std::uint16_t kWrites = protocol::mask::WriteAll;
    if ((requested & kWrites) == 0 || !linkOpen()) return false;
    // Pressed again while the read waits: those pages go with the write that waits.
    if (writeSnapshotMask_ != 0) {
        if (!Verify->refusesWrite(requested)) writeSnapshotMask_ |= requested;
        return true;
    }
    if (app::UnitRecords::instance().heardSinceLinkOpened()) return false;
    // A value the request would refuse is told now, before anything goes to the terminal.
    if (Verify->refusesWrite(requested)) return true;
    const protocol::ComposedRequest request =
        protocol::composeRequest(Controls, requested, TransmitBuffer);
    if (!request.ok) return false;
    writeSnapshotMask_ = requested;
    const bool started = afterSnapshot("Снимок перед записью", app::kWriteSnapshotFailedQuestion,
                                       [this](const SnapshotOutcome& o) {
                                           const std::uint16_t mask =
                                               std::exchange(writeSnapshotMask_, 0);
                                           const std::size_t before = Verify->requestsSent();
                                           if (o.goOn) sendRequestNow(mask);
                                           // The close question's write that did not go: the window
                                           // stays.
                                           if (Verify->requestsSent() == before)
                                               closeWhenWritten_ = false;
                                       });
    if (!started) writeSnapshotMask_ = 0;
    return true;
}
