#include "session/WriteOutcome.h"

#include "session/Verification.h"

namespace session {

void WriteOutcome::judge(std::vector<protocol::ValueMismatch> notVerified) {
    mismatches = std::move(notVerified);
    switch (Verification::verdictOf(mismatches)) {
        case Verdict::Verified:
            status = Status::Agreed;
            break;
        case Verdict::Differs:
            status = Status::Differs;
            break;
        case Verdict::NoAnswer:  // a read-back the terminal left unanswered
            status = Status::Unanswered;
            end = ExchangeEnd::Silent;
            break;
    }
}

std::vector<std::string> mismatchLines(const std::vector<protocol::ValueMismatch>& mismatches) {
    std::vector<std::string> lines;
    for (const protocol::ValueMismatch& m : mismatches) lines.push_back(protocol::mismatchLine(m));
    return lines;
}

std::vector<std::string> attemptDifferences(const WriteOutcome& outcome) {
    switch (outcome.status) {
        case WriteOutcome::Status::Agreed:
            return {};
        case WriteOutcome::Status::Differs:
            return mismatchLines(outcome.mismatches);
        case WriteOutcome::Status::Refused:
            return {outcome.refusal};
        case WriteOutcome::Status::Unanswered:
            break;
    }
    return {outcome.end == ExchangeEnd::Interrupted ? "прервано (Ctrl+C)" : "нет ответа"};
}

}  // namespace session
