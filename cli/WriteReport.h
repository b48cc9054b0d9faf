#pragma once
// How `write` and `restore` tell the end of a verified write, and the exit code it gives.
#include "cli/Session.h"
#include "cli/WriteVerify.h"

namespace cli {

int reportWriteOutcome(Session& session, const WriteOutcome& outcome);

}  // namespace cli
