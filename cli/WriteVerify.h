#pragma once
// Writing all four groups as the tool bar's "write all pages" button does (mask 0x0283), then
// checking that every value sent came back equal (session::Verification, with the read-back that
// fetches what the answer lacks and confirms a difference).
#include <string>
#include <vector>

#include "cli/Terminal.h"
#include "protocol/ValueStore.h"
#include "protocol/WriteCheck.h"
#include "session/WriteOutcome.h"

namespace cli {

using session::WriteOutcome;

// `values` holds what is to be written; afterwards it holds what the terminal answered.
WriteOutcome writeAndVerify(Terminal& terminal, protocol::ValueStore& values);

// Who answers since the write: the read-back the check made, else a read of its own (`end` is
// that read's; Complete when the read-back answered already).
struct AnsweringAfter {
    Answer::End end = Answer::End::Complete;
    std::optional<std::string> idCod;
};
AnsweringAfter answeringAfter(Terminal& terminal, const WriteOutcome& outcome);

using session::mismatchLines;

}  // namespace cli
