#include "session/ExchangeRules.h"

namespace session {

std::size_t expectedAnswerBytes(std::span<const protocol::Parameter* const> answered) {
    std::size_t bytes = 0;
    for (const protocol::Parameter* p : answered)
        bytes += p->answerKey.size() + 1 +
                 (p->form == protocol::ValueForm::Text ? kTextValueBytesEstimate : 1);
    return bytes;
}

int answerTimeoutMs(std::size_t requestBytes, std::size_t answerBytes, unsigned bitsPerSecond) {
    const unsigned long long wireMs =
        platform::wireTimeMs(requestBytes + answerBytes, bitsPerSecond);
    return kAnswerTimeoutBaseMs + static_cast<int>(3 * wireMs);
}

}  // namespace session
