#pragma once
// One command of the program: its name, its options, its help text and what it does.
#include <span>
#include <string>
#include <string_view>

#include "cli/CommandLine.h"

namespace cli {

struct Command {
    std::string_view name;
    std::string_view summary;  // one line for the overview
    std::string_view help;     // the whole --help text
    std::span<const OptionSpec> options;
    int (*run)(const CommandLine& line);
};

extern const Command kPortsCommand;
extern const Command kReadCommand;
extern const Command kWriteCommand;
extern const Command kUploadCommand;
extern const Command kMonitorCommand;
extern const Command kBatchCommand;
extern const Command kHistoryCommand;
extern const Command kRestoreCommand;
extern const Command kRecordsCommand;

// Prints "vigil <command>: <message>" and a hint to --help; returns the bad-input exit code.
int usageError(std::string_view command, const std::string& message);

}  // namespace cli
