#pragma once
// Where the records live by default, and whether a team server is set.
#include <string>
#include <string_view>

namespace records {

// $XDG_DATA_HOME/vigil/records.sqlite, or ~/.local/share/vigil/records.sqlite when the
// variable is unset or not an absolute path.
std::string defaultRecordsPath();

// The team server's address from VIGIL_RECORDS (postgresql://… or postgres://…), else `stored`
// (the windows' own setting); empty when neither is set. Any other text, and an address holding
// a password, is told in `error` (never quoting it) and not used.
std::string teamServerAddress(std::string& error, const std::string& stored = {});

// Why `address` may not be kept as the team server's setting, or "" when it may: not a
// postgresql:// address, or one that carries a password (in its user part or as password=).
std::string unstorableTeamAddress(std::string_view address);

}  // namespace records
