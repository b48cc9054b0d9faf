#include "cli/Terminal.h"

#include <cstdint>
#include <optional>

#include "protocol/Cp1251.h"
#include "protocol/RequestBuilder.h"
#include "protocol/TransmitBuffer.h"
#include "session/AnswerGathering.h"
#include "session/AnswerValues.h"
#include "session/EchoFilter.h"
#include "session/ExchangeRules.h"

namespace cli {

std::string keyList(std::span<const protocol::Parameter* const> parameters) {
    std::string text;
    for (const protocol::Parameter* p : parameters) {
        if (!text.empty()) text += ", ";
        text += p->answerKey.substr(0, p->answerKey.size() - 1);
    }
    return text;
}

Terminal::Terminal(Link& link, EventLoop& loop) : link_(link), loop_(loop) {}

EventLoop::Outcome Terminal::awaitQuietLine() {
    using Clock = EventLoop::Clock;
    const auto quiet = session::answerPause(link_.lineRate());
    Clock::time_point lastByte = Clock::now();
    const auto heard = link_.onReception;
    link_.onReception = [&](std::span<const std::uint8_t>) { lastByte = Clock::now(); };
    // A line that never falls quiet is no reason to wait for ever: the request goes out after
    // the quiet line's limit, and its answer is judged as any other.
    const auto outcome = loop_.runUntil(
        [&] {
            const auto now = Clock::now();
            return !link_.isOpen() || (now >= lastByte + quiet && now >= late_.settledAt());
        },
        Clock::now() + session::kQuietLineLimit);
    link_.onReception = heard;
    return outcome;
}

Answer Terminal::exchange(std::string_view request,
                          std::span<const protocol::Parameter* const> expected) {
    using Clock = EventLoop::Clock;
    Answer answer;
    std::optional<session::AnswerGathering> gathering;
    bool lost = false;
    session::EchoFilter echo;
    echo.expect(request);
    link_.onReception = [&](std::span<const std::uint8_t> bytes) {
        if (!gathering) return;
        const std::string answerBytes = echo.pass(bytes);
        if (!answerBytes.empty())
            gathering->take(std::span(reinterpret_cast<const std::uint8_t*>(answerBytes.data()),
                                      answerBytes.size()),
                            Clock::now());
    };
    link_.onLost = [&] { lost = true; };

    // Whatever an earlier request left on the line is not part of this answer.
    link_.discardPendingInput();
    if (awaitQuietLine() == EventLoop::Outcome::Interrupted) {
        answer.end = Answer::End::Interrupted;
    } else if (lost || !link_.send(request)) {
        answer.end = Answer::End::LinkLost;
    } else {
        gathering.emplace(expected, request.size(), link_.lineRate(), Clock::now());
        const auto outcome = loop_.runUntil([&] { return lost || gathering->over(Clock::now()); },
                                            gathering->limit());
        answer.bytes = gathering->bytes();
        if (outcome == EventLoop::Outcome::Interrupted)
            answer.end = Answer::End::Interrupted;
        else if (lost)
            answer.end = Answer::End::LinkLost;
        else if (gathering->end() == session::AnswerGathering::End::Complete)
            answer.end = Answer::End::Complete;
        else if (gathering->end() == session::AnswerGathering::End::Silent)
            answer.end = Answer::End::Silent;
        else
            answer.end = Answer::End::Paused;
    }
    link_.onReception = nullptr;
    link_.onLost = nullptr;
    if (answer.end == Answer::End::Complete)
        late_.cameWhole();
    else
        late_.gaveUp(Clock::now());
    return answer;
}

Terminal::Reading Terminal::read(protocol::ControlAccess& values) {
    protocol::TransmitBuffer buffer;
    const auto request = protocol::composeRequest(values, protocol::mask::Read, buffer);
    const Answer answer = exchange(buffer.view(), session::everyParameter());
    Reading reading;
    reading.end = answer.end;
    reading.answer = answer.bytes;
    if (answer.bytes.empty()) {
        reading.missing.assign(session::everyParameter().begin(), session::everyParameter().end());
        return reading;
    }
    reading.answered = session::takeAnswer(values, request, answer.bytes);
    reading.missing = session::missingAnswerKeys(answer.bytes, session::everyParameter());
    return reading;
}

std::optional<std::string> identification(const Terminal::Reading& reading,
                                          const protocol::ControlAccess& values) {
    if (!reading.answered.count(&protocol::kIdCode)) return std::nullopt;
    return protocol::fromCp1251ForDisplay(values.text(protocol::kIdCode).value_or(""));
}

}  // namespace cli
