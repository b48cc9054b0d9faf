#pragma once
// The windows' setting for the team's records server: the same address VIGIL_RECORDS takes,
// kept in the program's registry store (the variable, when set, takes precedence). A password is
// never kept: the libpq password file holds it.
#include <string>

namespace ui {

// The address kept, or "" when none is (or the store cannot be read).
std::string storedTeamAddress();

// Keeps `address` ("" removes the setting). Returns why it was refused, or "" when kept.
std::string storeTeamAddress(const std::string& address);

}  // namespace ui
