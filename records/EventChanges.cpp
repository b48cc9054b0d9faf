#include "records/EventChanges.h"

#include "records/Snapshot.h"

namespace records {

std::vector<Difference> changesOf(std::span<const Event> events, std::size_t index) {
    const Event& event = events[index];
    for (std::size_t i = index; i-- > 0;) {
        if (!holdsSettings(events[i])) continue;
        std::vector<Difference> changes;
        for (const auto& [name, value] : event.values) {
            const std::string old = valueOf(events[i].values, name);
            if (old != value) changes.push_back({name, old, value});
        }
        return changes;
    }
    return event.differences;
}

}  // namespace records
