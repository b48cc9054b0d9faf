// The link: tool bar, the port settings window's callbacks, requests out and receptions in.
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include "app/Unit1.h"
#include "app/Unit1Upload.h"
#include "app/Unit1Verify.h"
#include "app/UnitRecords.h"
#include "platform/Catalogue.h"
#include "platform/ComPortMap.h"
#include "platform/MessageService.h"
#include "platform/PortDiagnostics.h"
#include "protocol/RequestBuilder.h"
#include "protocol/ResponseParser.h"
#include "serial/Unit2.h"

namespace {
// TForm2's button reads this exactly while the port is open.
QString connectedCaption() {
    return QCoreApplication::translate("TForm2", "Отключить ");
}
constexpr const char* kUploadAgain = QT_TRANSLATE_NOOP("TForm1", "нажмите \"Програм.\"");

QString usbText(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

void TForm1::registerLinkHandler() {
    Form2->OnLinkStateChanged = [this](TForm2*) { ConnectionChanged(); };
    // A break in the middle of an upload leaves the terminal in its bootloader: the box says so.
    Form2->LinkBrokenDetail = [this] {
        return uploadRunning()
                   ? Upload->upload().unfinishedLine(platform::translated("TForm1", kUploadAgain))
                   : std::string();
    };
}

bool TForm1::linkOpen() const {
    return Form2 && Form2->CommPort1->IsEnabled();
}

void TForm1::clearAwaitingReply() {
    Form2->AwaitingReply = false;
}

void TForm1::toggleLink() {
    Form2->Button1Click();
}

void TForm1::discardPendingInput() {
    if (Form2->CommPort1->IsEnabled()) Form2->FlushInput();
}

std::string TForm1::noAnswerText() const {
    const int port = Form2 ? Form2->CommPort1->ComNumber() : 0;
    return platform::noAnswerText(port, platform::devicePathFor(port));
}

unsigned TForm1::lineRate() const {
    return static_cast<unsigned>(Form2->CommPort1->GetBaud());
}

bool TForm1::uploadRunning() const {
    return Upload->upload().uploadRunning();
}

void TForm1::ToolButton1Click() {
    if (uploadLocked_) return;  // the upload opens the link itself
    registerLinkHandler();
    if (TImageList::imageIndex(ToolButton1) == 0) toggleLink();
}

void TForm1::ToolButton3Click() {
    // A close the operator asked for is not a broken connection.
    clearAwaitingReply();
    registerLinkHandler();
    if (TImageList::imageIndex(ToolButton3) == 2) toggleLink();
}

void TForm1::ToolButton5Click() {
    registerLinkHandler();
    Form2->BringToFront();
}

void TForm1::ConnectionChanged() {
    Form2->TransmitBuffer = TransmitBuffer.data();
    Form2->ReceiveBuffer = ReceiveBuffer.data();
    Form2->OnReplyReceived = [this](TForm2*) { HandleReception(); };
    setPanelText(0, Form2->Label1->text());
    const bool connected = Form2->Button1->text() == connectedCaption();
    ImageList1.setImageIndex(ToolButton1, connected ? 1 : 0);
    ImageList1.setImageIndex(ToolButton3, connected ? 2 : 3);
    CompareWithTerminal->setEnabled(connected);
    // A link that drops while records are going out ends the upload.
    if (!connected)
        Upload->upload().OnLinkLost();
    else
        app::UnitRecords::instance().linkOpened(Form2->CommPort1->ComNumber());
}

void TForm1::PageControl1Change(int index) {
    RequestMask = index == kMonitorTab ? protocol::mask::MonitorOn : protocol::mask::MonitorOff;
    if (linkOpen()) SendRequest();
}

void TForm1::ReadInternetBClick() {
    RequestMask = protocol::mask::Read;
    SendRequest();
}
void TForm1::ReadApnBClick() {
    RequestMask = protocol::mask::Read;
    SendRequest();
}
void TForm1::ReadTLBClick() {
    RequestMask = protocol::mask::Read;
    SendRequest();
}
void TForm1::ReadMicBClick() {
    RequestMask = protocol::mask::Read;
    SendRequest();
}
void TForm1::ReadGpsBClick() {
    RequestMask = protocol::mask::Read;
    SendRequest();
}
void TForm1::WriteInternetBClick() {
    RequestMask = protocol::mask::Internet;
    SendRequest();
}
void TForm1::WriteApnBClick() {
    RequestMask = protocol::mask::Access;
    SendRequest();
}
void TForm1::WriteTLBClick() {
    RequestMask = protocol::mask::Phones;
    SendRequest();
}
void TForm1::WriteMicBClick() {
    RequestMask = protocol::mask::Settings;
    SendRequest();
}
void TForm1::Button1Click() {
    if (uploadLocked_) return;  // no question about a request that could not go out
    if (!app::Unit1Verify::confirmErase()) return;
    eraseAfterSnapshot();  // app/Unit1Records.cpp
}
void TForm1::ToolButton6Click() {
    RequestMask = protocol::mask::WriteAll;
    SendRequest();
}

// The controls are emptied only once the request has been handed to the port: a refused request
// (":" in a text, a character the code page lacks, too long) or a closed port loses no input.
void TForm1::SendRequest() {
    // Nothing but records on the link while an upload runs: a request in the bootloader's stream
    // would be taken for a record (or its answer for an acknowledgement).
    if (uploadLocked_) return;
    const std::uint16_t requested = RequestMask;
    RequestMask = 0;
    if (writeWaitsForSnapshot(requested)) return;  // app/Unit1Records.cpp
    sendRequestNow(requested);
}

void TForm1::sendRequestNow(std::uint16_t requested) {
    if (uploadLocked_ || Verify->refusesWrite(requested)) return;
    const protocol::ComposedRequest request =
        protocol::composeRequest(Controls, requested, TransmitBuffer);
    if (!request.ok) {
        platform::messages().show(request.message, "", platform::MessageIcon::Warning,
                                  platform::MessageButtons::Ok);
        return;
    }
    if (WritePort(TransmitBuffer.data(), TransmitBuffer.length()))
        Verify->emptyAndWatch(request, TransmitBuffer.length());
}

bool TForm1::WritePort(const std::uint8_t* bytes, std::uint16_t count) {
    return Form2 && Form2->SendBlock(bytes, count);
}

void TForm1::HandleReception() {
    ReceivedCount = Form2->ReceivedCount;
    Label35->setText(QString::number(ReceivedCount));
    if (PageControl1->currentIndex() == kMonitorTab && !uploadRunning()) DumpReception();
    update::FirmwareUpload& upload = Upload->upload();
    Label57->setText(QString::number(2ULL * upload.SentLength()));
    if (upload.uploadRunning()) {
        upload.OnReception(ReceivedCount, ReceiveBuffer.data());
        return;
    }
    setPanelText(0, usbText(protocol::nextUsbIndicatorText(UsbIndicator)));
    Verify->parseReception(ReceiveBuffer.data(), ReceivedCount);
}

void TForm1::CompareWithTerminalClick() {
    if (!uploadLocked_) Verify->startCompare();
}

void TForm1::BUpgradeClick() {
    uploadAfterSnapshot();
}  // app/Unit1UploadRecords.cpp
void TForm1::Timer1Timer() {
    Upload->upload().Timer1Timer();
}
void TForm1::SendNextRecord() {
    Upload->upload().SendNextRecord();
}
