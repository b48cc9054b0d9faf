#pragma once
// Writing all four groups as the tool bar's "write all pages" button does (mask 0x0283), then
// checking that every value sent came back equal (session::Verification, with the read-back that
// fetches what the answer lacks and confirms a difference).
#include <string>
#include <vector>

#include "cli/Terminal.h"
#include "protocol/ValueStore.h"
#include "protocol/WriteCheck.h"

namespace cli {

struct WriteOutcome {
    enum class Status { Agreed, Differs, Refused, Unanswered };
    Status status = Status::Unanswered;
    Answer::End end = Answer::End::Silent;            // Unanswered: silent, link lost, Ctrl+C
    std::string refusal;                              // why the request could not be composed
    std::vector<protocol::ValueMismatch> mismatches;  // Differs
};

// `values` holds what is to be written; afterwards it holds what the terminal answered.
WriteOutcome writeAndVerify(Terminal& terminal, protocol::ValueStore& values);

// The differences, one line each (UTF-8), as the windows name fields.
std::vector<std::string> mismatchLines(const std::vector<protocol::ValueMismatch>& mismatches);

}  // namespace cli
