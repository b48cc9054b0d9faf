#include "cli/UploadProgress.h"

#include <algorithm>
#include <string>

#include "cli/Texts.h"
#include "platform/Catalogue.h"

namespace cli {
namespace {

constexpr int kBarWidth = 30;
constexpr std::chrono::milliseconds kRedrawEvery{100};

std::string duration(double seconds) {
    const long s = static_cast<long>(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

}  // namespace

UploadProgress::UploadProgress(std::FILE* out, bool bar, std::span<const std::uint8_t> image)
    : out_(out), bar_(bar), total_(static_cast<std::uint32_t>(image.size())) {
    // The records as the upload walks them: length field (big-endian), then its body.
    for (std::size_t at = 0; at + 2 <= image.size();) {
        at += 2 + (image[at] * 256u + image[at + 1]);
        recordEnds_.push_back(static_cast<std::uint32_t>(std::min(at, image.size())));
    }
}

void UploadProgress::start() {
    started_ = Clock::now();
    lastTenth_ = -1;
    update(0);
}

std::size_t UploadProgress::recordsWithin(std::uint32_t bytes) const {
    return static_cast<std::size_t>(
        std::upper_bound(recordEnds_.begin(), recordEnds_.end(), bytes) - recordEnds_.begin());
}

void UploadProgress::update(std::uint32_t acknowledged) {
    const int tenth = total_ == 0 ? 10 : static_cast<int>(10ull * acknowledged / total_);
    const Clock::time_point now = Clock::now();
    if (bar_ ? now - drawn_ < kRedrawEvery && acknowledged < total_ : tenth == lastTenth_) {
        return;
    }
    lastTenth_ = tenth;
    drawn_ = now;
    draw(acknowledged);
}

void UploadProgress::draw(std::uint32_t acknowledged) {
    const double seconds = std::chrono::duration<double>(Clock::now() - started_).count();
    const double rate = seconds > 0 ? acknowledged / seconds : 0;
    const std::string left =
        withArgs(platform::translated("vigil", "%1 left"),
                 {rate > 0 ? duration((total_ - acknowledged) / rate) : "--:--"});
    char kiloBytes[32];
    std::snprintf(kiloBytes, sizeof kiloBytes, "%.1f", rate / 1000);
    const std::string figures =
        withArgs(platform::translated("vigil", "%1/%2 records  %3/%4 bytes  %5 kB/s  %6"),
                 {std::to_string(recordsWithin(acknowledged)), std::to_string(recordEnds_.size()),
                  std::to_string(acknowledged), std::to_string(total_), kiloBytes, left});
    if (!bar_) {
        std::fputs(withArgs(platform::translated("vigil", "upload: %1\n"), {figures}).c_str(),
                   out_);
    } else {
        const int filled =
            total_ == 0 ? kBarWidth : static_cast<int>(1ull * kBarWidth * acknowledged / total_);
        const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '.');
        std::fprintf(out_, "\r[%s] %s\033[K", bar.c_str(), figures.c_str());
    }
    std::fflush(out_);
}

void UploadProgress::finish() {
    if (bar_) std::fputc('\n', out_);
    std::fflush(out_);
}

}  // namespace cli
