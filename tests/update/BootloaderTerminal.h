#pragma once
// The terminal's bootloader behind a pty of its own, mapped to a COM number and serving from the
// moment it is built; and the image it is sent.
#include <gtest/gtest.h>

#include <string>

#include "support/PtyPair.h"
#include "tools/BootloaderMode.h"
#include "tools/EncFile.h"
#include "tools/Simulator.h"
#include "update/UpdateFile.h"

namespace testsupport {

struct BootloaderTerminal {
    BootloaderTerminal(ComPortMapFile& map, int comNumber,
                       const sim::BootloaderOptions& options = {})
        : boot(options), engine(boot) {
        const std::string path = engine.createPty();
        EXPECT_FALSE(path.empty());
        map.map(path, comNumber);
        engine.start();
    }
    sim::BootloaderMode boot;
    sim::Simulator engine;
};

// Loads whole records over a payload whose bytes differ position by position; returns the bytes.
inline std::vector<std::uint8_t> loadImage(update::FirmwareImage& image, std::size_t payloadBytes) {
    std::vector<std::uint8_t> payload(payloadBytes);
    for (std::size_t i = 0; i < payloadBytes; ++i)
        payload[i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);
    const std::vector<std::uint8_t> sent = sim::makeImage(payload);
    EXPECT_LE(sent.size(), update::kImageBufferSize);
    std::copy(sent.begin(), sent.end(), image.ImageBuffer.begin());
    image.ImageLength = static_cast<std::uint32_t>(sent.size());
    EXPECT_TRUE(update::checkRecords(image).ok());
    return sent;
}

}  // namespace testsupport
