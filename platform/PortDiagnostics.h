#pragma once
// Why a serial device could not be opened, and what the operator can do about it: one line of
// Russian text (UTF-8) for the line under "Не могу открыть COM порт", the port window's status
// label and the command-line program.
//
// It looks only at what the system shows without opening the device: the device node, /proc (which
// process holds the device, whether ModemManager or brltty runs), UUCP lock files, the process's
// groups and /etc/group.
#include <string>
#include <vector>

namespace platform {

// Where the facts come from; tests point these at fake files.
struct DiagnosticSources {
    std::string proc = "/proc";
    std::string groupFile = "/etc/group";
    std::vector<std::string> lockDirs = {"/run/lock", "/var/lock"};
};

// The cause of a failed open of `devicePath` with errno `error`, and its fix, in one line.
// An empty path means that no device is mapped to the port.
std::string describeOpenFailure(const std::string& devicePath, int error,
                                const DiagnosticSources& sources = {});

// The first line of the open failure's message box, and the two lines together.
extern const char* const kOpenFailedText;
std::string openFailureMessage(const std::string& devicePath, int error);

// A terminal that did not answer on COM<n>: the port with its device (without "/dev/"), and
// what to check. Both the windows and `vigil` say it so.
std::string noAnswerText(int comNumber, const std::string& devicePath);

}  // namespace platform
