// TForm1: the firmware upload in the records. Before the link is closed for the bootloader the
// terminal's settings are read for the records (as before an erase); once the upload's wind-up
// is over, the upload is kept with its update file and the outcome panel 1 shows.
#include <QPushButton>

#include "app/Unit1.h"
#include "app/Unit1Upload.h"
#include "app/UnitRecords.h"
#include "records/FileDigest.h"
#include "update/FirmwareUpload.h"

namespace {
// The button's caption as written: the command the records name, in either language.
constexpr const char* kUploadCommand = "Програм.";
}  // namespace

void TForm1::uploadAfterSnapshot() {
    if (uploadSnapshotUnderWay_) return;  // pressed again while the read waits
    // Locked: the upload's own rule refuses it. Nothing to send: nothing reaches the terminal.
    if (uploadLocked_ || Image.ImageLength == 0) {
        Upload->upload().BUpgradeClick();
        return;
    }
    uploadSnapshotUnderWay_ = true;
    const bool started =
        afterSnapshot("Снимок перед обновлением", app::kUploadSnapshotFailedQuestion,
                      [this](const SnapshotOutcome& o) {
                          uploadSnapshotUnderWay_ = false;
                          if (!o.goOn || uploadLocked_) return;
                          // The file of the image about to be sent (File > Open
                          // may have replaced it while the read waited).
                          uploadUnderWay_.emplace(o.idCod, updateFile_);
                          Upload->upload().BUpgradeClick();
                      });
    if (!started) uploadSnapshotUnderWay_ = false;
}

void TForm1::noteUpdateFile(const std::string& path) {
    updateFile_ = records::updateFileFacts(path, {Image.ImageBuffer.data(), Image.ImageLength});
}

void TForm1::recordUploadOutcome() {
    if (!uploadUnderWay_) return;
    auto [idCod, facts] = std::move(*uploadUnderWay_);
    uploadUnderWay_.reset();
    // The records read the same whatever language the window speaks: the outcome and the
    // button as written, not as shown.
    const update::UploadResult& result = Upload->lastResult();
    facts.outcome = update::statusSource(result);
    app::UnitRecords::instance().uploaded(idCod, kUploadCommand, std::move(facts),
                                          result.succeeded());
}
