#include "session/AnswerWatch.h"

#include <algorithm>
#include <utility>

namespace session {
namespace {

using protocol::Parameter;

bool holds(const protocol::ValueSnapshot& values, const Parameter* p) {
    return std::any_of(values.begin(), values.end(),
                       [p](const protocol::SentValue& v) { return v.parameter == p; });
}

void dropAll(protocol::ValueSnapshot& values, const ParameterSet& set) {
    std::erase_if(values,
                  [&](const protocol::SentValue& v) { return set.count(v.parameter) != 0; });
}

}  // namespace

std::vector<const Parameter*> AnswerWatch::emptiedBy(const protocol::ComposedRequest& request) {
    if (!request.ok) return {};
    std::vector<const Parameter*> emptied;
    if (request.clearsAll) {
        for (const Parameter* p : protocol::kReadClearingTexts) emptied.push_back(p);
        for (const Parameter* p : protocol::kReadClearingLists) emptied.push_back(p);
        for (const Parameter* p : protocol::kCheckBoxList) emptied.push_back(p);
    }
    emptied.insert(emptied.end(), request.sent.begin(), request.sent.end());
    return emptied;
}

std::vector<const Parameter*> AnswerWatch::answeredTo(const protocol::ComposedRequest& request) {
    return request.clearsAll ? everyParameter() : request.sent;
}

void AnswerWatch::sent(const protocol::ComposedRequest& request,
                       const protocol::ValueSnapshot& before, std::size_t requestBytes,
                       unsigned bitsPerSecond, Clock::time_point at) {
    const std::vector<const Parameter*> emptied = emptiedBy(request);
    if (emptied.empty()) return;  // commands: no particular answer is awaited
    // The latest request sets the deadline: the terminal answers in the order it was asked.
    answer_.emplace(answeredTo(request), requestBytes, bitsPerSecond, at);
    answer_->waitOutPauses();
    Pending p;
    p.write = !request.clearsAll;
    for (const Parameter* q : emptied) {
        p.awaited.insert(q);
        p.tabs.insert(q->tab);
    }
    if (p.write) p.check = session::Verification(before, session::ReadBack::None);
    // The track bar keeps its position: nothing to put back there.
    for (const protocol::SentValue& v : before)
        if (v.parameter->kind != protocol::ControlKind::TrackBar && !holds(held_, v.parameter))
            held_.push_back(v);
    pending_.push_back(std::move(p));
}

void AnswerWatch::heard(std::span<const std::uint8_t> bytes, Clock::time_point at) {
    if (answer_) answer_->take(bytes, at);
}

std::optional<Clock::time_point> AnswerWatch::deadline() const {
    if (!waiting() || !answer_) return std::nullopt;
    return answer_->deadline();
}

std::set<int> AnswerWatch::stillEmptied(const std::vector<const Parameter*>& params) const {
    std::set<int> tabs;
    for (const Parameter* p : params)
        if (holds(held_, p)) tabs.insert(p->tab);
    return tabs;
}

WatchReport AnswerWatch::answered(const ParameterSet& assigned, Clock::time_point at) {
    ParameterSet late;
    if (late_.mayArriveAt(at))
        for (const Parameter* q : assigned)
            if (owedLate_.erase(q)) late.insert(q);
    dropAll(held_, assigned);
    for (Pending& p : pending_) {
        for (const Parameter* q : assigned) {
            if (p.write && late.count(q)) continue;  // the late answer of an earlier request
            if (p.awaited.erase(q)) p.check.answered({q});
        }
    }
    return settle(false);
}

WatchReport AnswerWatch::overwritten(const ParameterSet& assigned) {
    dropAll(held_, assigned);
    for (Pending& p : pending_) {
        for (const Parameter* q : assigned) p.awaited.erase(q);
        p.check.overwritten(assigned);
    }
    return settle(false);
}

WatchReport AnswerWatch::expire(Clock::time_point at) {
    if (!late_.mayArriveAt(at)) owedLate_.clear();
    for (const Pending& p : pending_) owedLate_.insert(p.awaited.begin(), p.awaited.end());
    late_.gaveUp(at);
    WatchReport report;
    for (const protocol::SentValue& v : held_) report.restoredTabs.insert(v.parameter->tab);
    // Cleared first: restoring sets controls, and nothing of this watch may be half-updated then.
    const protocol::ValueSnapshot restore = std::exchange(held_, {});
    protocol::restoreValues(controls_, restore, {});
    WatchReport settled = settle(true);
    settled.restoredTabs = std::move(report.restoredTabs);
    return settled;
}

WatchReport AnswerWatch::settle(bool expired) {
    WatchReport report;
    std::vector<Pending> open;
    for (Pending& p : pending_) {
        if (!expired && !p.awaited.empty()) {
            open.push_back(std::move(p));
            continue;
        }
        if (!p.check.anyAnswered() && !p.awaited.empty()) {
            report.silent = true;
            continue;
        }
        // A write that nothing answered confirms nothing, even when a file or the terminal's
        // values have since replaced everything it sent.
        if (!p.write || !p.check.anyAnswered()) continue;
        std::vector<protocol::ValueMismatch> wrong = p.check.mismatches(controls_);
        report.sent.insert(report.sent.end(), p.check.sent().begin(), p.check.sent().end());
        if (wrong.empty())
            report.confirmedTabs.insert(p.tabs.begin(), p.tabs.end());
        else
            report.mismatches.insert(report.mismatches.end(), wrong.begin(), wrong.end());
    }
    pending_ = std::move(open);
    if (pending_.empty()) answer_.reset();
    return report;
}

}  // namespace session
