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

using session::mismatchLines;

}  // namespace cli
