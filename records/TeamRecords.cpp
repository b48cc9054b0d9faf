#include "records/TeamRecords.h"

#include <algorithm>
#include <tuple>
#include <unordered_set>

namespace records {
namespace {

template <typename Read>
ServerRead fromServer(const std::string& teamAddress, Read read) {
    ServerRead out;
    try {
        const auto server = SqlStore::openPostgres(teamAddress);
        read(*server, out);
    } catch (const StoreError& e) {
        out = ServerRead{};
        out.problem = e.what();  // the store's messages never carry the password
    }
    return out;
}

}  // namespace

ServerRead readServerUnits(const std::string& teamAddress) {
    return fromServer(teamAddress, [](SqlStore& s, ServerRead& out) { out.units = s.units(); });
}

ServerRead readServerEvents(const std::string& teamAddress, std::string_view unitId) {
    return fromServer(teamAddress,
                      [unitId](SqlStore& s, ServerRead& out) { out.events = s.events(unitId); });
}

std::vector<Event> unitedEvents(std::vector<Event> here, const std::vector<Event>& server) {
    std::unordered_set<std::string> known;
    for (const Event& e : here) known.insert(e.uuid);
    for (const Event& e : server)
        if (known.insert(e.uuid).second) here.push_back(e);
    std::stable_sort(here.begin(), here.end(), [](const Event& a, const Event& b) {
        return std::tie(a.atUtc, a.uuid) < std::tie(b.atUtc, b.uuid);
    });
    return here;
}

std::vector<UnitSummary> unitedUnits(const std::vector<UnitSummary>& here,
                                     const std::vector<UnitSummary>& server,
                                     const std::map<std::string, std::int64_t>& waitingHere) {
    std::map<std::string, UnitSummary> byUnit;
    for (const UnitSummary& u : server) byUnit[u.unitId] = u;
    for (const UnitSummary& u : here) {
        const auto [at, isNew] = byUnit.try_emplace(u.unitId, u);
        if (isNew) continue;
        UnitSummary& kept = at->second;
        const auto waiting = waitingHere.find(u.unitId);
        // The server holds what this PC sent; what waits here is not there yet. Events kept here
        // before a team server was set are never sent, so this PC's own count is the least.
        const std::int64_t events =
            std::max(u.events, kept.events + (waiting == waitingHere.end() ? 0 : waiting->second));
        if (u.lastSeen > kept.lastSeen) kept = u;
        kept.events = events;
    }
    std::vector<UnitSummary> out;
    out.reserve(byUnit.size());
    for (auto& [id, u] : byUnit) out.push_back(std::move(u));
    return out;
}

TeamEvents teamEvents(SqlStore& local, const std::string& teamAddress, std::string_view unitId) {
    TeamEvents out{local.events(unitId), {}};
    if (teamAddress.empty()) return out;
    ServerRead server = readServerEvents(teamAddress, unitId);
    out.notice = std::move(server.problem);
    out.events = unitedEvents(std::move(out.events), server.events);
    return out;
}

TeamUnits teamUnits(SqlStore& local, const std::string& teamAddress) {
    TeamUnits out{local.units(), {}};
    if (teamAddress.empty()) return out;
    ServerRead server = readServerUnits(teamAddress);
    out.notice = std::move(server.problem);
    if (out.notice.empty())
        out.units = unitedUnits(out.units, server.units, local.pendingPerUnit());
    return out;
}

}  // namespace records
