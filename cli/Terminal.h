#pragma once
// The dialogue with the terminal's settings firmware over a Link: a request goes out and the
// receptions that follow are gathered into one answer until the exchange rule
// (session/AnswerGathering) says it is over. Before a request goes out the line must have been
// quiet for one answer pause (session/ExchangeRules.h).
//
// Main thread only; it runs the event loop while it waits.
#include <chrono>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/EventLoop.h"
#include "cli/Link.h"
#include "protocol/ControlAccess.h"
#include "protocol/ParameterTable.h"
#include "session/ExchangeEnd.h"
#include "session/LateAnswer.h"

namespace cli {

struct Answer {
    using End = session::ExchangeEnd;
    End end = End::Silent;
    std::string bytes;  // every reception, appended (at most one receive buffer, 4096 bytes)
};

// Answer keys without "=", for messages: "TL1, IDCOD".
std::string keyList(std::span<const protocol::Parameter* const> parameters);

class Terminal {
  public:
    Terminal(Link& link, EventLoop& loop);

    Link& link() { return link_; }
    EventLoop& loop() { return loop_; }

    // Sends `request` and gathers its answer until every parameter of `expected` has arrived.
    Answer exchange(std::string_view request, std::span<const protocol::Parameter* const> expected);

    struct Reading {
        Answer::End end = Answer::End::Silent;
        std::vector<const protocol::Parameter*> missing;  // answer keys that did not come
        std::set<const protocol::Parameter*> answered;    // values the answer set
        std::string answer;                               // the answer's bytes as they came
    };
    // The read request of the Read buttons; the answer is parsed into `values`.
    Reading read(protocol::ControlAccess& values);

    // Waits until the line has kept quiet for one answer pause (or closed), dropping what
    // arrives meanwhile, and after an answer given up until its late answer had time to come
    // (session/LateAnswer.h); every request goes out after this.
    EventLoop::Outcome awaitQuietLine();

  private:
    Link& link_;
    EventLoop& loop_;
    session::LateAnswer late_;
};

// The IDCOD= text (UTF-8) a read's answer gave into `values`, if it gave one.
std::optional<std::string> identification(const Terminal::Reading& reading,
                                          const protocol::ControlAccess& values);

}  // namespace cli
