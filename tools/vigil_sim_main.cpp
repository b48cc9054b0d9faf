// vigil-sim: plays a Vigil terminal (settings firmware or bootloader) on a pty or a device.
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/ComPortMap.h"
#include "tools/SimOptions.h"
#include "tools/Simulator.h"
#include "tools/TerminalMode.h"

int main(int argc, char** argv) {
    std::string error;
    const auto options =
        sim::parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::fprintf(stderr, "vigil-sim: %s\n%s", error.c_str(), sim::kSimUsage);
        return 2;
    }

    // The engine thread inherits the blocked signals; the main thread waits for them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    sim::ParameterStore store;
    if (!options->settingsFile.empty()) store.load(options->settingsFile);
    std::unique_ptr<sim::SettingsMode> settings;
    std::unique_ptr<sim::BootloaderMode> boot;
    std::unique_ptr<sim::TerminalMode> terminal;
    sim::Mode* mode;
    if (options->mode == "terminal")
        mode = (terminal =
                    std::make_unique<sim::TerminalMode>(options->settings, options->boot, store))
                   .get();
    else if (options->mode == "boot")
        mode = (boot = std::make_unique<sim::BootloaderMode>(options->boot)).get();
    else
        mode = (settings = std::make_unique<sim::SettingsMode>(options->settings, store)).get();

    sim::Simulator simulator(*mode, options->bitsPerSecond);
    if (options->device.empty()) {
        const std::string path = simulator.createPty(&error);
        if (path.empty()) {
            std::fprintf(stderr, "vigil-sim: %s\n", error.c_str());
            return 1;
        }
        if (options->mapNumber) {
            platform::ComPortMap map;
            if (map.addMapping(path, options->mapNumber) == 0) {
                std::fprintf(stderr, "vigil-sim: cannot write the COM port map %s\n",
                             map.file().c_str());
                return 1;
            }
            std::printf("COM%d %s\n", options->mapNumber, map.file().c_str());
        }
        std::printf("PTY %s\n", path.c_str());
    } else if (!simulator.openDevice(options->device, &error)) {
        std::fprintf(stderr, "vigil-sim: %s\n", error.c_str());
        return 1;
    }
    std::fflush(stdout);

    simulator.start();
    int signal = 0;
    sigwait(&stopSignals, &signal);
    simulator.stop();

    if (settings && !options->settingsFile.empty()) settings->saveStore(options->settingsFile);
    if (terminal && !options->settingsFile.empty()) terminal->saveStore(options->settingsFile);
    if (boot && !options->imageOut.empty() && !boot->saveImage(options->imageOut)) {
        std::fprintf(stderr, "vigil-sim: cannot write %s\n", options->imageOut.c_str());
        return 1;
    }
    return 0;
}
