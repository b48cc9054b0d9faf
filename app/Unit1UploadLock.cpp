// What the main window holds still while an upload runs: every control that sends a request,
// File > Open, which could replace the image under the upload, and the link's own controls.
#include <QAction>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <iterator>

#include "app/Unit1.h"
#include "serial/Unit2.h"

std::vector<QWidget*> TForm1::requestSenders() const {
    return {ReadInternetB, WriteInternetB, ReadApnB, WriteApnB, Button1,    ReadTLB,
            WriteTLB,      ReadGpsB,       ReadMicB, WriteMicB, ToolButton6};
}

void TForm1::setUploadLock(bool locked) {
    if (locked == uploadLocked_) return;
    uploadLocked_ = locked;
    const std::vector<QWidget*> senders = requestSenders();
    if (locked) enabledBeforeUpload_.clear();
    for (std::size_t i = 0; i < senders.size(); ++i) {
        if (locked) enabledBeforeUpload_.push_back(senders[i]->isEnabled());
        senders[i]->setEnabled(!locked && enabledBeforeUpload_[i]);
    }
    Open1->setEnabled(!locked);
    // The link belongs to the upload: connecting early or picking another port in the 5-second
    // wait would send the records to a terminal not yet in its bootloader, or to another device.
    ToolButton1->setEnabled(!locked);
    Form2->setEnabled(!locked);
    if (!locked) recordUploadOutcome();  // the wind-up is over: panel 1 holds the outcome
}

void TForm1::enableWriteControls() {
    const QWidget* const writers[] = {ToolButton6, WriteMicB, WriteInternetB, WriteApnB, WriteTLB};
    const std::vector<QWidget*> senders = requestSenders();
    for (std::size_t i = 0; i < senders.size(); ++i) {
        if (std::find(std::begin(writers), std::end(writers), senders[i]) == std::end(writers))
            continue;
        if (uploadLocked_)
            enabledBeforeUpload_[i] = true;  // once the upload is over
        else
            senders[i]->setEnabled(true);
    }
}
