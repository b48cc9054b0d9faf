#pragma once
// The simulator's command line, parsed into the options of its modes.
#include <optional>
#include <string>
#include <vector>

#include "tools/BootloaderMode.h"
#include "tools/SettingsMode.h"

namespace sim {

struct SimOptions {
    std::string mode = "settings";  // "settings", "boot" or "terminal" (both, as the real one)
    std::string device;             // open this device instead of creating a pty
    int mapNumber = 0;              // add the pty to the COM port map under this number
    unsigned bitsPerSecond = 0;     // line-rate model (0: as fast as the pty goes)
    std::string settingsFile;       // loaded at start when it exists, saved at exit
    std::string imageOut;           // the bootloader's received image, written at exit
    SettingsOptions settings;
    BootloaderOptions boot;
};

// nullopt with *error set for a bad command line.
std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args, std::string* error);
extern const char* const kSimUsage;

}  // namespace sim
