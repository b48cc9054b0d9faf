// The link failing under the running windows: an adapter unplugged while idle, in the middle of
// an answer or of an upload, a terminal that stalls, a device that vanished after it was listed,
// and a port another program holds. Each ends with the program working again, without a restart.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

#include "FaultMatrix.h"
#include "app/UnitRecords.h"
#include "tools/BootloaderMode.h"
#include "update/FirmwareUpload.h"

namespace {

using namespace std::chrono_literals;

const char* const kLinkBroken = "Разрыв соединения";
const char* const kCannotOpen = "Не могу открыть COM порт";

class LinkFaults : public faults::TerminalFixture {
  protected:
    void SetUp() override { startSimulator(); }

    void expectDisconnectedQuietly() {
        ASSERT_TRUE(apptest::pumpUntil([&] { return !form2->CommPort1->Open(); }));
        apptest::pumpFor(100ms);
        EXPECT_EQ(form2->Label1->text(), QString::fromUtf8("Отключено"));
        EXPECT_EQ(form1->panelText(0), QString::fromUtf8("Отключено"));
        EXPECT_EQ(TImageList::imageIndex(form1->ToolButton1), 0);
        EXPECT_EQ(TImageList::imageIndex(form1->ToolButton3), 3);
    }
};

TEST_F(LinkFaults, UnplugWhileIdleIsShownInTheStatusOnly) {
    mode->unplugNow();
    expectDisconnectedQuietly();
    EXPECT_TRUE(messages.shown().empty());
    plugIn();
    expectReadStillWorks();
}

TEST_F(LinkFaults, UnplugWhileAnAnswerIsAwaitedIsReportedOnce) {
    mode->answerNextWith("");
    form1->ReadTLBClick();
    ASSERT_TRUE(apptest::pumpUntil([&] { return mode->scriptedAnswered() == 1; }));
    mode->unplugNow();
    expectDisconnectedQuietly();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kLinkBroken});
    plugIn();
    expectReadStillWorks();
    EXPECT_EQ(messages.shown().size(), 1u);
}

// The first part of the answer was handed over, so nothing was awaited any more when the line
// went: the status tells it; what had arrived stays in the controls.
TEST_F(LinkFaults, UnplugInTheMiddleOfAnAnswerKeepsWhatArrived) {
    mode->answerNextWith("TL1=" + mode->store().value("Phone1") +
                         ":TL2=" + mode->store().value("Phone2") + ":");
    form1->ReadTLBClick();
    ASSERT_TRUE(apptest::pumpUntil([&] { return mode->scriptedAnswered() == 1; }));
    apptest::pumpFor(200ms);
    mode->unplugNow();
    expectDisconnectedQuietly();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts()[0];
    EXPECT_EQ(form1->ETl[0]->text().toStdString(), mode->store().value("Phone1"));
    EXPECT_TRUE(form1->ETl[2]->text().isEmpty());
    plugIn();
    expectReadStillWorks();
}

// The program has no reply time-out for settings requests, so a 3-second stall behaves as a
// 30-second one: the window stays live, nothing is reported, and the late answer is taken.
TEST_F(LinkFaults, AStalledTerminalLeavesTheWindowLive) {
    sim::SettingsOptions stalling;
    stalling.answerDelayMs = 3000;
    plugIn(std::make_unique<faults::FaultyTerminal>(stalling));
    form1->ReadTLBClick();
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(100);
    apptest::pumpFor(2000ms);
    EXPECT_GE(ticks, 5);  // the event loop kept running
    EXPECT_TRUE(form2->AwaitingReply);
    EXPECT_TRUE(form1->EGpsLongitude->text().isEmpty());
    ASSERT_TRUE(apptest::pumpUntil([&] { return form1->EGpsLongitude->text() == "03737.5678E"; }));
    EXPECT_TRUE(messages.shown().empty());

    // The operator gives up during a second stall: the close is prompt and not a broken link.
    form1->ReadTLBClick();
    apptest::pumpFor(300ms);
    form1->ToolButton3Click();
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form2->CommPort1->Open(); }, 2s));
    EXPECT_TRUE(messages.shown().empty());
    form1->ToolButton1Click();
    ASSERT_TRUE(apptest::pumpUntil([&] { return form2->CommPort1->IsEnabled(); }));
    expectReadStillWorks();
}

TEST_F(LinkFaults, ADeviceGoneAfterListingFailsToOpenOnce) {
    form1->ToolButton3Click();
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form2->CommPort1->Open(); }));
    // Mapped by a stable name, as udev names an adapter; unplugging removes the name with the
    // device. (A pty's own path may be taken by another test's pty at once.)
    const std::string path = (folder.path() / "usb-FTDI_FT232R-if00-port0").string();
    std::filesystem::create_symlink(simulator->slavePath(), path);
    map.map(path, 7);
    form2->ComboBox2DropDown();  // listed while it was there
    simulator.reset();
    std::filesystem::remove(path);
    messages.clear();
    form1->ToolButton1Click();
    ASSERT_TRUE(apptest::pumpUntil([&] { return !messages.texts().empty(); }));
    apptest::pumpFor(200ms);  // and no second box
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], std::string(kCannotOpen) + "\nУстройство " + path +
                                       " отсутствует: подключите адаптер или выберите другой порт");
    EXPECT_EQ(messages.shown()[0].caption, "COM port error");
    EXPECT_FALSE(form2->CommPort1->Open());
    EXPECT_EQ(TImageList::imageIndex(form1->ToolButton1), 0);
    plugIn();
    expectReadStillWorks();
    EXPECT_EQ(messages.shown().size(), 1u);
}

TEST_F(LinkFaults, APortHeldByAnotherProgramFailsToOpenOnceAndBreaksNothing) {
    form1->ToolButton3Click();
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form2->CommPort1->Open(); }));
    const int other = ::open(simulator->slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    messages.clear();
    form1->ToolButton1Click();
    ASSERT_TRUE(apptest::pumpUntil([&] { return !messages.texts().empty(); }));
    apptest::pumpFor(200ms);  // and no second box
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0].rfind(
                  std::string(kCannotOpen) + "\nПорт " + simulator->slavePath() + " занят", 0),
              0u)
        << messages.texts()[0];
    EXPECT_FALSE(form2->CommPort1->Open());
    EXPECT_EQ(TImageList::imageIndex(form1->ToolButton1), 0);
    // The other program's link still works.
    ASSERT_EQ(::write(other, "$Pass=Vostel:End:", 17), 17);
    std::string answer;
    for (pollfd ready{other, POLLIN, 0}; ::poll(&ready, 1, answer.empty() ? 5000 : 200) == 1;) {
        char chunk[4096];
        const ssize_t n = ::read(other, chunk, sizeof chunk);
        if (n <= 0) break;
        answer.append(chunk, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(answer.rfind("TL1=" + mode->store().value("Phone1") + ":", 0), 0u) << answer;
    EXPECT_EQ(simulator->receivedBytes(), "$Pass=Vostel:End:");
    ::close(other);

    form1->ToolButton1Click();
    ASSERT_TRUE(apptest::pumpUntil([&] { return form2->CommPort1->IsEnabled(); }));
    expectReadStillWorks();
    EXPECT_EQ(messages.shown().size(), 1u);
}

using UploadLink = apptest::SimFixture<sim::BootloaderMode>;

TEST_F(UploadLink, UnplugDuringAnUploadEndsItOnceAndANewUploadWorks) {
    sim::BootloaderOptions unplugging;
    unplugging.unplugAtRecord = 3;
    startSimulator(unplugging);
    loadImage(5000);
    beginUpload();
    finishUpload();
    EXPECT_EQ(form1->panelText(1), QString::fromUtf8(update::kLinkLostText));
    EXPECT_TRUE(simulator->unplugged());
    // The question after the records' read the bootloader did not answer, then one box for the
    // broken link, saying where the update stopped; the upload's own outcome is in the status bar.
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{app::kUploadSnapshotFailedQuestion,
                                        std::string(kLinkBroken) + "\n" +
                                            update::unfinishedText(3, 5, "нажмите \"Програм.\"")}));
    const std::size_t told = messages.shown().size();

    plugIn(std::make_unique<sim::BootloaderMode>());
    beginUpload();
    finishUpload();
    EXPECT_EQ(form1->panelText(1), "Обновление прошло успешно. BL ver 01");
    EXPECT_EQ(mode->image(), image);
    EXPECT_EQ(form1->Label57->text(), QString::number(2 * image.size()));
    EXPECT_EQ(form1->ProgressBar1->value(), 0);
    EXPECT_EQ(messages.shown().size(), told + 1);  // the records' read again
}

// The record timer is driven by hand here, so a 3-second stall stands for any longer one: silence
// through the time-out and the grace counts a failed answer, and the record goes out again. With
// no sequence number in the protocol the bootloader that took the record late flashes it twice.
TEST_F(UploadLink, AStallDuringAnUploadTimesOutAndTheRepeatGoesThrough) {
    sim::BootloaderOptions stalling;
    stalling.lateRecords = {1};
    stalling.lateMs = 3000;
    startSimulator(stalling);
    loadImage(100);
    beginUpload();
    ASSERT_TRUE(apptest::pumpUntil([&] { return mode->recordsReceived() == 1; }));
    apptest::pumpFor(200ms);
    EXPECT_TRUE(form1->uploadRunning());
    ASSERT_TRUE(recordTimer->fire());  // no answer in time
    ASSERT_TRUE(recordTimer->enabled());
    ASSERT_TRUE(recordTimer->fire());  // the grace has passed: the record again
    finishUpload();
    EXPECT_EQ(form1->panelText(1), QString::fromUtf8(update::kSuccessVersion01Text));
    EXPECT_EQ(mode->recordsReceived(), 2u);
    EXPECT_EQ(mode->records(), (std::vector<std::vector<std::uint8_t>>{image, image}));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{app::kUploadSnapshotFailedQuestion});
}

}  // namespace
