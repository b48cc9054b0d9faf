#pragma once
// The main window as the firmware upload's host: its link toggle, WritePort, the progress
// controls and status panel 1, bound to the upload state machine.
#include "update/FirmwareUpload.h"
#include "update/UploadHost.h"

class TForm1;

class Unit1Upload : public update::UploadHost {
public:
    explicit Unit1Upload(TForm1& form);

    update::FirmwareUpload& upload() { return upload_; }

    bool isLinkOpen() const override;
    bool isLinkClosed() const override;
    void toggleLink() override;
    void clearAwaitingReply() override;
    void installConnectionChanged() override;
    bool writePort(const std::uint8_t* data, std::size_t length) override;
    void discardPendingInput() override;
    std::uint8_t receiveBufferFirstByte() const override;
    void setProgressPosition(int position) override;
    void setLabel56(const std::string& text) override;
    void setLabel57(const std::string& text) override;
    void setStatusPanel1(const std::string& text) override;
    void setUpgradeEnabled(bool enabled) override;
    unsigned lineRateBitsPerSecond() const override;
    void uploadActiveChanged(bool active) override;

private:
    TForm1& form_;
    update::FirmwareUpload upload_;
};
