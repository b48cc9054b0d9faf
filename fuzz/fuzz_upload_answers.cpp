// A firmware upload against a bootloader that answers anything: single bytes of any value,
// empty and long receptions, time-outs, a lost link and a second press of BUpgrade, in any order.
// Whatever it answers, every block sent is the next whole record of the image, the progress of
// the upload never goes back, success is shown only after the last record and nothing follows it,
// failures stay within their limit, and the upload always winds up with the link closed.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/Timer.h"
#include "update/FirmwareUpload.h"

namespace {

using update::FirmwareUpload;

// The link and the events as the upload sees them, checking each call against its own state.
struct CheckingHost : update::UploadLink, update::UploadEvents {
    const update::FirmwareImage* image = nullptr;
    const FirmwareUpload* upload = nullptr;
    bool open = true;
    bool upgradeEnabled = true;
    bool successShown = false;
    std::uint32_t confirmed = 0;  // image bytes acknowledged in this upload

    bool isLinkOpen() const override { return open; }
    void toggleLink() override { open = !open; }
    bool writePort(const std::uint8_t* data, std::size_t n) override {
        fuzz::require(open, "blocks are sent only over an open link");
        const std::uint32_t at = upload->SentLength();
        fuzz::require(at >= confirmed, "the upload never goes back");
        confirmed = at;
        fuzz::require(image->ImageLength - at >= 2, "a block starts at a record inside the image");
        const std::size_t record = 2 + (image->ImageBuffer[at] * 256u + image->ImageBuffer[at + 1]);
        fuzz::require(n == record && record <= image->ImageLength - at &&
                          std::memcmp(data, image->ImageBuffer.data() + at, n) == 0,
                      "each block is the next whole record of the image");
        return true;
    }
    void discardPendingInput() override {}
    unsigned lineRateBitsPerSecond() const override { return 9600; }

    void uploadStarted(std::size_t) override { upgradeEnabled = false; }
    void sendingBegun() override { fuzz::require(!successShown, "nothing is shown after success"); }
    void recordAccepted(std::uint32_t, std::size_t) override {
        fuzz::require(!successShown, "nothing is shown after success");
    }
    void uploadFinished(const update::UploadResult& result, std::uint32_t acknowledged) override {
        fuzz::require(!successShown, "nothing is shown after success");
        if (result.succeeded()) {
            fuzz::require(
                acknowledged == image->ImageLength && upload->SentLength() == image->ImageLength,
                "success is shown only after the last record");
            successShown = true;
        }
    }
    void uploadIdle() override { upgradeEnabled = true; }
};

// Records with bodies of up to 63 bytes, made from the input; the bodies are opaque here.
void imageFrom(fuzz::Input& in, update::FirmwareImage& image) {
    image.ImageLength = 0;
    for (int records = in.byte() % 9; records > 0; --records) {
        const std::size_t L = 1 + in.byte() % 63;
        image.ImageBuffer[image.ImageLength++] = 0;
        image.ImageBuffer[image.ImageLength++] = static_cast<std::uint8_t>(L);
        for (std::size_t i = 0; i < L; ++i) image.ImageBuffer[image.ImageLength++] = in.byte();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto image = std::make_unique<update::FirmwareImage>();
    fuzz::Input in(data, size);
    imageFrom(in, *image);

    CheckingHost host;
    platform::ManualTimer timer1, recordTimer;
    FirmwareUpload upload(host, host, timer1, recordTimer, *image);
    host.image = image.get();
    host.upload = &upload;

    auto receive = [&](std::vector<std::uint8_t> bytes) {
        // HandleReception routes a reception to the upload only while it runs.
        if (!host.open || !upload.uploadRunning()) return;
        upload.OnReception(bytes.size(), bytes.data());
    };
    auto press = [&] {
        if (!host.upgradeEnabled) return;
        host.successShown = false;
        host.confirmed = 0;
        upload.BUpgradeClick();
    };

    press();
    while (in.left() > 0) {
        const std::uint8_t op = in.byte();
        switch (op % 8) {
            case 0:
            case 1:
                receive({(op & 0x08) ? update::kAcceptVersion01 : in.byte()});
                break;
            case 2:
                receive({});
                break;
            case 3:
                receive(std::vector<std::uint8_t>(2 + in.byte() % 3, update::kAcceptVersion02));
                break;
            case 4:
                recordTimer.fire();
                break;
            case 5:
                timer1.fire();
                break;
            case 6:
                host.open = false;
                upload.OnLinkLost();
                break;
            case 7:
                press();
                break;
        }
        fuzz::require(upload.FailureCount() <= update::kFailureLimit,
                      "failures stay within the limit");
    }

    // Left alone, the bootloader silent, every upload winds up: ten time-outs at the most.
    for (int tick = 0; tick < 100 && upload.state() != FirmwareUpload::State::Idle; ++tick)
        if (!timer1.fire() && !recordTimer.fire()) break;
    fuzz::require(upload.state() == FirmwareUpload::State::Idle && !upload.uploadRunning(),
                  "every upload winds up");
    fuzz::require(!host.open && host.upgradeEnabled,
                  "the link is closed and BUpgrade enabled again");
    return 0;
}
