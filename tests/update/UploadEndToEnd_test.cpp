// The upload over a pty to the simulated bootloader, through the real port component.
#include <gtest/gtest.h>

#include <memory>

#include "platform/RecordingMessageService.h"
#include "support/PtyPair.h"
#include "tools/BootloaderMode.h"
#include "tools/EncFile.h"
#include "tools/Simulator.h"
#include "update/BootloaderTerminal.h"
#include "update/PortUploadHost.h"

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr int kCom = 9;

// The terminal: a bootloader behind a pty, mapped to COM9.
struct Terminal : testsupport::BootloaderTerminal {
    explicit Terminal(testsupport::ComPortMapFile& map, sim::BootloaderOptions o = {}) : BootloaderTerminal(map, kCom, o) {}
};

class EndToEnd : public ::testing::Test {
protected:
    void load(std::size_t payloadBytes)
    {
        Bytes payload(payloadBytes);
        for (std::size_t i = 0; i < payloadBytes; ++i) payload[i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);
        sent = sim::makeImage(payload);
        ASSERT_LE(sent.size(), update::kImageBufferSize);
        std::copy(sent.begin(), sent.end(), image->ImageBuffer.begin());
        image->ImageLength = static_cast<std::uint32_t>(sent.size());
        ASSERT_TRUE(update::checkRecords(*image).ok());
    }
    void expectIdleAfterwards()
    {
        EXPECT_FALSE(host.port.Open());
        EXPECT_TRUE(host.upgradeEnabled);
        EXPECT_FALSE(host.upload.uploadRunning());
        EXPECT_FALSE(host.timer1.enabled());
        EXPECT_FALSE(host.recordTimer.enabled());
    }

    platform::RecordingMessageService messages;
    testsupport::ComPortMapFile map;
    std::unique_ptr<update::FirmwareImage> image = std::make_unique<update::FirmwareImage>();
    testsupport::PortUploadHost host{kCom, *image};
    Bytes sent;
};

}  // namespace

TEST_F(EndToEnd, OneRecordImage)
{
    Terminal t(map);
    load(100);
    ASSERT_TRUE(host.runUpload());
    EXPECT_EQ(host.panel1(), update::kSuccessVersion01Text);
    EXPECT_EQ(host.label57, std::to_string(2 * sent.size()));
    EXPECT_EQ(t.boot.image(), sent);
    expectIdleAfterwards();
}

TEST_F(EndToEnd, AFullImageArrivesIdenticalWithRisingProgressAndOneFinalText)
{
    sim::BootloaderOptions o;
    o.acceptByte = 0x33;
    Terminal t(map, o);
    load(251 * 1040);  // 262,044 bytes: the largest whole-record image that fits
    ASSERT_TRUE(host.runUpload(120s));
    EXPECT_EQ(t.boot.image(), sent);
    EXPECT_EQ(t.boot.recordsReceived(), 251u);
    EXPECT_EQ(host.panel1Log, (std::vector<std::string>{"", update::kSuccessVersion02Text}));
    // 0 at the start, one step per record up to 100, then back to 0.
    ASSERT_GE(host.progressLog.size(), 3u);
    for (std::size_t i = 1; i + 1 < host.progressLog.size(); ++i) EXPECT_GT(host.progressLog[i], host.progressLog[i - 1]);
    EXPECT_EQ(host.progressLog.back(), 0);
    expectIdleAfterwards();
}

TEST_F(EndToEnd, SilenceTimesOutAndTheTenthFailureReportsNoAnswer)
{
    sim::BootloaderOptions o;
    o.rejectRecords = {1, 2, 3, 4, 5, 6, 7, 8};
    o.silentRecords = {9, 10};
    Terminal t(map, o);
    host.port.SetBaudRate(cbr115200);
    load(500);
    ASSERT_TRUE(host.runUpload());
    EXPECT_EQ(host.panel1(), update::kNoAnswerText);
    EXPECT_EQ(t.boot.recordsReceived(), 10u);
    expectIdleAfterwards();
}

TEST_F(EndToEnd, ALateAnswerIsNotTakenForTheRepeatOrTheNextRecord)
{
    sim::BootloaderOptions o;
    o.lateMs = 1500;  // after the record's 1182 ms time-out, inside the grace before the repeat
    o.lateRecords = {1};
    Terminal t(map, o);
    host.port.SetBaudRate(cbr115200);
    load(2000);
    ASSERT_TRUE(host.runUpload());
    EXPECT_EQ(host.panel1(), update::kSuccessVersion01Text);
    EXPECT_EQ(host.upload.FailureCount(), 1);
    EXPECT_EQ(t.boot.recordsReceived(), 3u);  // the first record twice, then the second
    EXPECT_EQ(t.boot.image(), sent);
}

TEST_F(EndToEnd, AnUnplugEndsTheUploadAndANewOneWorksWithoutRestarting)
{
    load(5000);
    {
        sim::BootloaderOptions o;
        o.unplugAtRecord = 3;
        Terminal t(map, o);
        ASSERT_TRUE(host.runUpload(10s));
        EXPECT_EQ(host.panel1(), update::kLinkLostText);
        EXPECT_TRUE(t.engine.unplugged());
        expectIdleAfterwards();
    }
    Terminal replugged(map);
    ASSERT_TRUE(host.runUpload());
    EXPECT_EQ(host.panel1(), update::kSuccessVersion01Text);
    EXPECT_EQ(replugged.boot.image(), sent);
}

