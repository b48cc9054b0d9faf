// The upload over a pty to the simulated bootloader, through the real port component.
#include <gtest/gtest.h>

#include <memory>

#include "platform/RecordingMessageService.h"
#include "update/BootloaderTerminal.h"
#include "update/PortUploadHost.h"

using namespace std::chrono_literals;
using testsupport::BootloaderTerminal;

namespace {

constexpr int kCom = 9;

class EndToEnd : public ::testing::Test {
  protected:
    void expectIdleAfterwards() {
        EXPECT_FALSE(host.port.Open());
        EXPECT_TRUE(host.upgradeEnabled);
        EXPECT_FALSE(host.upload.uploadRunning() || host.timer1.enabled() ||
                     host.recordTimer.enabled());
    }

    platform::RecordingMessageService messages;
    testsupport::ComPortMapFile map;
    std::unique_ptr<update::FirmwareImage> image = std::make_unique<update::FirmwareImage>();
    testsupport::PortUploadHost host{kCom, *image};
};

}  // namespace

TEST_F(EndToEnd, AFullImageArrivesIdenticalWithRisingProgressAndOneFinalText) {
    sim::BootloaderOptions o;
    o.acceptByte = 0x33;
    BootloaderTerminal t(map, kCom, o);
    const auto sent = testsupport::loadImage(*image, 251 * 1040);  // the largest whole-record image
    ASSERT_TRUE(host.runUpload(120s));
    EXPECT_EQ(t.boot.image(), sent);
    EXPECT_EQ(t.boot.recordsReceived(), 251u);
    EXPECT_EQ(host.panel1Log, (std::vector<std::string>{"", update::kSuccessVersion02Text}));
    EXPECT_EQ(host.label57, std::to_string(2 * sent.size()));
    // 0 at the start, the share of the bytes taken up to 100, then back to 0.
    ASSERT_GE(host.progressLog.size(), 3u);
    for (std::size_t i = 1; i + 1 < host.progressLog.size(); ++i)
        EXPECT_GE(host.progressLog[i], host.progressLog[i - 1]);
    EXPECT_EQ(host.progressLog[host.progressLog.size() - 2], 100);
    EXPECT_EQ(host.progressLog.back(), 0);
    expectIdleAfterwards();
}

TEST_F(EndToEnd, SilenceTimesOutAndTheTenthFailureReportsNoAnswer) {
    sim::BootloaderOptions o;
    o.rejectRecords = {1, 2, 3, 4, 5, 6, 7, 8};
    o.silentRecords = {9, 10};
    BootloaderTerminal t(map, kCom, o);
    host.port.SetBaudRate(cbr115200);
    testsupport::loadImage(*image, 500);
    ASSERT_TRUE(host.runUpload());
    EXPECT_EQ(host.panel1(), update::kNoAnswerText);
    EXPECT_EQ(t.boot.recordsReceived(), 10u);
    expectIdleAfterwards();
}

TEST_F(EndToEnd, ALateAnswerInsideTheGraceIsTheRecordsOwn) {
    sim::BootloaderOptions o;
    o.lateMs = 1500;  // after the record's 1182 ms time-out, inside the grace before the repeat
    o.lateRecords = {1};
    BootloaderTerminal t(map, kCom, o);
    host.port.SetBaudRate(cbr115200);
    const auto sent = testsupport::loadImage(*image, 2000);
    ASSERT_TRUE(host.runUpload());
    EXPECT_EQ(host.panel1(), update::kSuccessVersion01Text);
    EXPECT_EQ(host.upload.FailureCount(), 0);
    EXPECT_EQ(t.boot.recordsReceived(), 2u);  // each record once
    EXPECT_EQ(t.boot.image(), sent);
}

TEST_F(EndToEnd, AnUnplugEndsTheUploadAndANewOneWorksWithoutRestarting) {
    const auto sent = testsupport::loadImage(*image, 5000);
    {
        sim::BootloaderOptions o;
        o.unplugAtRecord = 3;
        BootloaderTerminal t(map, kCom, o);
        ASSERT_TRUE(host.runUpload(10s));
        EXPECT_EQ(host.panel1(), update::kLinkLostText);
        EXPECT_TRUE(t.engine.unplugged());
        expectIdleAfterwards();
    }
    BootloaderTerminal replugged(map, kCom);
    ASSERT_TRUE(host.runUpload());
    EXPECT_EQ(host.panel1(), update::kSuccessVersion01Text);
    EXPECT_EQ(replugged.boot.image(), sent);
}
