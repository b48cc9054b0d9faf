#pragma once
// What each writable parameter accepts, whoever supplies the value: a configuration file, a
// units row, a --set on the command line. A value outside its parameter's domain is refused with
// a message naming the key and what it takes; it is never bent into range (the file reader of the
// windows bends "REG=Z" into F and "Coord=9" into the last item, which a write must not inherit).
//
// The domain, by value form:
// - a text: one line of Windows-1251 characters without ":" (it would end the item): no control
//   byte (line break, NUL), no 0x98 (no character in the code page);
// - a flag: "0" or "1";
// - a list or radio group: the index of one of its items ("/" no selection is no value to write);
//   the press count goes on the link as 1..2 and in a file as its index 0..1;
// - the microphone track bar: one hex digit 0-9, A-F (a-f taken as upper case).
#include <optional>
#include <string>
#include <string_view>

#include "protocol/ParameterTable.h"

namespace session {

// `value` (cp1251 bytes) in `form` (the parameter's own form, or its file form) as a write request
// carries it; nullopt when it lies outside the parameter's domain.
std::optional<std::string> linkValue(const protocol::Parameter& p, protocol::ValueForm form,
                                     std::string_view value);

// What the parameter accepts in `form`, for messages: "0 or 1", "0 to 4", "one hex digit 0 to F".
std::string acceptedValues(const protocol::Parameter& p, protocol::ValueForm form);

// invalid value "Z" for MicSensitivity (REG): expected one hex digit 0 to F
// `shownValue` is UTF-8.
std::string invalidValueMessage(const protocol::Parameter& p, protocol::ValueForm form,
                                std::string_view shownValue);

// "GpsSleepMode (Coord)": the name, and the .abt key where it differs.
std::string parameterLabel(const protocol::Parameter& p);

// The .abt key without "=" ("TL1"), the name files and units rows know a parameter by.
std::string_view fileKeyName(const protocol::Parameter& p);

}  // namespace session
