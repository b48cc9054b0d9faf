#pragma once
// A fresh event stamped with what the machine knows: a random UUID, the time now in UTC, the
// operator's login and the host name.
#include <string_view>
#include <vector>

#include "protocol/ControlAccess.h"
#include "protocol/WriteCheck.h"
#include "records/Event.h"

namespace records {

Event newEvent(Kind kind, std::string_view program, std::string_view command);

// "2026-11-12T09:30:00.125Z" for now.
std::string utcNow();

// A random (version 4) UUID in its lower-case text form.
std::string randomUuid();

// Every parameter with its value as a request or an answer carries it, by parameter name
// (UTF-8), in table order: the form `vigil read --format json` prints.
Values valuesOf(const protocol::ControlAccess& controls);

// The terminal's answered values into the event, with the unit, its version and own number.
void setTerminalValues(Event& event, const protocol::ControlAccess& terminal);

// Values as a write sent them, by parameter name (UTF-8), in the order sent.
Values valuesOf(const protocol::ValueSnapshot& sent);

// Values sent and not taken back as differences (sent before, answered after; UTF-8).
std::vector<Difference> differencesOf(const std::vector<protocol::ValueMismatch>& mismatches);

}  // namespace records
