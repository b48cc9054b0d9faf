#include "records/Snapshot.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/Catalogue.h"
#include "protocol/Cp1251.h"
#include "protocol/ParameterTable.h"
#include "protocol/WriteCheck.h"

namespace records {

bool holdsSettings(const Event& e) {
    const bool answered = e.result == Result::Ok || e.result == Result::Differs;
    const bool kindHolds = e.kind == Kind::Read || e.kind == Kind::Compare ||
                           e.kind == Kind::Write || e.kind == Kind::Restore;
    return answered && kindHolds && !e.values.empty();
}

std::optional<std::string> snapshotTime(std::string_view typed) {
    std::string time(typed);
    if (time.ends_with('Z')) time.pop_back();
    if (time.size() > 10 && time[10] == ' ') time[10] = 'T';
    // Each position of "YYYY-MM-DDTHH:MM:SS" it reaches, ending after the day, hour, minutes or
    // seconds; every field within its range.
    static constexpr std::string_view kForm = "dddd-dd-ddTdd:dd:dd";
    if (time.size() != 10 && time.size() != 13 && time.size() != 16 && time.size() != 19)
        return std::nullopt;
    for (std::size_t i = 0; i < time.size(); ++i) {
        const bool digit = time[i] >= '0' && time[i] <= '9';
        if (kForm[i] == 'd' ? !digit : time[i] != kForm[i]) return std::nullopt;
    }
    const auto field = [&](std::size_t at) { return std::stoi(time.substr(at, 2)); };
    const bool inRange = field(5) >= 1 && field(5) <= 12 && field(8) >= 1 && field(8) <= 31 &&
                         (time.size() < 13 || field(11) < 24) &&
                         (time.size() < 16 || field(14) < 60) &&
                         (time.size() < 19 || field(17) < 60);
    if (!inRange) return std::nullopt;
    return time;
}

const Event* chooseSnapshot(std::span<const Event> events, const SnapshotRequest& request,
                            std::string& why) {
    std::size_t end = events.size();
    if (request.beforeErase) {
        while (end > 0 && events[end - 1].kind != Kind::Erase) --end;
        if (end == 0) {
            why = platform::translated("vigil", "the unit has no erase in its records");
            return nullptr;
        }
        --end;  // the erase itself
    }
    for (std::size_t i = end; i-- > 0;) {
        const Event& e = events[i];
        if (!request.at.empty() && e.atUtc.substr(0, request.at.size()) > request.at) continue;
        if (holdsSettings(e)) return &e;
    }
    why = request.beforeErase
              ? platform::translated("vigil", "no values were kept before the unit's latest erase")
          : request.at.empty()
              ? platform::translated("vigil", "no values of the unit are kept")
              : platform::withArgs(
                    platform::translated("vigil", "no values of the unit were kept by %1"),
                    {request.at});
    return nullptr;
}

bool applySnapshot(const Values& values, protocol::ControlAccess& controls, std::string& why) {
    // Every value checked before the first is applied: a refused snapshot changes nothing.
    std::vector<std::pair<const protocol::Parameter*, std::string>> wires;
    for (const protocol::Parameter& p : protocol::kParameters) {
        if (p.writeKey.empty()) continue;
        const auto kept = std::find_if(values.begin(), values.end(),
                                       [&](const auto& v) { return v.first == p.name; });
        if (kept == values.end()) {  // never blank what the snapshot does not hold
            why = platform::withArgs(platform::translated("vigil", "the kept values lack %1"),
                                     {p.name});
            return false;
        }
        const auto wire = protocol::toCp1251(kept->second);
        if (!wire) {
            why = platform::withArgs(
                platform::translated("vigil", "the kept value of %1 cannot be sent"), {p.name});
            return false;
        }
        wires.emplace_back(&p, std::move(*wire));
    }
    for (const auto& [p, wire] : wires) protocol::applyValue(controls, *p, wire);
    return true;
}

}  // namespace records
