#pragma once
// The window's driver of the exchange rule: what the requests on their way have emptied, what the
// terminal's answers have refilled, and when the answer is over.
//
// A read empties every parameter control and a write the controls it sends; the answer refills
// them. The watch keeps the values the controls held before (for a control emptied twice, the
// older one: the operator's), drops each as soon as an answer, a file or the operator sets its
// control again, and puts the rest back when the answer is overdue. A write is checked value by
// value (session::Verification, its answer alone deciding) once the answer has refilled
// everything it sent, or when the answer is over without it.
//
// When it is over is the exchange rule's (session/AnswerGathering) for the latest request, fed with
// every reception: the window sets its timer to deadline() and calls expire() when it fires. Only
// the latest request's keys or its time-out end the wait: a pause of the terminal does not, since
// the rest of the answer may still come.
//
// The terminal relates an answer to no particular request, so every refilled control counts for
// every request waiting for it, with one exception (session/LateAnswer.h): while an answer given
// up at a time-out may still come, the first value it brings for each control given up is taken
// as that late answer. It fills the control as any answer does but confirms no write sent since,
// which waits for an answer of its own. Main thread only; no Qt.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <vector>

#include "protocol/ControlAccess.h"
#include "protocol/RequestBuilder.h"
#include "protocol/WriteCheck.h"
#include "session/AnswerGathering.h"
#include "session/ExchangeRules.h"
#include "session/LateAnswer.h"
#include "session/Verification.h"

namespace session {

using ParameterSet = std::set<const protocol::Parameter*>;

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

    // The parameters whose values answer `request` (a read: all of them).
    static std::vector<const protocol::Parameter*> answeredTo(
        const protocol::ComposedRequest& request);

    // `request` (`requestBytes` long, at `bitsPerSecond`) has gone out at `at` and emptied its
    // controls; `before` holds their values just before.
    void sent(const protocol::ComposedRequest& request, const protocol::ValueSnapshot& before,
              std::size_t requestBytes, unsigned bitsPerSecond, Clock::time_point at);
    // The bytes of a reception that is an answer (the echo of a request is not), at `at`.
    void heard(std::span<const std::uint8_t> bytes, Clock::time_point at);
    // When the answer awaited is over if nothing more comes; none while nothing is awaited.
    std::optional<Clock::time_point> deadline() const;
    // An answer has set these controls at `at`.
    WatchReport answered(const ParameterSet& assigned, Clock::time_point at = Clock::now());
    // A file or the operator has set these controls: nothing to restore or check there.
    WatchReport overwritten(const ParameterSet& assigned);
    // The answer is overdue at `at`: puts back what is still empty and reports every waiting
    // request.
    WatchReport expire(Clock::time_point at = Clock::now());

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
    std::optional<AnswerGathering> answer_;  // of the latest request
    protocol::ValueSnapshot held_;           // one value per emptied control not yet set again
    ParameterSet owedLate_;                  // given up at a time-out; its answer may still come
    LateAnswer late_;
};

}  // namespace session
