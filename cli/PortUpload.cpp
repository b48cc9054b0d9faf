#include "cli/PortUpload.h"

namespace cli {

PortUpload::PortUpload(Link& link, EventLoop& loop, const update::FirmwareImage& image,
                       UploadProgress& progress)
    : link_(link),
      loop_(loop),
      progress_(progress),
      upload_(*this, *this, timer1_, recordTimer_, image) {
    loop_.addTimer(timer1_);
    loop_.addTimer(recordTimer_);
    link_.onReception = [this](std::span<const std::uint8_t> bytes) {
        if (upload_.uploadRunning()) upload_.OnReception(bytes.size(), bytes.data());
    };
    link_.onLost = [this] { upload_.OnLinkLost(); };
}

PortUpload::~PortUpload() {
    link_.onReception = nullptr;
    link_.onLost = nullptr;
    loop_.removeTimer(timer1_);
    loop_.removeTimer(recordTimer_);
}

std::optional<update::UploadResult> PortUpload::run(bool wait) {
    upload_.BUpgradeClick();
    if (!wait) timer1_.setInterval(0);
    const auto outcome =
        loop_.runUntil([this] { return upload_.state() == update::FirmwareUpload::State::Idle; });
    if (outcome != EventLoop::Outcome::Done) return std::nullopt;
    return result_;
}

void PortUpload::toggleLink() {
    if (link_.isOpen()) {
        link_.close();
        upload_.OnLinkLost();
    } else {
        link_.open();
    }
}

// The rate is counted from the first record; a link that did not open again sends none.
void PortUpload::sendingBegun() {
    if (link_.isOpen()) progress_.start();
}

bool PortUpload::writePort(const std::uint8_t* data, std::size_t length) {
    return link_.send(std::span<const std::uint8_t>(data, length));
}

}  // namespace cli
