#pragma once
// The firmware upload on the command line: update::FirmwareUpload over a Link, its Timer1 and
// record time-out on the event loop, its events shown in the operator's progress.
#include <optional>
#include <string>

#include "cli/Link.h"
#include "cli/UploadProgress.h"
#include "platform/Catalogue.h"
#include "platform/SteadyTimer.h"
#include "update/FirmwareUpload.h"

namespace cli {

class PortUpload : public update::UploadLink, public update::UploadEvents {
  public:
    PortUpload(Link& link, EventLoop& loop, const update::FirmwareImage& image,
               UploadProgress& progress);
    ~PortUpload() override;

    // BUpgrade: closes the link, waits 5000 ms (none with `wait` false), opens it again and
    // sends; runs the loop until the upload has wound up. Returns how it ended, or nothing when
    // it was interrupted.
    std::optional<update::UploadResult> run(bool wait);
    // After run: the line that tells where an interrupted upload stopped, or "".
    // The terminal stays in its bootloader: it is to get nothing but records, so no wait and no
    // read for the records.
    std::string unfinishedLine() const {
        return upload_.unfinishedLine(platform::translated("vigil", "run vigil upload --no-wait"));
    }

    // UploadLink
    bool isLinkOpen() const override { return link_.isOpen(); }
    void toggleLink() override;
    bool writePort(const std::uint8_t* data, std::size_t length) override;
    void discardPendingInput() override { link_.discardPendingInput(); }
    unsigned lineRateBitsPerSecond() const override { return link_.lineRate(); }

    // UploadEvents
    void uploadStarted(std::size_t) override {}
    void sendingBegun() override;
    void recordAccepted(std::uint32_t acknowledged, std::size_t) override {
        progress_.update(acknowledged);
    }
    void recordRepeated(int) override { progress_.update(upload_.SentLength()); }
    void uploadFinished(const update::UploadResult& result, std::uint32_t) override {
        result_ = result;
    }
    void uploadIdle() override {}

  private:
    Link& link_;
    EventLoop& loop_;
    UploadProgress& progress_;
    platform::SteadyTimer timer1_, recordTimer_;
    update::FirmwareUpload upload_;
    update::UploadResult result_;
};

}  // namespace cli
