// TForm1: the journal of terminals (File -> "Журнал терминалов…") and values put back from it.
#include <QLineEdit>
#include <QTimer>
#include <optional>

#include "app/Unit1.h"
#include "app/Unit1Verify.h"
#include "app/UnitJournalWindow.h"
#include "app/UnitRecords.h"
#include "platform/MessageService.h"
#include "protocol/Cp1251.h"
#include "protocol/RequestBuilder.h"

void TForm1::OpenUnitJournalClick() {
    if (!Journal) {
        records::Recorder& recorder = app::UnitRecords::instance().recorder();
        Journal = new app::UnitJournalWindow(
            recorder.local(), QString::fromStdString(recorder.problem()), *Dialogs,
            [this](const std::function<void(protocol::ControlAccess&)>& apply) { restoreToScreen(apply); },
            this);
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

void TForm1::eraseAfterSnapshot() {
    Verify->startSnapshot([this](const protocol::ValueStore* held) {
        std::optional<protocol::ValueStore> kept;
        if (held) kept = *held;
        // Out of the port delivery the answer came in before anything is asked or sent.
        QTimer::singleShot(0, this, [this, kept] {
            app::UnitRecords& records = app::UnitRecords::instance();
            std::string idCod;
            if (kept) {
                records.snapshot(*kept, "Снимок перед EraseEeprom");
                idCod = protocol::fromCp1251ForDisplay(kept->text("EIdCod").value_or(""));
            } else if (platform::messages().show(app::kSnapshotFailedQuestion, "",
                                                 platform::MessageIcon::Warning,
                                                 platform::MessageButtons::OkCancel) !=
                       platform::MessageResult::Ok) {
                return;
            } else {
                idCod = EIdCod->text().toStdString();
            }
            RequestMask = protocol::mask::Erase;
            SendRequest();
            records.destructive(records::Kind::Erase, idCod, "EraseEeprom",
                                kept ? records::Result::Ok : records::Result::Silent);
        });
    });
}
