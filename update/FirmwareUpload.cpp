#include "update/FirmwareUpload.h"

#include <utility>

#include "platform/Catalogue.h"
#include "platform/WireTime.h"

namespace update {

namespace {

// The record starting at `offset` (0-based) and the number of records of `image`, from the
// length fields; a cut last record counts as one.
std::pair<std::size_t, std::size_t> recordPosition(const std::vector<std::uint8_t>& image,
                                                   std::size_t offset) {
    std::size_t index = 0, count = 0;
    for (std::size_t pos = 0; pos < image.size(); ++count) {
        if (pos < offset) ++index;
        if (image.size() - pos < kLengthFieldSize) break;
        pos += image[pos] * 256u + image[pos + 1] + kLengthFieldSize;
    }
    return {index, count};
}
}  // namespace

std::string unfinishedText(std::size_t record, std::size_t records, std::string_view again) {
    return platform::translated("FirmwareUpload", "Обновление не завершено (запись ") +
           std::to_string(record) + platform::translated("FirmwareUpload", " из ") +
           std::to_string(records) +
           platform::translated("FirmwareUpload",
                                "): терминал остаётся в загрузчике. Подключите его и ") +
           std::string(again) + platform::translated("FirmwareUpload", " ещё раз.");
}

FirmwareUpload::FirmwareUpload(UploadLink& link, UploadEvents& events, platform::Timer& timer1,
                               platform::Timer& recordTimer, const FirmwareImage& image)
    : link_(link), events_(events), timer1_(timer1), recordTimer_(recordTimer), image_(image) {
    timer1_.onTimer = [this] { Timer1Timer(); };
    recordTimer_.onTimer = [this] { RecordTimeout(); };
}

int FirmwareUpload::recordTimeoutMs(std::size_t bytes, unsigned bitsPerSecond) {
    return kRecordTimeoutBaseMs + static_cast<int>(2 * platform::wireTimeMs(bytes, bitsPerSecond));
}

void FirmwareUpload::BUpgradeClick() {
    if (state_ != State::Idle) return;  // BUpgrade is disabled from here until the wind-up
    sending_.assign(image_.ImageBuffer.begin(), image_.ImageBuffer.begin() + image_.ImageLength);

    timer1_.setInterval(kLinkSettleMs);
    timer1_.setEnabled(true);
    uploadRunning_ = true;
    state_ = State::WaitingToBegin;
    link_.takeOverLink(true);
    if (link_.isLinkOpen()) link_.toggleLink();
    SentLength_ = 0;
    lastAccept_ = 0;
    unfinished_ = {};
    events_.uploadStarted(sending_.size());
}

void FirmwareUpload::Timer1Timer() {
    timer1_.setEnabled(false);
    if (uploadRunning_) {
        link_.takeOverLink(false);
        if (!link_.isLinkOpen()) link_.toggleLink();
        SentLength_ = 0;
        FailureCount_ = 0;
        events_.sendingBegun();
        state_ = State::Sending;
        SendNextRecord();
        return;
    }
    link_.takeOverLink(true);
    state_ = State::Idle;  // before closing, so our own close is not taken for a lost link
    if (link_.isLinkOpen()) link_.toggleLink();
    events_.uploadIdle();
}

void FirmwareUpload::SendNextRecord() {
    lateAnswerGrace_ = false;
    const std::size_t imageLength = sending_.size();
    if (SentLength_ >= imageLength) {
        // SentLength reaches the end only through acknowledgements, so with records sent the
        // latest reception is the last record's accept. An empty image sent nothing: no success.
        UploadResult result;
        if (imageLength > 0) {
            result.outcome = UploadOutcome::Success;
            result.bootloaderVersion = lastAccept_ == kAcceptVersion02 ? 2 : 1;
        }
        windUp(result);
        return;
    }
    // The image passed its check when loaded; still, never read or send past it.
    const std::size_t left = imageLength - SentLength_;
    const std::size_t L =
        left >= kLengthFieldSize ? sending_[SentLength_] * 256u + sending_[SentLength_ + 1] : 0;
    if (left < kLengthFieldSize || L > kMaxRecordLength || L + kLengthFieldSize > left) {
        stop(UploadOutcome::Rejected);
        return;
    }
    RecordLength_ = static_cast<std::uint16_t>(L + kLengthFieldSize);
    if (!link_.isLinkOpen() || !link_.writePort(&sending_[SentLength_], RecordLength_)) {
        stop(UploadOutcome::LinkLost);
        return;
    }
    recordTimer_.setInterval(recordTimeoutMs(RecordLength_, link_.lineRateBitsPerSecond()));
    recordTimer_.setEnabled(true);
}

void FirmwareUpload::OnReception(std::size_t n, const std::uint8_t* data) {
    if (state_ != State::Sending) return;  // the link is closed in every other state
    // An answer inside the grace is the late answer of the record that timed out: the bootloader
    // took that record, and a repeat would be written into the flash a second time.
    lateAnswerGrace_ = false;
    recordTimer_.setEnabled(false);
    if (n == 0) {
        failedAnswer(UploadOutcome::NoAnswer);
        return;
    }
    if (n >= 2) {
        stop(UploadOutcome::NotBootloader);
        return;
    }
    if (data[0] != kAcceptVersion01 && data[0] != kAcceptVersion02) {
        failedAnswer(UploadOutcome::Rejected);
        return;
    }
    lastAccept_ = data[0];
    SentLength_ += RecordLength_;
    events_.recordAccepted(SentLength_, sending_.size());
    SendNextRecord();
}

void FirmwareUpload::OnLinkLost() {
    if (state_ == State::Sending) stop(UploadOutcome::LinkLost);
}

void FirmwareUpload::RecordTimeout() {
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
    failedAnswer(UploadOutcome::NoAnswer);
}

void FirmwareUpload::failedAnswer(UploadOutcome atLimit) {
    ++FailureCount_;
    if (FailureCount_ >= kFailureLimit) {
        stop(atLimit);
        return;
    }
    link_.discardPendingInput();
    events_.recordRepeated(FailureCount_);
    SendNextRecord();
}

std::string FirmwareUpload::unfinishedLine(std::string_view again) const {
    if (state_ == State::Sending && !sending_.empty()) {
        const auto [index, count] = recordPosition(sending_, SentLength_);
        return unfinishedText(index + 1, count, again);
    }
    return unfinished_.first ? unfinishedText(unfinished_.first, unfinished_.second, again)
                             : std::string();
}

void FirmwareUpload::stop(UploadOutcome outcome) {
    UploadResult result;
    result.outcome = outcome;
    // Records were going out: the terminal waits in its bootloader for the rest. (One that
    // answers like a running program was never in it.)
    if (outcome != UploadOutcome::NotBootloader && state_ == State::Sending && !sending_.empty()) {
        const auto [index, count] = recordPosition(sending_, SentLength_);
        unfinished_ = {index + 1, count};
        result.record = index + 1;
        result.records = count;
    }
    lateAnswerGrace_ = false;
    windUp(result);
}

void FirmwareUpload::windUp(const UploadResult& result) {
    recordTimer_.setEnabled(false);
    uploadRunning_ = false;
    events_.uploadFinished(result, SentLength_);
    state_ = State::WindingUp;
    timer1_.setInterval(kWindUpMs);
    timer1_.setEnabled(true);
}

const char* statusSource(const UploadResult& result) {
    switch (result.outcome) {
        case UploadOutcome::Success:
            return result.bootloaderVersion == 2 ? kSuccessVersion02Text : kSuccessVersion01Text;
        case UploadOutcome::NothingSent:
            return "";
        case UploadOutcome::Rejected:
            return kRejectedText;
        case UploadOutcome::NoAnswer:
            return kNoAnswerText;
        case UploadOutcome::NotBootloader:
            return kNotBootloaderText;
        case UploadOutcome::LinkLost:
            return kLinkLostText;
    }
    return "";
}

std::string statusText(const UploadResult& result) {
    const char* source = statusSource(result);
    return *source == '\0' ? std::string() : platform::translated("FirmwareUpload", source);
}

}  // namespace update
