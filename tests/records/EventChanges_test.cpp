// What the journal shows beside an event: its values against the unit's settings before it.
#include "records/EventChanges.h"

#include <gtest/gtest.h>

namespace {

using records::Difference;
using records::Event;
using records::Kind;
using records::Result;

Event event(Kind kind, Result result, records::Values values) {
    Event e;
    e.kind = kind;
    e.result = result;
    e.values = std::move(values);
    return e;
}

TEST(EventChanges, AnEventIsSetAgainstTheNewestEarlierOneThatHeldTheSettings) {
    Event write = event(Kind::Write, Result::Differs, {{"Phone1", "+7"}, {"Apn", "b"}});
    write.differences = {{"Apn", "c", "b"}};
    const std::vector<Event> events = {
        write,  // the first: only what it sent and was not taken
        event(Kind::Read, Result::Ok, {{"Phone1", "+7"}, {"Apn", "a"}}),
        event(Kind::Read, Result::Silent, {}),  // holds nothing
        event(Kind::Upload, Result::Ok, {}),    // nor does an upload
        event(Kind::Read, Result::Ok, {{"Phone1", "+8"}, {"Apn", "a"}, {"Pin", "1"}}),
    };
    EXPECT_EQ(records::changesOf(events, 0), write.differences);
    EXPECT_EQ(records::changesOf(events, 1), (std::vector<Difference>{{"Apn", "b", "a"}}));
    EXPECT_EQ(records::changesOf(events, 4),
              (std::vector<Difference>{{"Phone1", "+7", "+8"}, {"Pin", "", "1"}}));
    EXPECT_TRUE(records::changesOf(events, 2).empty());
}

}  // namespace
