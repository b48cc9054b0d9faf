#include "update/FirmwareUpload.h"

#include <utility>

#include "platform/WireTime.h"

namespace update {

namespace {
constexpr int kProgressSteps = 100;

// The record starting at `offset` (0-based) and the number of records of `image`, from the
// length fields; a cut last record counts as one.
std::pair<std::size_t, std::size_t> recordPosition(const std::vector<std::uint8_t>& image, std::size_t offset)
{
    std::size_t index = 0, count = 0;
    for (std::size_t pos = 0; pos < image.size(); ++count) {
        if (pos < offset) ++index;
        if (image.size() - pos < kLengthFieldSize) break;
        pos += image[pos] * 256u + image[pos + 1] + kLengthFieldSize;
    }
    return {index, count};
}
}  // namespace

std::string unfinishedText(std::size_t record, std::size_t records, std::string_view again)
{
    return "Обновление не завершено (запись " + std::to_string(record) + " из " + std::to_string(records) +
           "): терминал остаётся в загрузчике. Подключите его и " + std::string(again) + " ещё раз.";
}

FirmwareUpload::FirmwareUpload(UploadHost& host, platform::Timer& timer1, platform::Timer& recordTimer,
                               const FirmwareImage& image)
    : host_(host), timer1_(timer1), recordTimer_(recordTimer), image_(image)
{
    timer1_.onTimer = [this] { Timer1Timer(); };
    recordTimer_.onTimer = [this] { RecordTimeout(); };
}

int FirmwareUpload::recordTimeoutMs(std::size_t bytes, unsigned bitsPerSecond)
{
    return kRecordTimeoutBaseMs + static_cast<int>(2 * platform::wireTimeMs(bytes, bitsPerSecond));
}

void FirmwareUpload::BUpgradeClick()
{
    if (state_ != State::Idle) return;  // BUpgrade is disabled from here until the wind-up
    sending_.assign(image_.ImageBuffer.begin(), image_.ImageBuffer.begin() + image_.ImageLength);

    timer1_.setInterval(kLinkSettleMs);
    timer1_.setEnabled(true);
    uploadRunning_ = true;
    state_ = State::WaitingToBegin;
    host_.clearAwaitingReply();
    host_.installConnectionChanged();
    if (host_.isLinkOpen()) host_.toggleLink();
    SentLength_ = 0;
    host_.setLabel56(std::to_string(2ull * sending_.size()));
    host_.setUpgradeEnabled(false);
    unfinished_ = {};
    host_.uploadActiveChanged(true);
}

void FirmwareUpload::Timer1Timer()
{
    timer1_.setEnabled(false);
    if (uploadRunning_) {
        host_.installConnectionChanged();
        if (host_.isLinkClosed()) host_.toggleLink();
        host_.setProgressPosition(0);
        SentLength_ = 0;
        FailureCount_ = 0;
        host_.setStatusPanel1("");
        state_ = State::Sending;
        SendNextRecord();
        return;
    }
    host_.setUpgradeEnabled(true);
    host_.clearAwaitingReply();
    host_.installConnectionChanged();
    state_ = State::Idle;  // before closing, so our own close is not taken for a lost link
    if (host_.isLinkOpen()) host_.toggleLink();
    host_.uploadActiveChanged(false);
}

void FirmwareUpload::SendNextRecord()
{
    lateAnswerGrace_ = false;
    const std::size_t imageLength = sending_.size();
    if (SentLength_ >= imageLength) {
        // SentLength reaches the end only through acknowledgements, so with records sent the
        // latest reception is the last record's accept. An empty image sent nothing: a byte left
        // over from some earlier reception is no success.
        const std::uint8_t b = imageLength > 0 ? host_.receiveBufferFirstByte() : 0;
        if (b == kAcceptVersion01) host_.setStatusPanel1(kSuccessVersion01Text);
        if (b == kAcceptVersion02) host_.setStatusPanel1(kSuccessVersion02Text);
        recordTimer_.setEnabled(false);
        host_.setProgressPosition(0);
        uploadRunning_ = false;
        host_.setLabel57(std::to_string(2ull * SentLength_));
        state_ = State::WindingUp;
        timer1_.setInterval(kWindUpMs);
        timer1_.setEnabled(true);
        return;
    }
    // The image passed its check when loaded; still, never read or send past it.
    const std::size_t left = imageLength - SentLength_;
    const std::size_t L = left >= kLengthFieldSize ? sending_[SentLength_] * 256u + sending_[SentLength_ + 1] : 0;
    if (left < kLengthFieldSize || L > kMaxRecordLength || L + kLengthFieldSize > left) {
        stop(kRejectedText);
        return;
    }
    RecordLength_ = static_cast<std::uint16_t>(L + kLengthFieldSize);
    if (!host_.isLinkOpen() || !host_.writePort(&sending_[SentLength_], RecordLength_)) {
        stop(kLinkLostText);
        return;
    }
    recordTimer_.setInterval(recordTimeoutMs(RecordLength_, host_.lineRateBitsPerSecond()));
    recordTimer_.setEnabled(true);
}

void FirmwareUpload::OnReception(std::size_t n, const std::uint8_t* data)
{
    if (state_ != State::Sending) return;  // the link is closed in every other state
    // An answer inside the grace is the late answer of the record that timed out: the bootloader
    // took that record, and a repeat would be written into the flash a second time.
    lateAnswerGrace_ = false;
    recordTimer_.setEnabled(false);
    if (n == 0) {
        failedAnswer(kNoAnswerText);
        return;
    }
    if (n >= 2) {
        stop(kNotBootloaderText);
        return;
    }
    if (data[0] != kAcceptVersion01 && data[0] != kAcceptVersion02) {
        failedAnswer(kRejectedText);
        return;
    }
    SentLength_ += RecordLength_;
    // The bar follows the bytes taken, whatever the size of the image; the end resets it.
    host_.setProgressPosition(static_cast<int>(std::uint64_t{SentLength_} * kProgressSteps / sending_.size()));
    SendNextRecord();
}

void FirmwareUpload::OnLinkLost()
{
    if (state_ == State::Sending) stop(kLinkLostText);
}

void FirmwareUpload::RecordTimeout()
{
    recordTimer_.setEnabled(false);
    if (state_ != State::Sending) return;
    if (!lateAnswerGrace_) {
        lateAnswerGrace_ = true;
        recordTimer_.setInterval(kLateAnswerGraceMs);
        recordTimer_.setEnabled(true);
        return;
    }
    // Silence through the grace too: a failed answer like an empty reception.
    lateAnswerGrace_ = false;
    failedAnswer(kNoAnswerText);
}

void FirmwareUpload::failedAnswer(const char* textAtLimit)
{
    ++FailureCount_;
    if (FailureCount_ >= kFailureLimit) {
        stop(textAtLimit);
        return;
    }
    host_.discardPendingInput();
    SendNextRecord();
}

std::string FirmwareUpload::unfinishedLine(std::string_view again) const
{
    if (state_ == State::Sending && !sending_.empty()) {
        const auto [index, count] = recordPosition(sending_, SentLength_);
        return unfinishedText(index + 1, count, again);
    }
    return unfinished_.first ? unfinishedText(unfinished_.first, unfinished_.second, again) : std::string();
}

void FirmwareUpload::stop(const std::string& text)
{
    // Records were going out: the terminal waits in its bootloader for the rest. (One that
    // answers like a running program was never in it.)
    if (text != kNotBootloaderText && state_ == State::Sending && !sending_.empty()) {
        const auto [index, count] = recordPosition(sending_, SentLength_);
        unfinished_ = {index + 1, count};
    }
    recordTimer_.setEnabled(false);
    lateAnswerGrace_ = false;
    host_.setStatusPanel1(text);
    host_.setProgressPosition(0);
    uploadRunning_ = false;
    state_ = State::WindingUp;
    timer1_.setInterval(kWindUpMs);
    timer1_.setEnabled(true);
}

}  // namespace update
