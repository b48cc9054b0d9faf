#pragma once
// What the command-line tests share: a private COM port map and registry, a scratch folder for
// files, and terminals played by the simulator on ptys mapped to COM numbers.
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "VigilProcess.h"
#include "protocol/Cp1251.h"
#include "support/PtyPair.h"
#include "support/ScratchFolder.h"
#include "tools/SettingsMode.h"
#include "tools/Simulator.h"

namespace testsupport {

// Any mode of the simulator (the settings firmware, a scripted one, the bootloader) behind a pty
// mapped to a COM number, serving from the moment it is built.
struct SimulatedLine {
    SimulatedLine(ComPortMapFile& map, int comNumber, sim::Mode& mode, unsigned bitsPerSecond = 0)
        : engine(mode, bitsPerSecond) {
        const std::string path = engine.createPty();
        EXPECT_FALSE(path.empty());
        map.map(path, comNumber);
        engine.start();
    }
    sim::Simulator engine;
};

// The terminal's settings firmware.
struct SettingsTerminal {
    SettingsTerminal(ComPortMapFile& map, int comNumber, const sim::SettingsOptions& options = {},
                     const sim::ParameterStore& store = {}, unsigned bitsPerSecond = 0)
        : mode(options, store), line(map, comNumber, mode, bitsPerSecond) {}
    sim::SettingsMode mode;
    SimulatedLine line;
};

// Waits until `done` holds, or a liveness bound passes; for what the simulator's thread has still
// to take in when the program has already ended.
inline bool eventually(const std::function<bool()>& done,
                       std::chrono::milliseconds bound = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        ::poll(nullptr, 0, 5);
    }
    return true;
}

// How often `what` occurs in `text` (events of a kind in a history, say).
inline std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class CliTest : public ::testing::Test, protected ScratchFolder {
  protected:
    CliTest() {
        // No registry store of the user's: the line settings are the defaults (9600 8N1).
        ::setenv("VIGIL_REGISTRY", path("registry.reg").c_str(), 1);
        // The records of the run stay in the scratch folder, never with the user's.
        ::setenv("XDG_DATA_HOME", folder().c_str(), 1);
        ::unsetenv("VIGIL_RECORDS");
        // The texts as written, whatever the machine's locale: the tests of a language say so.
        ::setenv("VIGIL_TRANSLATIONS", path("no-catalogues").c_str(), 1);
    }
    ~CliTest() override {
        ::unsetenv("VIGIL_REGISTRY");
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("VIGIL_TRANSLATIONS");
    }

    static std::string cp1251(std::string_view utf8) { return protocol::toCp1251(utf8).value(); }

    ComPortMapFile map;
};

// A CliTest whose terminal is on one COM number of its own: kCom, and kPort as vigil takes it.
template <int ComNumber>
class OnePortTest : public CliTest {
  protected:
    static constexpr int kCom = ComNumber;
    const std::string kPort = "COM" + std::to_string(ComNumber);
};

}  // namespace testsupport
