#pragma once
// A unit's history as the operator takes it away: lines to read, JSON for scripts (every field,
// values by parameter name as `vigil read --format json` gives them) and CSV for a spreadsheet
// (one row per event, without the values). `vigil history` and the journal window's export share
// it.
#include <span>
#include <string>

#include "records/Event.h"

namespace records {

std::string historyText(std::span<const Event> events);
std::string historyJson(std::span<const Event> events);
std::string historyCsv(std::span<const Event> events);

// Values by parameter name as one JSON object in their order, with its line end: what
// `vigil read --format json` prints, and what each event's values look like in historyJson.
std::string valuesJson(const Values& values);

}  // namespace records
