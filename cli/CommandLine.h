#pragma once
// The options of one command: "--name value", "--name=value" or a switch "--name"; "-h" is
// "--help"; "--" ends the options. Anything else not starting with "-" is positional.
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct OptionSpec {
    std::string_view name;  // without the leading "--"
    bool takesValue;
    bool repeatable = false;
};

struct CommandLine {
    std::map<std::string, std::vector<std::string>, std::less<>> values;
    std::vector<std::string> positional;
    bool help = false;

    bool has(std::string_view name) const { return values.find(name) != values.end(); }
    // The value of an option given once; nullopt when absent.
    std::optional<std::string> value(std::string_view name) const;
    const std::vector<std::string>& all(std::string_view name) const;
};

// nullopt with `error` set for an unknown option, a missing value or an option given twice.
std::optional<CommandLine> parseCommandLine(std::span<const std::string> args,
                                            std::span<const OptionSpec> specs, std::string& error);

// "COM3", "com3" or "3": the port number; nullopt for anything else.
std::optional<int> parseComPort(std::string_view text);
// A whole decimal number without sign; nullopt otherwise or when it does not fit an int.
std::optional<int> parseCount(std::string_view text);

}  // namespace cli
