// The upload state machine against a scripted main window and hand-driven timers.
#include "update/FirmwareUpload.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace update;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The link as a script, and the events shown the way the main window shows them.
struct FakeHost : UploadLink, UploadEvents {
    bool open = true, writeSucceeds = true, openSucceeds = true, upgradeEnabled = true;
    int toggles = 0, awaitingCleared = 0, discards = 0, progress = -1, repeats = 0;
    std::string label56, label57, panel1 = "old", log;
    std::vector<Bytes> sent;
    std::vector<bool> activeLog;
    std::vector<int> progressLog;
    std::vector<UploadResult> results;

    bool isLinkOpen() const override { return open; }
    void toggleLink() override {
        open = !open && openSucceeds;
        ++toggles;
        log += open ? "open;" : "close;";
    }
    void takeOverLink(bool expectingNoReply) override { awaitingCleared += expectingNoReply; }
    bool writePort(const std::uint8_t* data, std::size_t n) override {
        if (!writeSucceeds) return false;
        sent.emplace_back(data, data + n);
        log += "write;";
        return true;
    }
    void discardPendingInput() override { ++discards, log += "discard;"; }
    unsigned lineRateBitsPerSecond() const override { return 9600; }

    void setProgress(int p) { progressLog.push_back(progress = p); }
    void uploadStarted(std::size_t bytes) override {
        label56 = std::to_string(2 * bytes);
        upgradeEnabled = false;
        activeLog.push_back(true);
    }
    void sendingBegun() override { setProgress(0), panel1.clear(); }
    void recordAccepted(std::uint32_t acknowledged, std::size_t bytes) override {
        setProgress(static_cast<int>(acknowledged * 100ull / bytes));
    }
    void recordRepeated(int) override { ++repeats; }
    void uploadFinished(const UploadResult& r, std::uint32_t acknowledged) override {
        results.push_back(r);
        if (r.outcome != UploadOutcome::NothingSent) panel1 = statusText(r);
        setProgress(0);
        if (r.outcome == UploadOutcome::Success || r.outcome == UploadOutcome::NothingSent)
            label57 = std::to_string(2ull * acknowledged);
    }
    void uploadIdle() override {
        upgradeEnabled = true;
        activeLog.push_back(false);
    }
};

// Records of the given body lengths; the bodies are opaque to the upload.
void makeImage(FirmwareImage& image, const std::vector<std::size_t>& bodyLengths) {
    std::uint32_t pos = 0;
    for (std::size_t L : bodyLengths) {
        image.ImageBuffer[pos++] = static_cast<std::uint8_t>(L >> 8);
        image.ImageBuffer[pos++] = static_cast<std::uint8_t>(L);
        for (std::size_t i = 0; i < L; ++i, ++pos)
            image.ImageBuffer[pos] = static_cast<std::uint8_t>(pos * 31);
    }
    image.ImageLength = pos;
}

class Upload : public ::testing::Test {
  protected:
    FakeHost host;
    platform::ManualTimer timer1, recordTimer;
    std::unique_ptr<FirmwareImage> image = std::make_unique<FirmwareImage>();
    FirmwareUpload upload{host, host, timer1, recordTimer, *image};

    void begin() {
        upload.BUpgradeClick();
        ASSERT_TRUE(timer1.enabled());
        ASSERT_EQ(timer1.interval(), 5000);
        ASSERT_TRUE(timer1.fire());
    }
    // One reception of the given bytes, as HandleReception hands it over.
    void answer(Bytes bytes) {
        ASSERT_TRUE(upload.uploadRunning());
        upload.OnReception(bytes.size(), bytes.data());
    }
    void windUp() {
        ASSERT_FALSE(upload.uploadRunning());
        ASSERT_TRUE(timer1.enabled());
        ASSERT_EQ(timer1.interval(), 1);
        ASSERT_TRUE(timer1.fire());
        EXPECT_EQ(upload.state(), FirmwareUpload::State::Idle);
        EXPECT_FALSE(timer1.enabled());
        EXPECT_FALSE(host.open);
        EXPECT_TRUE(host.upgradeEnabled);
    }
};

}  // namespace

TEST_F(Upload, OneRecordImageFollowsTheStateTable) {
    makeImage(*image, {10});
    upload.BUpgradeClick();
    // Waiting to begin: running, Timer1 5000 ms, link closed, BUpgrade disabled.
    EXPECT_TRUE(upload.uploadRunning());
    EXPECT_EQ(timer1.interval(), 5000);
    EXPECT_FALSE(host.open);
    EXPECT_FALSE(host.upgradeEnabled);
    EXPECT_EQ(host.label56, "24");
    EXPECT_GE(host.awaitingCleared, 1);
    EXPECT_TRUE(host.sent.empty());

    ASSERT_TRUE(timer1.fire());
    EXPECT_FALSE(timer1.enabled());
    EXPECT_TRUE(host.open);
    EXPECT_EQ(host.panel1, "");
    EXPECT_EQ(host.progress, 0);
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(host.sent[0], Bytes(image->ImageBuffer.begin(), image->ImageBuffer.begin() + 12));
    EXPECT_EQ(upload.RecordLength(), 12);
    EXPECT_TRUE(recordTimer.enabled());

    answer({0x11});
    EXPECT_EQ(host.panel1, "Обновление прошло успешно. BL ver 01");
    EXPECT_EQ(host.label57, "24");
    EXPECT_EQ(host.progress, 0);
    EXPECT_FALSE(recordTimer.enabled());
    windUp();
    EXPECT_EQ(host.log, "close;open;write;close;");
    // Active from the button to the end of the wind-up, after its close.
    EXPECT_EQ(host.activeLog, (std::vector<bool>{true, false}));

    host.log.clear();  // started with the link closed: not closed first
    upload.BUpgradeClick();
    timer1.fire();
    EXPECT_EQ(host.log, "open;write;");
}

TEST_F(Upload, NineRejectionsThenAcceptsGoOnAndTheTenthFailureLaterEndsIt) {
    makeImage(*image, {4, 4, 4, 4});
    begin();
    for (int i = 0; i < 9; ++i) answer({0x5A});
    EXPECT_EQ(upload.FailureCount(), 9);
    EXPECT_EQ(host.sent.size(), 10u);
    for (const Bytes& b : host.sent) EXPECT_EQ(b, host.sent[0]);  // the same record again
    answer({0x11});
    answer({0x11});
    EXPECT_EQ(upload.FailureCount(), 9);  // not reset by an accepted record
    EXPECT_EQ(upload.SentLength(), 12u);
    answer({0x00});
    EXPECT_FALSE(upload.uploadRunning());
    EXPECT_EQ(host.panel1, "Ошибка CRC. Файл поврежден.");
    EXPECT_EQ(host.progress, 0);
    windUp();
}

TEST_F(Upload, TenEmptyReceptionsOrTimeOutsEndWithNoAnswer) {
    makeImage(*image, {4});
    begin();
    for (int i = 0; i < 5; ++i) answer({});
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(recordTimer.fire());  // the time-out
        EXPECT_EQ(recordTimer.interval(), 1000);
        EXPECT_EQ(upload.FailureCount(), 5 + i);  // not a failure before the grace has passed
        ASSERT_TRUE(recordTimer.fire());          // the grace for a late answer, then the repeat
    }
    EXPECT_EQ(upload.FailureCount(), 9);
    EXPECT_EQ(host.sent.size(), 10u);
    EXPECT_EQ(host.discards, 9);  // before every repeat
    EXPECT_TRUE(recordTimer.fire());
    EXPECT_TRUE(recordTimer.fire());
    EXPECT_EQ(host.panel1, "Адресат не отвечает");
    EXPECT_FALSE(recordTimer.enabled());
    windUp();
}

TEST_F(Upload, TwoBytesInOneReceptionEndAtOnceButOneBytePerReceptionIsASeries) {
    makeImage(*image, {4, 4, 4});
    begin();
    answer({0x11});
    answer({0x11});  // second byte of a reply split into chunks: taken as the next answer
    EXPECT_EQ(host.sent.size(), 3u);
    answer({0x11, 0x11});
    EXPECT_EQ(host.sent.size(), 3u);
    EXPECT_EQ(host.panel1, "Адресат должен быть пересброшен");
    EXPECT_EQ(upload.FailureCount(), 0);
    windUp();
}

TEST_F(Upload, TheRecordTimeOutScalesWithTheRecordAndTheLineRate) {
    EXPECT_EQ(FirmwareUpload::recordTimeoutMs(1044, 9600), 1000 + 2 * 1088);
    EXPECT_EQ(FirmwareUpload::recordTimeoutMs(1044, 115200), 1000 + 2 * 91);
    makeImage(*image, {1042});
    begin();
    EXPECT_EQ(recordTimer.interval(), 1000 + 2 * 1088);
}

// Only silence through the grace repeats a record: an answer inside it is the record's own,
// whether it accepts or rejects, and an answer after the repeat went out is discarded with it.
TEST_F(Upload, AnAnswerInsideTheGraceIsTheRecordsOwnAndOnlySilenceRepeatsIt) {
    struct Case {
        std::uint8_t late;
        std::size_t sentAfter;
        std::uint32_t sentLength;
        int failures;
    };
    for (const Case& c : {Case{0x11, 2, 6, 0}, Case{0x33, 2, 6, 0}, Case{0x5A, 2, 0, 1}}) {
        SCOPED_TRACE(c.late);
        makeImage(*image, {4, 4});
        host.sent.clear();
        host.log.clear();
        begin();
        ASSERT_TRUE(recordTimer.fire());  // the time-out: the grace begins
        EXPECT_EQ(host.sent.size(), 1u);
        answer({c.late});
        EXPECT_EQ(host.sent.size(), c.sentAfter);
        EXPECT_EQ(upload.SentLength(), c.sentLength);
        EXPECT_EQ(upload.FailureCount(), c.failures);
        EXPECT_EQ(recordTimer.interval(), 1000 + 2 * 7);  // the next record's own time-out
        upload.OnLinkLost();
        windUp();
    }

    makeImage(*image, {4, 4});
    host.sent.clear();
    host.log.clear();
    begin();
    ASSERT_TRUE(recordTimer.fire());
    ASSERT_TRUE(recordTimer.fire());  // silent through the grace: discarded, then repeated
    EXPECT_EQ(host.log, "open;write;discard;write;");
    EXPECT_EQ(upload.FailureCount(), 1);
    answer({0x11});
    EXPECT_EQ(upload.SentLength(), 6u);
    EXPECT_EQ(host.sent.size(), 3u);
    EXPECT_TRUE(recordTimer.enabled());  // armed again for the next record
}

// A small image of four equal records: the bar shows each quarter as it is taken, then the
// end's reset. The ten-thousand-byte image of ten records follows its bytes too.
TEST_F(Upload, ProgressFollowsTheBytesTakenForAnySize) {
    makeImage(*image, {10, 10, 10, 10});
    begin();
    for (int i = 0; i < 4; ++i) answer({0x11});
    EXPECT_EQ(host.progressLog, (std::vector<int>{0, 25, 50, 75, 100, 0}));
    EXPECT_EQ(host.label57, "96");
    windUp();

    makeImage(*image, {1042, 1042, 1042, 1042, 1042, 1042, 1042, 1042, 1042, 602});
    host.progressLog.clear();
    begin();
    for (int i = 0; i < 10; ++i) answer({0x11});
    EXPECT_EQ(host.progressLog, (std::vector<int>{0, 10, 20, 31, 41, 52, 62, 73, 83, 93, 100, 0}));
}

// A link lost at the third record of four, and the failure limit at the second: the line names
// the record and the count; a terminal that was never in its bootloader, or a finished upload, get
// none.
TEST_F(Upload, AnInterruptedUploadNamesTheRecordItStoppedAt) {
    makeImage(*image, {10, 10, 10, 10});
    begin();
    answer({0x11});
    answer({0x11});
    EXPECT_EQ(upload.unfinishedLine("нажмите \"Програм.\""),
              "Обновление не завершено (запись 3 из 4): терминал остаётся в загрузчике. "
              "Подключите его и нажмите \"Програм.\" ещё раз.");
    upload.OnLinkLost();
    windUp();
    EXPECT_EQ(upload.unfinishedLine("x"), unfinishedText(3, 4, "x"));

    begin();
    answer({0x11});
    for (int i = 0; i < kFailureLimit; ++i) answer({0x5A});
    EXPECT_EQ(upload.unfinishedLine("x"), unfinishedText(2, 4, "x"));
    windUp();

    begin();
    answer({0x11, 0x11});  // a program's chatter
    EXPECT_EQ(upload.unfinishedLine("x"), "");
    windUp();
    begin();
    for (int i = 0; i < 4; ++i) answer({0x11});
    EXPECT_EQ(upload.unfinishedLine("x"), "");
}

// Nothing sent is no success, whatever an earlier reception left in the receive buffer.
TEST_F(Upload, AnEmptyImageEndsAtOnceWithoutASuccessText) {
    image->ImageLength = 0;
    for (std::uint8_t leftOver : {0x24, 0x11, 0x33}) {
        upload.OnReception(1, &leftOver);  // not sending yet: ignored
        begin();
        EXPECT_TRUE(host.sent.empty());
        EXPECT_EQ(host.panel1, "");
        EXPECT_EQ(host.label57, "0");
        EXPECT_EQ(host.results.back().outcome, UploadOutcome::NothingSent);
        windUp();
    }
}

TEST_F(Upload, ARefusedBlockOrALinkThatDoesNotReopenIsALostLink) {
    // The unplug itself runs through the port in the end-to-end tests.
    makeImage(*image, {4, 4, 4});
    begin();
    answer({0x11});
    host.writeSucceeds = false;
    answer({0x11});
    EXPECT_EQ(host.panel1, "Связь с адресатом потеряна");
    windUp();

    // The adapter was pulled during the five seconds: the port does not open again.
    host.writeSucceeds = true;
    host.openSucceeds = false;
    host.panel1.clear();
    begin();
    EXPECT_EQ(host.sent.size(), 2u);  // nothing more went out
    EXPECT_EQ(host.panel1, "Связь с адресатом потеряна");
    windUp();
}

TEST_F(Upload, OurOwnCloseAStrayReceptionOrAFileOpenedMeanwhileChangeNothing) {
    makeImage(*image, {4, 4});
    upload.BUpgradeClick();
    const std::uint8_t ack = 0x11;
    upload.OnReception(1, &ack);  // not sending yet
    upload.OnLinkLost();          // the close of the start step
    EXPECT_TRUE(upload.uploadRunning());
    EXPECT_TRUE(host.sent.empty());
    timer1.fire();
    image->ImageLength = 0;  // File > Open sets it first
    answer({0x11});
    EXPECT_EQ(host.sent.size(), 2u);
    answer({0x11});
    timer1.fire();  // the wind-up closes the link
    upload.OnLinkLost();
    EXPECT_EQ(host.panel1, "Обновление прошло успешно. BL ver 01");
}

// The result each front end words: the kind of the end, the bootloader's version on success,
// and where an interrupted upload stopped; a repeat is told as it happens.
TEST_F(Upload, TheResultTellsHowTheUploadEndedAndWhereItStopped) {
    makeImage(*image, {4, 4, 4});
    begin();
    answer({0x33});
    answer({0x5A});
    EXPECT_EQ(host.repeats, 1);
    answer({0x33});
    answer({0x33});
    ASSERT_EQ(host.results.size(), 1u);
    EXPECT_TRUE(host.results[0].succeeded());
    EXPECT_EQ(host.results[0].bootloaderVersion, 2);
    EXPECT_EQ(host.results[0].record, 0u);
    EXPECT_EQ(host.panel1, "Обновление прошло успешно. BL ver 02");
    windUp();

    const struct {
        Bytes answer;
        UploadOutcome outcome;
        std::size_t record;
    } ends[] = {{{0x11, 0x11}, UploadOutcome::NotBootloader, 0},
                {{0x5A}, UploadOutcome::Rejected, 2}};
    for (const auto& end : ends) {
        begin();
        answer({0x11});
        for (int i = 0; i < kFailureLimit && upload.uploadRunning(); ++i) answer(end.answer);
        EXPECT_EQ(host.results.back().outcome, end.outcome);
        EXPECT_EQ(host.results.back().record, end.record);
        EXPECT_EQ(host.results.back().records, end.record ? 3u : 0u);
        windUp();
    }
    begin();
    upload.OnLinkLost();
    EXPECT_EQ(host.results.back().outcome, UploadOutcome::LinkLost);
    EXPECT_EQ(host.results.back().record, 1u);
    windUp();
}
