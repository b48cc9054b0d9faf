#pragma once
// Choosing the event a unit is restored from, and putting its values back into controls.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "protocol/ControlAccess.h"
#include "records/Event.h"

namespace records {

// Whether the event holds the terminal's whole settings as it answered them: a read, comparison,
// write or restore that came back (ok or with differences).
bool holdsSettings(const Event& event);

struct SnapshotRequest {
    std::string at;  // the newest snapshot not later than this time ("2026-11-12",
                     // "2026-11-12T10:30"; a shorter time covers all it names); empty: newest
    bool beforeErase = false;  // the newest snapshot taken before the unit's latest erase
};

// A time as an operator types it ("2026-11-12", "2026-11-12 10:30", "2026-11-12T10:30:15Z") in
// the form the events' times begin with ("2026-11-12T10:30"); nullopt for anything else, which
// would otherwise compare as some other time.
std::optional<std::string> snapshotTime(std::string_view typed);

// From a unit's events, oldest first; nullptr with `why` set when none fits.
const Event* chooseSnapshot(std::span<const Event> events, const SnapshotRequest& request,
                            std::string& why);

// Puts every writable value of the event into `controls` (UTF-8 back to Windows-1251). False
// with `why` naming the parameter when a value cannot be carried.
bool applySnapshot(const Values& values, protocol::ControlAccess& controls, std::string& why);

}  // namespace records
