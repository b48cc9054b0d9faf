// The demo's terminal as the configurator meets it, through the real port: settings are read, the
// upload finds its bootloader after the link was closed and reopened, and the next read reports the
// new firmware version.
#include <gtest/gtest.h>

#include "platform/RecordingMessageService.h"
#include "tools/EncFile.h"
#include "tools/TerminalMode.h"
#include "update/BootloaderTerminal.h"
#include "update/PortUploadHost.h"

using namespace std::chrono_literals;

namespace {

constexpr int kCom = 11;

class DemoTerminal : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string path = engine.createPty();
        ASSERT_FALSE(path.empty());
        map.map(path, kCom);
        engine.start();
        const auto deliver = host.port.OnDataReceived;
        host.port.OnDataReceived = [this, deliver](TCommPort* p, std::uint32_t count) {
            deliver(p, count);
            answer.append(reinterpret_cast<const char*>(host.receiveBuffer.data()),
                          host.receivedCount);
        };
    }

    // Connects, reads the settings and disconnects; returns the IDCOD= item's value.
    std::string readIdCode() {
        answer.clear();
        host.toggleLink();
        EXPECT_TRUE(host.port.Open());
        const std::string request = "$Pass=Vostel:End:";
        host.writePort(reinterpret_cast<const std::uint8_t*>(request.data()), request.size());
        const auto item = [this] {
            const auto at = answer.find("IDCOD=");
            return at == std::string::npos || answer.find(':', at) == std::string::npos
                       ? std::string()
                       : answer.substr(at + 6, answer.find(':', at) - at - 6);
        };
        EXPECT_TRUE(host.pumpUntil([&] { return !item().empty(); }, 10s)) << answer;
        host.toggleLink();
        return item();
    }

    platform::RecordingMessageService messages;
    testsupport::ComPortMapFile map;
    sim::TerminalMode terminal;
    sim::Simulator engine{terminal};
    std::unique_ptr<update::FirmwareImage> image = std::make_unique<update::FirmwareImage>();
    testsupport::PortUploadHost host{kCom, *image};
    std::string answer;
};

TEST_F(DemoTerminal, SettingsThenAnUploadThroughItsBootloaderThenTheNewVersionInIdcod) {
    // An ordinary reconnect still finds the settings firmware.
    for (int connection = 0; connection < 2; ++connection)
        EXPECT_EQ(readIdCode(),
                  "004512 \xC2\xE5\xF0\xF1\xE8\xFF 2.07 Eeprom OK");  // cp1251 "Версия"

    std::string firmware = "VIGIL FIRMWARE VERSION=2.08\n";
    firmware.resize(5000, '.');
    const auto sent = sim::makeImage(std::vector<std::uint8_t>(firmware.begin(), firmware.end()));
    std::copy(sent.begin(), sent.end(), image->ImageBuffer.begin());
    image->ImageLength = static_cast<std::uint32_t>(sent.size());
    ASSERT_TRUE(host.runUpload());
    EXPECT_EQ(host.panel1(), update::kSuccessVersion01Text);
    EXPECT_FALSE(host.port.Open());

    EXPECT_EQ(readIdCode(), "004512 \xC2\xE5\xF0\xF1\xE8\xFF 2.08 Eeprom OK");
    EXPECT_EQ(terminal.updatesInstalled(), 1u);
    EXPECT_TRUE(messages.shown().empty());
}

TEST(TerminalVersion, TheImageNamesItsVersionOrTheOldOneIsRaised) {
    const struct {
        std::string payload, idCode, expected;
    } cases[] = {
        {"x VERSION=3.1 y", "004512 V 2.07 Eeprom OK", "004512 V 3.1 Eeprom OK"},
        {"no marker", "004512 V 2.07 Eeprom OK", "004512 V 2.08 Eeprom OK"},
        {"no marker", "V 2.09", "V 2.10"},
        {"VERSION=4.0", "no number", "no number 4.0"},
    };
    for (const auto& c : cases) {
        const auto image =
            sim::makeImage(std::vector<std::uint8_t>(c.payload.begin(), c.payload.end()), 4);
        EXPECT_EQ(sim::withVersion(c.idCode, sim::imageVersion(image)), c.expected) << c.payload;
    }
}

}  // namespace
