#include "cli/WriteVerify.h"

#include <algorithm>

#include "protocol/RequestBuilder.h"
#include "session/AnswerValues.h"
#include "session/Verification.h"

namespace cli {
namespace {

using Status = WriteOutcome::Status;

bool unanswered(Answer::End end) {
    return end == Answer::End::Silent || end == Answer::End::LinkLost ||
           end == Answer::End::Interrupted;
}

// Reads the terminal and takes its values of `wanted` that the read answered into `values`,
// leaving the others alone; false (with the outcome's end set) when the link went or Ctrl+C.
bool takeFromRead(Terminal& terminal, const std::vector<const protocol::Parameter*>& wanted,
                  protocol::ValueStore& values, session::Verification& check,
                  WriteOutcome& outcome) {
    protocol::ValueStore readBack;
    const Terminal::Reading reading = terminal.read(readBack);
    if (reading.end == Answer::End::Interrupted || reading.end == Answer::End::LinkLost) {
        outcome.end = reading.end;
        return false;
    }
    std::vector<const protocol::Parameter*> taken;
    for (const protocol::Parameter* p : wanted)
        if (reading.answered.count(p)) taken.push_back(p);
    protocol::restoreValues(values, protocol::snapshotValues(readBack, taken), {});
    check.answered({taken.begin(), taken.end()});
    if (auto idCod = identification(reading, readBack)) outcome.idCodAfter = std::move(idCod);
    return true;
}

}  // namespace

WriteOutcome writeAndVerify(Terminal& terminal, protocol::ValueStore& values) {
    WriteOutcome outcome;
    const std::vector<const protocol::Parameter*> groups =
        protocol::parametersOfMask(protocol::mask::WriteAll);
    session::Verification check(protocol::snapshotValues(values, groups),
                                session::ReadBack::Confirm);

    protocol::TransmitBuffer buffer;
    const auto request = protocol::composeRequest(values, protocol::mask::WriteAll, buffer);
    if (!request.ok) {
        outcome.status = Status::Refused;
        outcome.refusal = request.message;
        return outcome;
    }
    const Answer answer = terminal.exchange(buffer.view(), groups);
    outcome.end = answer.end;
    if (unanswered(answer.end)) return outcome;

    check.answered(session::takeAnswer(values, request, answer.bytes));
    // Reads as the check asks: for what the answer lacks, then to confirm any difference.
    for (auto wanted = check.nextReadBack(values); !wanted.empty();
         wanted = check.nextReadBack(values))
        if (!takeFromRead(terminal, wanted, values, check, outcome)) return outcome;
    outcome.judge(check.mismatches(values));
    return outcome;
}

AnsweringAfter answeringAfter(Terminal& terminal, const WriteOutcome& outcome) {
    if (outcome.idCodAfter) return {Answer::End::Complete, outcome.idCodAfter};
    protocol::ValueStore check;
    const Terminal::Reading reading = terminal.read(check);
    return {reading.end, identification(reading, check)};
}

}  // namespace cli
