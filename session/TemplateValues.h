#pragma once
// A configuration file taken as what is to be written to a terminal. File -> Open applies
// whatever of a file it can and leaves the rest of the window as it was; a write from a file has
// no window behind it, so every writable value the file lacks would go out empty (or "/" for a
// list) and blank the terminal. Here the file's writable items are found as the file reader finds
// them (the key in any letter case, only where an item can start, the first one counting) and
// each is checked against its parameter's domain (session/ValueDomain.h).
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/ParameterTable.h"
#include "protocol/WriteCheck.h"

namespace session {

struct TemplateValues {
    protocol::ValueSnapshot values;                   // in link form, in file item order
    std::vector<const protocol::Parameter*> missing;  // writable parameters the file does not hold
    std::vector<std::string> invalid;                 // one message per value outside its domain
    std::vector<const protocol::Parameter*> invalidParameters;  // whose each message is
};

TemplateValues readTemplateValues(const std::uint8_t* data, std::uint16_t count);

// "TL2, TL3, GET1": .abt keys without "=".
std::string fileKeyList(const std::vector<const protocol::Parameter*>& parameters);

}  // namespace session
