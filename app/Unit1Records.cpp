// TForm1: the journal of terminals (File -> "Журнал терминалов…") and values put back from it.
#include "app/Unit1.h"
#include "app/Unit1Verify.h"
#include "app/UnitJournalWindow.h"
#include "app/UnitRecords.h"

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
    Journal->show();
    Journal->raise();
    Journal->activateWindow();
}

void TForm1::restoreToScreen(const std::function<void(protocol::ControlAccess&)>& apply) {
    if (uploadLocked_) return;
    Verify->restoreValues(apply);
}
