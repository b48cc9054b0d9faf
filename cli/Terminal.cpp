#include "cli/Terminal.h"

#include <algorithm>
#include <cstdint>

#include "protocol/AssignmentRecorder.h"
#include "protocol/RequestBuilder.h"
#include "protocol/ResponseParser.h"
#include "protocol/TransmitBuffer.h"
#include "session/ExchangeRules.h"

namespace cli {
namespace {

constexpr std::size_t kAnswerCapacity = 4096;  // the windows' receive buffer

const std::uint8_t* bytesOf(std::string_view text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

// A line that echoes (an RS-485 adapter, a terminal with its echo on) carries the request back
// ahead of the answer. The echo is not the answer: taken for it, a write would be "verified"
// against the very values it sent. `heard` without the request's echo; empty while what came so
// far may still be the start of one.
std::string withoutEcho(const std::string& heard, std::string_view request) {
    if (heard.size() < request.size() && request.starts_with(heard)) return {};
    std::string answer = heard;
    if (const std::size_t at = answer.find(request); at != std::string::npos)
        answer.erase(at, request.size());
    return answer;
}

}  // namespace

std::vector<const protocol::Parameter*> missingAnswerKeys(
    std::string_view bytes, std::span<const protocol::Parameter* const> expected) {
    bytes = bytes.substr(0, kAnswerCapacity);
    const protocol::ItemScanner scanner(bytesOf(bytes), static_cast<std::uint16_t>(bytes.size()));
    std::vector<const protocol::Parameter*> missing;
    for (const protocol::Parameter* p : expected) {
        const std::uint16_t at = scanner.FindKey(p->answerKey);
        if (at == protocol::kKeyAbsent ||
            bytes.find(':', at + p->answerKey.size()) == std::string_view::npos)
            missing.push_back(p);
    }
    return missing;
}

std::span<const protocol::Parameter* const> allParameters() {
    static const std::vector<const protocol::Parameter*> all = [] {
        std::vector<const protocol::Parameter*> list;
        for (const protocol::Parameter& p : protocol::kParameters) list.push_back(&p);
        return list;
    }();
    return all;
}

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
    // the answer limit, and its answer is judged as any other.
    const auto outcome = loop_.runUntil(
        [&] { return !link_.isOpen() || Clock::now() >= lastByte + quiet; },
        Clock::now() + session::kAnswerLimit);
    link_.onReception = heard;
    return outcome;
}

Answer Terminal::exchange(std::string_view request,
                          std::span<const protocol::Parameter* const> expected) {
    using Clock = EventLoop::Clock;
    Answer answer;
    Clock::time_point lastByte{};
    bool lost = false;
    std::string heard;
    link_.onReception = [&](std::span<const std::uint8_t> bytes) {
        const std::size_t room = kAnswerCapacity + request.size() - heard.size();
        heard.append(reinterpret_cast<const char*>(bytes.data()), std::min(room, bytes.size()));
        answer.bytes = withoutEcho(heard, request).substr(0, kAnswerCapacity);
        if (!answer.bytes.empty()) lastByte = Clock::now();
    };
    link_.onLost = [&] { lost = true; };

    // Whatever an earlier request left on the line is not part of this answer.
    link_.discardPendingInput();
    if (awaitQuietLine() == EventLoop::Outcome::Interrupted) {
        answer.end = Answer::End::Interrupted;
    } else if (lost || !link_.send(request)) {
        answer.end = Answer::End::LinkLost;
    } else {
        const unsigned rate = link_.lineRate();
        const Clock::time_point sent = Clock::now();
        const auto firstByteBy =
            sent + session::kFirstByteTimeout + session::wireTime(request.size(), rate);
        const auto pause = session::answerPause(rate);
        const auto complete = [&] {
            return !answer.bytes.empty() && missingAnswerKeys(answer.bytes, expected).empty();
        };
        const auto over = [&] {
            if (lost || complete()) return true;
            const Clock::time_point now = Clock::now();
            if (answer.bytes.empty()) return now >= firstByteBy;
            return now >= lastByte + pause || answer.bytes.size() >= kAnswerCapacity;
        };
        const auto outcome = loop_.runUntil(over, sent + session::kAnswerLimit);
        if (outcome == EventLoop::Outcome::Interrupted) answer.end = Answer::End::Interrupted;
        else if (lost) answer.end = Answer::End::LinkLost;
        else if (complete()) answer.end = Answer::End::Complete;
        else if (answer.bytes.empty()) answer.end = Answer::End::Silent;
        else answer.end = Answer::End::Paused;
    }
    link_.onReception = nullptr;
    link_.onLost = nullptr;
    return answer;
}

Terminal::Reading Terminal::read(protocol::ControlAccess& values) {
    protocol::TransmitBuffer buffer;
    const auto request = protocol::composeRequest(values, protocol::mask::Read, buffer);
    const Answer answer = exchange(buffer.view(), allParameters());
    Reading reading;
    reading.end = answer.end;
    reading.bytes = answer.bytes;
    if (answer.bytes.empty()) {
        reading.missing.assign(allParameters().begin(), allParameters().end());
        return reading;
    }
    // A read empties every value first, as the Read buttons do; the answer fills them again.
    protocol::applyEmptying(values, request);
    protocol::AssignmentRecorder recorder(values);
    protocol::parseReception(bytesOf(answer.bytes), static_cast<std::uint16_t>(answer.bytes.size()),
                             recorder);
    reading.answered = recorder.assigned();
    reading.missing = missingAnswerKeys(answer.bytes, allParameters());
    return reading;
}

}  // namespace cli
