#pragma once
// The configuration file (".abt") that `write` and `batch` send, checked before anything is sent:
// every value must lie in its parameter's domain, and the file must hold every writable value, or
// the write would blank the rest of the terminal. With --keep-unlisted a file may hold fewer: the
// terminal's own values, read first, are kept for the others (and verified like the file's).
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/ValueStore.h"
#include "session/TemplateValues.h"

namespace cli {

inline constexpr std::string_view kKeepUnlistedOption = "keep-unlisted";

struct ConfigurationFile {
    session::TemplateValues file;
    // Whether the terminal's values are to be read first, for what the file lacks.
    bool needsTerminalValues() const { return !file.missing.empty(); }
    // The values to write: the file's over `terminal` (the terminal's own values, read just before;
    // needed only when the file lacks some).
    protocol::ValueStore valuesOver(const protocol::ValueStore& terminal) const;
    // One message for each value to be kept (one the file lacks and `given` does not supply)
    // that the terminal's read answer holds outside its parameter's domain. Read into a field it
    // would be bent (a box unticked, a list left unselected) and written back changed.
    std::vector<std::string> unkeepable(std::string_view terminalAnswer,
                                        const std::set<const protocol::Parameter*>& given) const;
};

// nullopt with `error` set (UTF-8, naming the file) when the file is not an ".abt" file or not a
// regular file, cannot be read, is longer than 4096 bytes, holds a value outside its domain, or,
// unless `keepUnlisted`, lacks a writable value (the missing keys listed). A value the command
// line supplies for every unit (`supplied`) is not missing.
std::optional<ConfigurationFile> readConfigurationFile(
    const std::string& path, bool keepUnlisted,
    const std::set<const protocol::Parameter*>& supplied, std::string& error);

}  // namespace cli
