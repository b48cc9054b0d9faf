#include "cli/PortUpload.h"

namespace cli {

PortUpload::PortUpload(Link& link, EventLoop& loop, const update::FirmwareImage& image,
                       UploadProgress& progress)
    : link_(link), loop_(loop), progress_(progress), upload_(*this, timer1_, recordTimer_, image) {
    loop_.addTimer(timer1_);
    loop_.addTimer(recordTimer_);
    link_.onReception = [this](std::span<const std::uint8_t> bytes) {
        firstByte_ = bytes[0];
        if (!upload_.uploadRunning()) return;
        upload_.OnReception(bytes.size(), bytes.data());
        progress_.update(upload_.SentLength());
    };
    link_.onLost = [this] { upload_.OnLinkLost(); };
}

PortUpload::~PortUpload() {
    link_.onReception = nullptr;
    link_.onLost = nullptr;
    loop_.removeTimer(timer1_);
    loop_.removeTimer(recordTimer_);
}

std::string PortUpload::run(bool wait) {
    upload_.BUpgradeClick();
    if (!wait) timer1_.setInterval(0);
    const auto outcome = loop_.runUntil(
        [this] { return upload_.state() == update::FirmwareUpload::State::Idle; });
    return outcome == EventLoop::Outcome::Done ? panel1_ : std::string();
}

void PortUpload::toggleLink() {
    if (link_.isOpen()) {
        link_.close();
        upload_.OnLinkLost();
    } else {
        link_.open();
    }
}

bool PortUpload::writePort(const std::uint8_t* data, std::size_t length) {
    if (!started_) {
        started_ = true;
        progress_.start();
    }
    return link_.send(std::span<const std::uint8_t>(data, length));
}

}  // namespace cli
