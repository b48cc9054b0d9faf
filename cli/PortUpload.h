#pragma once
// The firmware upload on the command line: update::FirmwareUpload with this object in the place
// of the main window (UploadHost) over a Link, its Timer1 and record time-out on the event loop,
// and the progress for the operator.
#include <cstdint>
#include <string>

#include "cli/Link.h"
#include "cli/UploadProgress.h"
#include "platform/SteadyTimer.h"
#include "update/FirmwareUpload.h"

namespace cli {

class PortUpload : public update::UploadHost {
public:
    PortUpload(Link& link, EventLoop& loop, const update::FirmwareImage& image,
               UploadProgress& progress);
    ~PortUpload() override;

    // BUpgrade: closes the link, waits 5000 ms (none with `wait` false), opens it again and
    // sends; runs the loop until the upload has wound up. Returns the final text of status panel
    // 1, or "" when the upload was interrupted.
    std::string run(bool wait);
    // After run: the line that tells where an interrupted upload stopped, or "".
    std::string unfinishedLine() const { return upload_.unfinishedLine("запустите vigil upload"); }

    // UploadHost
    bool isLinkOpen() const override { return link_.isOpen(); }
    bool isLinkClosed() const override { return !link_.isOpen(); }
    void toggleLink() override;
    void clearAwaitingReply() override {}
    void installConnectionChanged() override {}
    bool writePort(const std::uint8_t* data, std::size_t length) override;
    void discardPendingInput() override { link_.discardPendingInput(); }
    std::uint8_t receiveBufferFirstByte() const override { return firstByte_; }
    void setProgressPosition(int) override {}
    void setLabel56(const std::string&) override {}
    void setLabel57(const std::string&) override {}
    void setStatusPanel1(const std::string& text) override { panel1_ = text; }
    void setUpgradeEnabled(bool) override {}
    unsigned lineRateBitsPerSecond() const override { return link_.lineRate(); }

private:
    Link& link_;
    EventLoop& loop_;
    UploadProgress& progress_;
    platform::SteadyTimer timer1_, recordTimer_;
    update::FirmwareUpload upload_;
    std::uint8_t firstByte_ = 0;
    std::string panel1_;
    bool started_ = false;
};

}  // namespace cli
