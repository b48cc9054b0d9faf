#pragma once
// The upload's progress for the operator: on a terminal one bar redrawn in place (records, bytes,
// rate, time left); otherwise a plain line at every tenth of the image, for logs.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

namespace cli {

class UploadProgress {
  public:
    using Clock = std::chrono::steady_clock;

    // `image` is the whole image (records one after the other).
    UploadProgress(std::FILE* out, bool bar, std::span<const std::uint8_t> image);

    // The first record is about to go out: the rate is counted from here.
    void start();
    // `acknowledged` image bytes have been accepted so far.
    void update(std::uint32_t acknowledged);
    // Ends the bar's line.
    void finish();

  private:
    std::size_t recordsWithin(std::uint32_t bytes) const;
    void draw(std::uint32_t acknowledged);

    std::FILE* out_;
    bool bar_;
    std::uint32_t total_;
    std::vector<std::uint32_t> recordEnds_;  // offset just after each record
    Clock::time_point started_{};
    Clock::time_point drawn_{};
    int lastTenth_ = -1;
};

}  // namespace cli
