#include "session/AnswerGathering.h"

#include <algorithm>

#include "protocol/ResponseParser.h"
#include "session/ExchangeRules.h"

namespace session {

const std::vector<const protocol::Parameter*>& everyParameter() {
    static const std::vector<const protocol::Parameter*> all = [] {
        std::vector<const protocol::Parameter*> list;
        for (const protocol::Parameter& p : protocol::kParameters) list.push_back(&p);
        return list;
    }();
    return all;
}

std::vector<const protocol::Parameter*> missingAnswerKeys(
    std::string_view bytes, std::span<const protocol::Parameter* const> expected) {
    bytes = bytes.substr(0, kAnswerCapacity);
    const protocol::ItemScanner scanner(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                        static_cast<std::uint16_t>(bytes.size()));
    std::vector<const protocol::Parameter*> missing;
    for (const protocol::Parameter* p : expected) {
        const std::uint16_t at = scanner.FindKey(p->answerKey);
        if (at == protocol::kKeyAbsent ||
            bytes.find(':', at + p->answerKey.size()) == std::string_view::npos)
            missing.push_back(p);
    }
    return missing;
}

AnswerGathering::AnswerGathering(std::span<const protocol::Parameter* const> expected,
                                 std::size_t requestBytes, unsigned bitsPerSecond,
                                 Clock::time_point sentAt)
    : expected_(expected.begin(), expected.end()),
      timeoutAt_(sentAt + std::chrono::milliseconds(answerTimeoutMs(
                              requestBytes, expectedAnswerBytes(expected), bitsPerSecond))),
      firstByteBy_(sentAt +
                   std::chrono::milliseconds(answerTimeoutMs(requestBytes, 0, bitsPerSecond))),
      pause_(answerPause(bitsPerSecond)) {}

void AnswerGathering::take(std::span<const std::uint8_t> bytes, Clock::time_point at) {
    const std::size_t room = kAnswerCapacity - bytes_.size();
    bytes_.append(reinterpret_cast<const char*>(bytes.data()), std::min(room, bytes.size()));
    lastByte_ = at;
    complete_ = !bytes_.empty() && missingAnswerKeys(bytes_, expected_).empty();
}

Clock::time_point AnswerGathering::deadline() const {
    if (complete_) return lastByte_;
    if (!silenceEnds_) return timeoutAt_;
    if (bytes_.size() >= kAnswerCapacity) return lastByte_;
    if (bytes_.empty()) return std::min(firstByteBy_, timeoutAt_);
    return std::min(lastByte_ + pause_, timeoutAt_);
}

AnswerGathering::End AnswerGathering::end() const {
    if (complete_) return End::Complete;
    return bytes_.empty() ? End::Silent : End::Paused;
}

}  // namespace session
