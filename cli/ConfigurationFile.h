#pragma once
// The configuration file (".abt") that `write` and `batch` send, checked before anything is sent:
// every value must lie in its parameter's domain, and the file must hold every writable value, or
// the write would blank the rest of the terminal. With --keep-unlisted a file may hold fewer: the
// terminal's own values, read first, are kept for the others (and verified like the file's).
#include <optional>
#include <set>
#include <string>

#include "cli/Texts.h"
#include "protocol/ValueStore.h"
#include "session/TemplateValues.h"

namespace cli {

inline constexpr std::string_view kKeepUnlistedOption = "keep-unlisted";

struct ConfigurationFile {
    session::TemplateValues file;
    // Whether the terminal's values are to be read first, for what the file lacks.
    bool needsTerminalValues() const { return !file.missing.empty(); }
    // "" when every value kept from the terminal's `answer` (parsed into `terminal`) would be
    // written back as it came;
    // else, on one line, each key whose value the answer parse would bend, and that nothing was
    // sent; worded for the screen or for the batch log.
    std::string keptValuesProblem(std::string_view answer, const protocol::ValueStore& terminal,
                                  TextFor where) const;
};

// nullopt with `error` set (UTF-8, naming the file) when the file is not an ".abt" file or not a
// regular file, cannot be read, is longer than 4096 bytes, holds a value outside its domain, or,
// unless `keepUnlisted`, lacks a writable value (the missing keys listed). A value the command
// line supplies for every unit (`supplied`) is not missing.
std::optional<ConfigurationFile> readConfigurationFile(
    const std::string& path, bool keepUnlisted,
    const std::set<const protocol::Parameter*>& supplied, std::string& error);

}  // namespace cli
