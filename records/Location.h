#pragma once
// Where the records live by default, and whether a team server is set.
#include <string>

namespace records {

// $XDG_DATA_HOME/vigil/records.sqlite, or ~/.local/share/vigil/records.sqlite when the
// variable is unset or not an absolute path.
std::string defaultRecordsPath();

// The team server's address from VIGIL_RECORDS (postgresql://… or postgres://…); empty when
// none is set. Any other text is returned in `error` and ignored.
std::string teamServerAddress(std::string& error);

}  // namespace records
