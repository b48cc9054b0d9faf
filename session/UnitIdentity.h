#pragma once
// What makes a terminal the same unit from one connection to the next.
//
// A terminal answers "IDCOD=" with its identification code, its firmware version and the state
// of its EEPROM in one text ("004512 Версия 2.07 Eeprom OK"). Only the code is the unit: the
// version changes with every firmware update and the EEPROM state with an erase, and neither
// makes it another terminal. Every place that recognises a unit (the batch, the records, the
// status bar on connect) asks this function; the whole text is kept for display and logs.
#include <string>
#include <string_view>

namespace session {

// The identification code: the text up to its first blank (space, tab or line end). A text that
// starts with a blank holds no code; an empty identity matches no unit, not even another empty
// one, so a terminal that does not say who it is is never taken for one seen before.
std::string unitIdentity(std::string_view idCodText);

// Whether two IDCOD= texts name the same unit (both must have a code).
bool sameUnit(std::string_view idCodTextA, std::string_view idCodTextB);

}  // namespace session
