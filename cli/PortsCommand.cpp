// vigil ports: the COM port map the windows use, with each device's presence.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "cli/Command.h"
#include "cli/ExitCodes.h"
#include "cli/Texts.h"
#include "platform/Catalogue.h"
#include "platform/ComPortMap.h"

namespace cli {
namespace {

constexpr std::string_view kHelp = VIGIL_TRANSLATABLE(
    "vigil",
    "usage: vigil ports\n\n"
    "Lists the COM port map (VIGIL_COMPORT_MAP, or ~/.config/vigil/comports): each COM<n>\n"
    "with its device, the adapter's product name, and whether the device is present now.\n"
    "Serial adapters seen for the first time get the next free number, as in the windows.\n\n"
    "exit codes: 0 listed\n");

bool present(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

int runPorts(const CommandLine& line) {
    if (!line.positional.empty())
        return usageError("ports", platform::translated("vigil", "takes no arguments"));
    platform::ComPortMap map;
    const std::vector<platform::ComPortEntry> ports = map.listPorts();
    if (ports.empty()) {
        std::fputs(withArgs(platform::translated("vigil", "No serial ports are known (map: %1).\n"),
                            {map.file()})
                       .c_str(),
                   stdout);
        return kExitOk;
    }
    std::size_t pathWidth = 0, nameWidth = 0;
    for (const auto& p : ports) {
        pathWidth = std::max(pathWidth, p.devicePath.size());
        nameWidth = std::max(nameWidth, p.description.empty() ? 1 : p.description.size());
    }
    for (const auto& p : ports)
        std::printf("%-6s %-*s  %-*s  %s\n", p.name.c_str(), static_cast<int>(pathWidth),
                    p.devicePath.c_str(), static_cast<int>(nameWidth),
                    p.description.empty() ? "-" : p.description.c_str(),
                    (present(p.devicePath) ? platform::translated("vigil", "present")
                                           : platform::translated("vigil", "absent"))
                        .c_str());
    return kExitOk;
}

}  // namespace

const Command kPortsCommand{
    "ports",
    VIGIL_TRANSLATABLE("vigil", "the COM port map: devices, adapters, presence"),
    kHelp,
    {},
    runPorts};

}  // namespace cli
