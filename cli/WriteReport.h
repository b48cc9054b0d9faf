#pragma once
// How `write` and `restore` end: the verified write, its event in the records, what the operator
// is told and the exit code.
#include <string>

#include "cli/Session.h"
#include "cli/WriteVerify.h"
#include "records/Event.h"

namespace cli {

int reportWriteOutcome(Session& session, const WriteOutcome& outcome);

// Writes `values` and verifies them, closes the link, records the event (`kind`, the unit of
// `idCodText`) and reports as reportWriteOutcome.
int writeRecordAndReport(Session& session, records::Kind kind, const std::string& idCodText,
                         protocol::ValueStore& values);

}  // namespace cli
