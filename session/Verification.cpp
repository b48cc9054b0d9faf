#include "session/Verification.h"

namespace session {

void Verification::overwritten(const ParameterSet& params) {
    std::erase_if(sent_,
                  [&](const protocol::SentValue& v) { return params.count(v.parameter) != 0; });
}

std::vector<const protocol::Parameter*> Verification::nextReadBack(
    const protocol::ControlAccess& now) {
    std::vector<const protocol::Parameter*> wanted;
    if (readBack_ == ReadBack::None) return wanted;
    if (step_ == Step::Unanswered) {
        step_ = Step::Differing;
        for (const protocol::SentValue& v : sent_)
            if (!answered_.count(v.parameter)) wanted.push_back(v.parameter);
        if (!wanted.empty()) return wanted;
    }
    if (step_ == Step::Differing) {
        step_ = Step::Done;
        for (const protocol::ValueMismatch& m : mismatches(now)) wanted.push_back(m.parameter);
        // Only the confirming read's answer counts for these now.
        for (const protocol::Parameter* p : wanted) answered_.erase(p);
    }
    return wanted;
}

Verdict Verification::verdictOf(const std::vector<protocol::ValueMismatch>& mismatches) {
    if (mismatches.empty()) return Verdict::Verified;
    for (const protocol::ValueMismatch& m : mismatches)
        if (m.actual) return Verdict::Differs;
    return Verdict::NoAnswer;
}

std::vector<protocol::ValueMismatch> Verification::mismatches(
    const protocol::ControlAccess& now) const {
    return protocol::verifyValues(sent_, now, answered_);
}

}  // namespace session
