#pragma once
// What a write checked against the terminal came to, as both the screen and a batch log report
// it: agreed; values differing (a difference confirmed, see session/Verification.h); refused
// before anything went out; or unanswered (the write or a read-back it needed got no answer, the
// link went, or the operator stopped it).
#include <optional>
#include <string>
#include <vector>

#include "protocol/WriteCheck.h"
#include "session/ExchangeEnd.h"

namespace session {

struct WriteOutcome {
    enum class Status { Agreed, Differs, Refused, Unanswered };
    Status status = Status::Unanswered;
    ExchangeEnd end = ExchangeEnd::Silent;            // Unanswered: silent, link lost, Ctrl+C
    std::string refusal;                              // why the request could not be composed
    std::vector<protocol::ValueMismatch> mismatches;  // Differs
    // The IDCOD= text (UTF-8) the last read-back after the write gave, when one gave it: the
    // terminal that answers since the write.
    std::optional<std::string> idCodAfter;

    // Sets the status from the check's values not verified (session::Verification::mismatches).
    void judge(std::vector<protocol::ValueMismatch> notVerified);
};

// The differences, one line each (UTF-8), as the windows name fields.
std::vector<std::string> mismatchLines(const std::vector<protocol::ValueMismatch>& mismatches);

// What a batch log's row says of the attempt: nothing when agreed, else one entry per difference,
// the refusal, or why nothing was confirmed.
std::vector<std::string> attemptDifferences(const WriteOutcome& outcome);

}  // namespace session
