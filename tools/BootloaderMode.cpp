#include "tools/BootloaderMode.h"

#include <fstream>
#include <string_view>

#include "update/Crc16.h"
#include "update/UpdateFile.h"

namespace sim {

BootloaderMode::BootloaderMode(BootloaderOptions options)
    : options_(std::move(options)), random_(options_.seed), chattering_(options_.chatterMs > 0) {}

std::optional<Clock::time_point> BootloaderMode::wakeAt() const {
    if (!chattering_) return std::nullopt;
    return nextChatter_;
}

void BootloaderMode::tick(Line& line) {
    if (!chattering_ || line.now() < nextChatter_) return;
    line.send(options_.chatterText);
    nextChatter_ = line.now() + std::chrono::milliseconds(options_.chatterMs);
}

bool BootloaderMode::chance(double rate) {
    if (rate <= 0) return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_) < rate;
}

// A settings request (text from "$" to "End:") is dropped unanswered, as a terminal in its
// bootloader leaves a configurator's read: a "$" never starts a record.
std::size_t BootloaderMode::skipSettingsRequest(const std::uint8_t* data, std::size_t length) {
    static constexpr std::string_view kRequestEnd = "End:";
    std::size_t used = 0;
    while (used < length && (inRequest_ || (pending_.empty() && data[used] == '$'))) {
        if (!inRequest_) {
            std::lock_guard lock(lock_);
            ++settingsRequests_;
        }
        inRequest_ = true;
        requestTail_.push_back(static_cast<char>(data[used++]));
        if (requestTail_.size() > kRequestEnd.size()) requestTail_.erase(0, 1);
        if (requestTail_ == kRequestEnd) {
            inRequest_ = false;
            requestTail_.clear();
        }
    }
    return used;
}

void BootloaderMode::received(const std::uint8_t* data, std::size_t length, Line& line) {
    chattering_ = false;
    const std::size_t skipped = skipSettingsRequest(data, length);
    pending_.insert(pending_.end(), data + skipped, data + length);
    while (pending_.size() >= update::kLengthFieldSize) {
        const std::size_t L = pending_[0] * 256u + pending_[1];
        if (L == 0 || L > update::kMaxRecordLength) {
            // Not a record (a lost sync): refuse it and start afresh.
            pending_.clear();
            line.send(std::string(1, static_cast<char>(options_.rejectByte)));
            return;
        }
        if (pending_.size() < update::kLengthFieldSize + L) return;
        const std::vector<std::uint8_t> record(pending_.begin(),
                                               pending_.begin() + static_cast<long>(L + 2));
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(L + 2));
        handleRecord(record, line);
    }
}

void BootloaderMode::handleRecord(const std::vector<std::uint8_t>& record, Line& line) {
    unsigned n;
    {
        std::lock_guard lock(lock_);
        n = ++received_;
        records_.push_back(record);
    }
    if (n == options_.unplugAtRecord) {
        line.unplug();
        return;
    }
    const bool crcOk = update::crc16Register(record.data() + 2, record.size() - 2) == 0;
    const bool accept = crcOk && !options_.rejectRecords.count(n) && !chance(options_.rejectRate);
    const bool silent = options_.silentRecords.count(n) || chance(options_.lossRate);
    const bool late =
        options_.lateMs > 0 && (options_.lateRecords.empty() || options_.lateRecords.count(n));

    if (accept) {
        std::lock_guard lock(lock_);
        ++accepted_;
        image_.insert(image_.end(), record.begin(), record.end());
    }
    if (silent) return;
    std::string answer(1, static_cast<char>(accept ? options_.acceptByte : options_.rejectByte));
    if (options_.doubleAnswerRecords.count(n)) answer += answer;
    const Clock::duration delay =
        late ? std::chrono::milliseconds(options_.lateMs) : Clock::duration::zero();
    if (options_.byteGapMs == 0) {
        line.send(answer, delay);
        return;
    }
    for (std::size_t i = 0; i < answer.size(); ++i)
        line.send(answer.substr(i, 1), delay + i * std::chrono::milliseconds(options_.byteGapMs));
}

unsigned BootloaderMode::recordsReceived() const {
    std::lock_guard lock(lock_);
    return received_;
}

unsigned BootloaderMode::recordsAccepted() const {
    std::lock_guard lock(lock_);
    return accepted_;
}

unsigned BootloaderMode::settingsRequestsIgnored() const {
    std::lock_guard lock(lock_);
    return settingsRequests_;
}

std::vector<std::uint8_t> BootloaderMode::image() const {
    std::lock_guard lock(lock_);
    return image_;
}

std::vector<std::vector<std::uint8_t>> BootloaderMode::records() const {
    std::lock_guard lock(lock_);
    return records_;
}

bool BootloaderMode::saveImage(const std::string& path) const {
    const std::vector<std::uint8_t> bytes = image();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace sim
