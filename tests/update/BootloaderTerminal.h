#pragma once
// The terminal's bootloader behind a pty of its own, mapped to a COM number and serving from the
// moment it is built.
#include <gtest/gtest.h>

#include <string>

#include "support/PtyPair.h"
#include "tools/BootloaderMode.h"
#include "tools/Simulator.h"

namespace testsupport {

struct BootloaderTerminal {
    BootloaderTerminal(ComPortMapFile& map, int comNumber, const sim::BootloaderOptions& options = {})
        : boot(options), engine(boot)
    {
        const std::string path = engine.createPty();
        EXPECT_FALSE(path.empty());
        map.map(path, comNumber);
        engine.start();
    }
    sim::BootloaderMode boot;
    sim::Simulator engine;
};

}  // namespace testsupport
