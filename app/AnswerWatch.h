#pragma once
// What the requests on their way have emptied, and what the terminal's answers have refilled.
//
// A read empties every parameter control and a write the controls it sends; the answer refills
// them. The watch keeps the values the controls held before (for a control emptied twice, the
// older one: the operator's), drops each as soon as an answer, a file or the operator sets its
// control again, and puts the rest back when the answer is overdue. A write is checked value by
// value (session::Verification, its answer alone deciding) once the answer has refilled
// everything it sent, or at the time-out.
//
// The terminal relates an answer to no particular request, so every refilled control counts for
// every request waiting for it. Main thread only; no Qt.
#include <cstddef>
#include <set>
#include <vector>

#include "protocol/ControlAccess.h"
#include "protocol/RequestBuilder.h"
#include "protocol/WriteCheck.h"
#include "session/AnswerGathering.h"
#include "session/ExchangeRules.h"
#include "session/Verification.h"

namespace app {

using ParameterSet = std::set<const protocol::Parameter*>;

// The exchange rule's parts the window drives: every parameter (a Read's answer), and the bound
// on an answer (session/ExchangeRules.h).
using session::answerTimeoutMs;
using session::everyParameter;
using session::expectedAnswerBytes;

// What to tell the operator after an answer or a time-out.
struct WatchReport {
    std::vector<protocol::ValueMismatch> mismatches;  // of writes: differing or unanswered values
    std::set<int> confirmedTabs;                      // tabs of writes whose every value came back
    std::set<int> restoredTabs;                       // tabs whose emptied values were put back
    bool silent = false;                              // a request got no answer at all
    protocol::ValueSnapshot sent;                     // the values of the writes reported above
};

class AnswerWatch {
  public:
    explicit AnswerWatch(protocol::ControlAccess& controls) : controls_(controls) {}

    // The parameters `request` empties (a read: all but the track bar; a write: what it sends).
    static std::vector<const protocol::Parameter*> emptiedBy(
        const protocol::ComposedRequest& request);

    // `request` has gone out and emptied its controls; `before` holds their values just before.
    void sent(const protocol::ComposedRequest& request, const protocol::ValueSnapshot& before);
    // An answer has set these controls.
    WatchReport answered(const ParameterSet& assigned);
    // A file or the operator has set these controls: nothing to restore or check there.
    WatchReport overwritten(const ParameterSet& assigned);
    // The answer is overdue: puts back what is still empty and reports every waiting request.
    WatchReport expire();

    bool waiting() const { return !pending_.empty(); }
    // Tabs of those `params` that a request has emptied and nothing has set again yet.
    std::set<int> stillEmptied(const std::vector<const protocol::Parameter*>& params) const;

  private:
    struct Pending {
        bool write = false;
        session::Verification check{{}, session::ReadBack::None};  // a write's values as sent
        ParameterSet awaited;                                      // emptied, not yet refilled
        std::set<int> tabs;
    };
    // Reports and forgets every request whose controls are all set again (all, when expired).
    WatchReport settle(bool expired);

    protocol::ControlAccess& controls_;
    std::vector<Pending> pending_;
    protocol::ValueSnapshot held_;  // one value per emptied control not yet set again
};

}  // namespace app
