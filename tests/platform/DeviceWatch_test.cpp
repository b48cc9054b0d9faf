// What wakes the port list: serial nodes and their stable names coming and going, including the
// by-id folder that udev makes only with the first adapter; other device nodes do not.
#include "platform/DeviceWatch.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;

namespace {

TEST(DeviceWatch, SerialNodesAndStableNamesWakeItOtherNodesDoNot) {
    char name[] = "/tmp/vigil-dev-XXXXXX";
    const fs::path dev = ::mkdtemp(name);
    fs::create_directories(dev / "pts");
    platform::DeviceWatch watch(dev.string());
    ASSERT_GE(watch.fd(), 0);
    const auto changed = [&] {
        pollfd ready{watch.fd(), POLLIN, 0};
        return ::poll(&ready, 1, 0) == 1 && watch.takeChanges();
    };
    EXPECT_FALSE(changed());
    const struct {
        const char* what;
        std::function<void()> act;
        bool wakes;
    } steps[] = {
        {"another device node", [&] { std::ofstream(dev / "null0"); }, false},
        {"an adapter's node", [&] { std::ofstream(dev / "ttyUSB0"); }, true},
        {"a pseudo-terminal", [&] { std::ofstream(dev / "pts" / "7"); }, true},
        {"udev's first stable-name folder",
         [&] { fs::create_directories(dev / "serial" / "by-id"); }, true},
        {"a stable name in it",
         [&] {
             fs::create_symlink(dev / "ttyUSB0", dev / "serial" / "by-id" / "usb-FTDI-if00-port0");
         },
         true},
        {"the adapter's node gone", [&] { fs::remove(dev / "ttyUSB0"); }, true},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(changed(), step.wakes) << step.what;
    }
    fs::remove_all(dev);
}

}  // namespace
