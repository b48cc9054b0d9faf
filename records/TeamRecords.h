#pragma once
// A unit's records as the team knows them: the team server's united with this PC's, so a unit a
// colleague's PC recorded can be seen and restored here. An event both hold is shown once (by its
// UUID) and this PC's events not yet sent are included. A server that cannot be read leaves this
// PC's records and one line saying why, never quoting a password.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "records/SqlStore.h"

namespace records {

// What the team server gave; `problem` (and nothing else) when it could not be read.
struct ServerRead {
    std::vector<UnitSummary> units;
    std::vector<Event> events;
    std::string problem;
};

// The server's units, or the unit's events (every event when `unitId` is empty). A network call
// bounded by the store's connect and statement limits: never on a GUI thread.
ServerRead readServerUnits(const std::string& teamAddress);
ServerRead readServerEvents(const std::string& teamAddress, std::string_view unitId);

// Both lists as one, oldest first (by time, then UUID, as a store orders them).
std::vector<Event> unitedEvents(std::vector<Event> here, const std::vector<Event>& server);
// By identification code; the newer side names a unit's number, version and last result.
// `waitingHere`: this PC's events per unit not yet on the server.
std::vector<UnitSummary> unitedUnits(const std::vector<UnitSummary>& here,
                                     const std::vector<UnitSummary>& server,
                                     const std::map<std::string, std::int64_t>& waitingHere);

struct TeamEvents {
    std::vector<Event> events;
    std::string notice;  // why the server's were not read; empty when they were (or none is set)
};
struct TeamUnits {
    std::vector<UnitSummary> units;
    std::string notice;
};

// This PC's records united with the server's at `teamAddress` (none when empty). Throws
// StoreError only when this PC's cannot be read.
TeamEvents teamEvents(SqlStore& local, const std::string& teamAddress, std::string_view unitId);
TeamUnits teamUnits(SqlStore& local, const std::string& teamAddress);

}  // namespace records
