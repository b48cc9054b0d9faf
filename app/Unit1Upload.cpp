#include "app/Unit1Upload.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include "app/Unit1.h"

namespace {
constexpr int kProgressSteps = 100;  // ProgressBar1's range
}

Unit1Upload::Unit1Upload(TForm1& form)
    : form_(form), upload_(*this, *this, *form.Timer1, *form.RecordTimer, form.Image) {}

// The port's own state, not the tool bar's images: a box still open (the lost link's "Разрыв
// соединения") runs the upload's timers before ConnectionChanged has updated the images.
bool Unit1Upload::isLinkOpen() const {
    return form_.linkOpen();
}

void Unit1Upload::toggleLink() {
    form_.toggleLink();
}

bool Unit1Upload::writePort(const std::uint8_t* data, std::size_t length) {
    // A record is at most 1044 bytes, far below the 16-bit count.
    return form_.WritePort(data, static_cast<std::uint16_t>(length));
}

void Unit1Upload::discardPendingInput() {
    form_.discardPendingInput();
}

unsigned Unit1Upload::lineRateBitsPerSecond() const {
    return form_.lineRate();
}

// TForm2's AwaitingReply cleared, so our own close raises no "Разрыв соединения", and
// TForm1::ConnectionChanged installed as its OnLinkStateChanged.
void Unit1Upload::takeOverLink(bool expectingNoReply) {
    if (expectingNoReply) form_.clearAwaitingReply();
    form_.registerLinkHandler();
}

void Unit1Upload::uploadStarted(std::size_t imageBytes) {
    lastResult_ = {};
    form_.Label56->setText(QString::number(2ULL * imageBytes));
    form_.BUpgrade->setEnabled(false);
    form_.setUploadLock(true);
}

void Unit1Upload::sendingBegun() {
    form_.ProgressBar1->setValue(0);
    form_.setPanelText(1, QString());
}

// The bar follows the bytes taken, whatever the size of the image; the end resets it.
void Unit1Upload::recordAccepted(std::uint32_t acknowledged, std::size_t imageBytes) {
    form_.ProgressBar1->setValue(
        static_cast<int>(std::uint64_t{acknowledged} * kProgressSteps / imageBytes));
}

void Unit1Upload::uploadFinished(const update::UploadResult& result, std::uint32_t acknowledged) {
    using update::UploadOutcome;
    lastResult_ = result;
    if (result.outcome != UploadOutcome::NothingSent)
        form_.setPanelText(1, QString::fromStdString(update::statusText(result)));
    form_.ProgressBar1->setValue(0);
    // Label57 takes the final count when the whole image went; a stop leaves the count of the
    // latest reception.
    if (result.outcome == UploadOutcome::Success || result.outcome == UploadOutcome::NothingSent)
        form_.Label57->setText(QString::number(2ULL * acknowledged));
}

// BUpgrade is usable only with something to send, after an upload too.
void Unit1Upload::uploadIdle() {
    form_.BUpgrade->setEnabled(form_.Image.ImageLength > 0);
    form_.setUploadLock(false);
}
