#pragma once
// A value given for one parameter on top of a configuration file (`vigil write --set`, a column of
// a batch's units file). The key is a parameter name ("ModulePhone", "ServerIp1") or an .abt key
// without its "=" ("TL9", "Ip1"), in any letter case. The value is UTF-8 and takes the form the
// key implies:
// - after a parameter name, the form a write request carries (the form `vigil read --format
//   json` prints): a text as it is, "0"/"1" for a flag, the item index digit for a list, the
//   press count "1"/"2" for AlarmPressCount, one hex digit for MicSensitivity;
// - after an .abt key, the form of the .abt file (AlarmPressCount as its item index "0"/"1"),
//   checked as a value of the file is.
// Only writable parameters can be set, and only to a value in their domain (session/ValueDomain.h):
// "REG=Z", "Coord=9" or "Sms1En=5" are refused, never bent into range.
#include <optional>
#include <string>
#include <string_view>

#include "protocol/ControlAccess.h"
#include "protocol/ParameterTable.h"

namespace session {

struct OverrideKey {
    const protocol::Parameter* parameter = nullptr;
    bool abtKey = false;  // the key named the .abt item, not the parameter
};

struct Override {
    const protocol::Parameter* parameter = nullptr;
    std::string wire;  // the value as a write request carries it (cp1251)
};

// nullopt with `error` set for an unknown or read-only key.
std::optional<OverrideKey> resolveOverrideKey(std::string_view key, std::string& error);
// nullopt with `error` set for a value the key's form does not allow.
std::optional<Override> makeOverride(const OverrideKey& key, std::string_view utf8Value,
                                     std::string& error);

void applyOverride(protocol::ControlAccess& values, const Override& override);

}  // namespace session
