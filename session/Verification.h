#pragma once
// What checking a write against the terminal means, for both front ends.
//
// A sent value is verified when an answer brought it back equal; it differs when an answer
// brought back another value; it has no answer when nothing brought it back. A write is
// verified when every value it sent is. Values a file or the operator set meanwhile are no
// longer checked. Values are judged as they stand when the verdict is asked for, so a later
// answer counts over an earlier one.
//
// Whether a read-back comes first is the front end's option (ReadBack).
#include <set>
#include <utility>
#include <vector>

#include "protocol/WriteCheck.h"

namespace session {

enum class ReadBack {
    // The write's answer alone decides: a value it lacks has no answer. For a front end that
    // sends no requests of its own while it watches answers (the windows).
    None,
    // Values the write's answer lacks are read; and since an answer that disagrees may be the
    // late answer of an earlier request, a difference stands only when a read after it disagrees
    // too: a value that read leaves unanswered has no answer. For a front end that drives the
    // exchange itself (`vigil`).
    Confirm,
};

// What a check comes to: every value verified; some differ (those with no answer listed beside
// them); or none differs but some have no answer, which is a silent terminal, not a difference.
enum class Verdict { Verified, Differs, NoAnswer };

class Verification {
  public:
    using ParameterSet = std::set<const protocol::Parameter*>;

    Verification(protocol::ValueSnapshot sent, ReadBack readBack)
        : sent_(std::move(sent)), readBack_(readBack) {}

    // An answer (the write's own or a read-back) set these parameters.
    void answered(const ParameterSet& params) { answered_.insert(params.begin(), params.end()); }
    // A file or the operator set these: nothing to check there any more.
    void overwritten(const ParameterSet& params);
    bool anyAnswered() const { return !answered_.empty(); }
    // The values still to be checked, as they were sent.
    const protocol::ValueSnapshot& sent() const { return sent_; }

    // The parameters to read back before the verdict on `now` stands; empty: it stands.
    // Asked for in turn: first the values with no answer, then those that differ.
    std::vector<const protocol::Parameter*> nextReadBack(const protocol::ControlAccess& now);
    // Every value not verified in `now`: differing (actual set) or with no answer (actual empty).
    std::vector<protocol::ValueMismatch> mismatches(const protocol::ControlAccess& now) const;
    static Verdict verdictOf(const std::vector<protocol::ValueMismatch>& mismatches);

  private:
    enum class Step { Unanswered, Differing, Done };

    protocol::ValueSnapshot sent_;
    ReadBack readBack_;
    ParameterSet answered_;
    Step step_ = Step::Unanswered;
};

}  // namespace session
