#pragma once
// A batch's units file: a header row with "unit" first and then parameter names or .abt keys
// (as --set takes them), and one row per unit with its label and its own values. An empty cell
// keeps the template's value for that unit.
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "session/ValueOverride.h"

namespace session {

struct Unit {
    std::string label;
    std::vector<Override> values;
};

// nullopt with `error` set (naming the line) for a file that cannot be read, a header without
// "unit" first, an unknown or read-only column, a row with too few or too many cells, a value its
// column does not allow, or a label given twice.
std::optional<std::vector<Unit>> readUnitsFile(const std::string& path, std::string& error);
// The same for the file's text; `path` names it in the error.
std::optional<std::vector<Unit>> parseUnitsFile(std::string_view text, const std::string& path,
                                                std::string& error);

// The parameters every unit gives a value for (a template may lack them); none without units.
std::set<const protocol::Parameter*> suppliedByEveryUnit(const std::vector<Unit>& units);

}  // namespace session
