#pragma once
// The main window around the firmware upload: its link (TForm2's toggle, WritePort) for the
// upload to drive, and the upload's events shown in Label56, Label57, ProgressBar1, status
// panel 1 and BUpgrade.
#include "update/FirmwareUpload.h"

class TForm1;

class Unit1Upload : public update::UploadLink, public update::UploadEvents {
  public:
    explicit Unit1Upload(TForm1& form);

    update::FirmwareUpload& upload() { return upload_; }
    // How the latest upload ended (NothingSent until one has).
    const update::UploadResult& lastResult() const { return lastResult_; }

    // UploadLink
    bool isLinkOpen() const override;
    void toggleLink() override;
    bool writePort(const std::uint8_t* data, std::size_t length) override;
    void discardPendingInput() override;
    unsigned lineRateBitsPerSecond() const override;
    void takeOverLink(bool expectingNoReply) override;

    // UploadEvents
    void uploadStarted(std::size_t imageBytes) override;
    void sendingBegun() override;
    void recordAccepted(std::uint32_t acknowledged, std::size_t imageBytes) override;
    void uploadFinished(const update::UploadResult& result, std::uint32_t acknowledged) override;
    void uploadIdle() override;

  private:
    TForm1& form_;
    update::FirmwareUpload upload_;
    update::UploadResult lastResult_;
};
