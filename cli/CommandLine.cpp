#include "cli/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "cli/Texts.h"
#include "platform/Catalogue.h"

namespace cli {

std::optional<std::string> CommandLine::value(std::string_view name) const {
    auto it = values.find(name);
    if (it == values.end() || it->second.empty()) return std::nullopt;
    return it->second.front();
}

const std::vector<std::string>& CommandLine::all(std::string_view name) const {
    static const std::vector<std::string> none;
    auto it = values.find(name);
    return it == values.end() ? none : it->second;
}

std::optional<CommandLine> parseCommandLine(std::span<const std::string> args,
                                            std::span<const OptionSpec> specs, std::string& error) {
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            line.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            line.help = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0) {
            error = withArgs(platform::translated("vigil", "unknown option %1"), {arg});
            return std::nullopt;
        }
        const std::size_t eq = arg.find('=');
        const std::string name =
            arg.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
        auto known = std::find_if(specs.begin(), specs.end(),
                                  [&](const OptionSpec& s) { return s.name == name; });
        if (known == specs.end()) {
            error = withArgs(platform::translated("vigil", "unknown option --%1"), {name});
            return std::nullopt;
        }
        std::string value;
        if (known->takesValue) {
            if (eq != std::string::npos) {
                value = arg.substr(eq + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                error = withArgs(platform::translated("vigil", "--%1 needs a value"), {name});
                return std::nullopt;
            }
        } else if (eq != std::string::npos) {
            error = withArgs(platform::translated("vigil", "--%1 takes no value"), {name});
            return std::nullopt;
        }
        auto& slot = line.values[name];
        if (!slot.empty() && !known->repeatable) {
            error = withArgs(platform::translated("vigil", "--%1 is given twice"), {name});
            return std::nullopt;
        }
        slot.push_back(value);
    }
    return line;
}

std::optional<int> parseCount(std::string_view text) {
    int n = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, n);
    if (text.empty() || ec != std::errc() || ptr != end || n < 0) return std::nullopt;
    return n;
}

std::optional<int> parseComPort(std::string_view text) {
    if (text.size() > 3 && std::toupper(static_cast<unsigned char>(text[0])) == 'C' &&
        std::toupper(static_cast<unsigned char>(text[1])) == 'O' &&
        std::toupper(static_cast<unsigned char>(text[2])) == 'M')
        text.remove_prefix(3);
    auto n = parseCount(text);
    if (!n || *n < 1) return std::nullopt;
    return n;
}

}  // namespace cli
