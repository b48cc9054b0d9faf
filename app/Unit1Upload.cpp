#include "app/Unit1Upload.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include "app/Unit1.h"

Unit1Upload::Unit1Upload(TForm1& form)
    : form_(form), upload_(*this, *form.Timer1, *form.RecordTimer, form.Image) {}

// The port's own state, not the tool bar's images: a box still open (the lost link's "Разрыв
// соединения") runs the upload's timers before ConnectionChanged has updated the images.
bool Unit1Upload::isLinkOpen() const { return form_.linkOpen(); }
bool Unit1Upload::isLinkClosed() const { return !form_.linkOpen(); }

void Unit1Upload::toggleLink() { form_.toggleLink(); }
void Unit1Upload::clearAwaitingReply() { form_.clearAwaitingReply(); }
void Unit1Upload::installConnectionChanged() { form_.registerLinkHandler(); }

bool Unit1Upload::writePort(const std::uint8_t* data, std::size_t length) {
    // A record is at most 1044 bytes, far below the 16-bit count.
    return form_.WritePort(data, static_cast<std::uint16_t>(length));
}

void Unit1Upload::discardPendingInput() { form_.discardPendingInput(); }

std::uint8_t Unit1Upload::receiveBufferFirstByte() const { return form_.ReceiveBuffer[0]; }

void Unit1Upload::setProgressPosition(int position) { form_.ProgressBar1->setValue(position); }

void Unit1Upload::setLabel56(const std::string& text) { form_.Label56->setText(QString::fromStdString(text)); }
void Unit1Upload::setLabel57(const std::string& text) { form_.Label57->setText(QString::fromStdString(text)); }

void Unit1Upload::setStatusPanel1(const std::string& text) { form_.setPanelText(1, QString::fromStdString(text)); }

// BUpgrade is usable only with something to send, after an upload too.
void Unit1Upload::setUpgradeEnabled(bool enabled) { form_.BUpgrade->setEnabled(enabled && form_.Image.ImageLength > 0); }

unsigned Unit1Upload::lineRateBitsPerSecond() const { return form_.lineRate(); }

void Unit1Upload::uploadActiveChanged(bool active) { form_.setUploadLock(active); }
