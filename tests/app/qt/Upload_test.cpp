// The firmware upload in the running window against the simulator's bootloader: the link is
// closed, reopened by Timer1, the records go out, the outcome lands in status panel 1 and the
// wind-up closes the link again.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <fstream>

#include "SimFixture.h"
#include "tools/BootloaderMode.h"
#include "tools/EncFile.h"
#include "update/FirmwareUpload.h"

namespace {

class Upload : public apptest::SimFixture<sim::BootloaderMode> {
protected:
    void load(std::size_t payloadBytes) {
        std::vector<std::uint8_t> payload(payloadBytes);
        for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 31 + 5);
        image = sim::makeImage(payload);
        const auto path = folder.path() / "fw.enc";
        std::ofstream(path, std::ios::binary) << sim::hexText(image);
        dialogs->answers.push_back(path.string());
        form1->Open1Click();
        ASSERT_TRUE(form1->BUpgrade->isEnabled());
    }

    // BUpgrade, the 5-second tick, the records, and the 1-ms wind-up.
    void runUpload() {
        form1->BUpgradeClick();
        EXPECT_FALSE(form1->BUpgrade->isEnabled());
        EXPECT_TRUE(timer1->enabled());
        EXPECT_EQ(timer1->interval(), 5000);
        ASSERT_TRUE(apptest::pumpUntil([&] { return !form2->CommPort1->IsEnabled(); }));
        ASSERT_TRUE(timer1->fire());
        ASSERT_TRUE(apptest::pumpUntil([&] { return !form1->uploadRunning(); }, std::chrono::seconds(30)));
        EXPECT_EQ(timer1->interval(), 1);
        ASSERT_TRUE(timer1->fire());
        ASSERT_TRUE(apptest::pumpUntil([&] { return !form2->CommPort1->IsEnabled(); }));
        EXPECT_TRUE(form1->BUpgrade->isEnabled());
        EXPECT_EQ(TImageList::imageIndex(form1->ToolButton1), 0);
    }

    std::vector<std::uint8_t> image;
};

TEST_F(Upload, ImageArrivesWholeWithTheSuccessText) {
    startSimulator(sim::BootloaderOptions{});
    load(5000);  // five records
    runUpload();
    EXPECT_EQ(form1->panelText(1), "Обновление прошло успешно. BL ver 01");
    EXPECT_EQ(mode->image(), image);
    EXPECT_EQ(form1->Label56->text(), QString::number(2 * image.size()));
    EXPECT_EQ(form1->Label57->text(), QString::number(2 * image.size()));
    EXPECT_EQ(form1->ProgressBar1->value(), 0);
}

TEST_F(Upload, RejectedRecordsEndItAtTheTenthFailure) {
    sim::BootloaderOptions options;
    for (unsigned r = 1; r <= 10; ++r) options.rejectRecords.insert(r);
    startSimulator(options);
    load(100);
    runUpload();
    EXPECT_EQ(form1->panelText(1), "Ошибка CRC. Файл поврежден.");
    EXPECT_EQ(mode->recordsReceived(), 10u);
}

TEST_F(Upload, TwoByteAnswerMeansTheTerminalMustBeReset) {
    sim::BootloaderOptions options;
    options.acceptByte = 0x33;
    options.doubleAnswerRecords = {2};
    startSimulator(options);
    load(3000);
    runUpload();
    EXPECT_EQ(form1->panelText(1), "Адресат должен быть пересброшен");
}

// The adapter goes away mid-upload: one clear text, the link shown closed, BUpgrade usable again.
TEST_F(Upload, UnplugMidUploadEndsItCleanly) {
    sim::BootloaderOptions options;
    options.unplugAtRecord = 2;
    startSimulator(options);
    load(4000);
    form1->BUpgradeClick();
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form2->CommPort1->IsEnabled(); }));
    ASSERT_TRUE(timer1->fire());
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form1->uploadRunning(); }));
    EXPECT_EQ(form1->panelText(1), QString::fromUtf8(update::kLinkLostText));
    EXPECT_EQ(TImageList::imageIndex(form1->ToolButton1), 0);
    ASSERT_TRUE(timer1->fire());
    EXPECT_TRUE(form1->BUpgrade->isEnabled());
}

}  // namespace
