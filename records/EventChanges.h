#pragma once
// What an event in a unit's history changed, as the journal shows it beside the event.
#include <cstddef>
#include <span>
#include <vector>

#include "records/Event.h"

namespace records {

// The values of `events[index]` that differ from the newest earlier event holding the unit's
// settings (before: that event's value, after: this one's), in this event's order. When no earlier
// event holds them, the event's own differences (for a write: what was sent and not taken).
// `events` is the unit's history, oldest first.
std::vector<Difference> changesOf(std::span<const Event> events, std::size_t index);

}  // namespace records
