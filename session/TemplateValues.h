#pragma once
// A configuration file taken as what is to be written to a terminal. File -> Open applies
// whatever of a file it can and leaves the rest of the window as it was; a write from a file has
// no window behind it, so every writable value the file lacks would go out empty (or "/" for a
// list) and blank the terminal. Here the file's writable items are found as the file reader finds
// them (the key in any letter case, only where an item can start, the first one counting) and
// each is checked against its parameter's domain (session/ValueDomain.h).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/ParameterTable.h"
#include "protocol/ValueStore.h"
#include "protocol/WriteCheck.h"
#include "session/ValueOverride.h"

namespace session {

struct TemplateValues {
    protocol::ValueSnapshot values;                   // in link form, in file item order
    std::vector<const protocol::Parameter*> missing;  // writable parameters the file does not hold
    std::vector<std::string> invalid;                 // one message per value outside its domain
};

TemplateValues readTemplateValues(const std::uint8_t* data, std::uint16_t count);

// What a write from a template sends: the template's values over `terminal` (the terminal's own,
// read just before; they matter only for what the template lacks), then each override in order.
protocol::ValueStore valuesToSend(const TemplateValues& file, const protocol::ValueStore& terminal,
                                  std::span<const Override> overrides);

// The answer parse bends a value outside its domain ("COORD=9" selects the last item, "REG=b" reads
// as F), so a value read and then written back, or saved to a file, would not be the terminal's.
// One message per parameter of `wanted` whose value in `answer` lies outside its domain or differs
// from what the parse put into `parsed`, naming the key; empty when each was taken as it came.
std::vector<std::string> bentAnswerValues(std::string_view answer,
                                          std::span<const protocol::Parameter* const> wanted,
                                          const protocol::ControlAccess& parsed);

// "TL2, TL3, GET1": .abt keys without "=".
std::string fileKeyList(const std::vector<const protocol::Parameter*>& parameters);

}  // namespace session
