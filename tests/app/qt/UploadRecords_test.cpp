// The firmware upload in the windows' records, on the whole simulated terminal (its settings
// firmware, then the bootloader after the link is closed): the settings read for the records
// before the link closes, the screen left as the operator had it, and the upload kept with its
// update file and outcome; without that read the operator is asked, and a "no" uploads nothing.
#include <gmock/gmock.h>

#include "WindowFixture.h"
#include "app/UnitRecords.h"
#include "records/FileDigest.h"
#include "tools/TerminalMode.h"
#include "update/FirmwareUpload.h"

namespace {

class UploadRecords : public apptest::SimFixture<sim::TerminalMode> {
  protected:
    // Before the program's records are first opened: they live in this test's folder.
    UploadRecords() { ::setenv("XDG_DATA_HOME", folder.path().c_str(), 1); }
};

TEST_F(UploadRecords, TheTerminalIsReadBeforeTheUploadAndTheUploadIsKept) {
    startSimulator();
    loadImage(3000);
    records::SqlStore& store = *app::UnitRecords::instance().recorder().local();
    const std::size_t before = store.events("004512").size();
    form1->ETl[0]->setText("+70000000001");  // the operator's, not the terminal's
    form1->BUpgradeClick();
    ASSERT_TRUE(apptest::pumpUntil([&] { return form1->uploadLocked(); }));
    EXPECT_EQ(form1->ETl[0]->text(), "+70000000001");
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form2->CommPort1->IsEnabled(); }));
    ASSERT_TRUE(timer1->fire());
    finishUpload();
    EXPECT_TRUE(messages.shown().empty());
    ASSERT_EQ(form1->panelText(1), QString::fromUtf8(update::kSuccessVersion01Text));

    const auto events = store.events("004512");
    ASSERT_EQ(events.size(), before + 2);
    const records::Event& snapshot = events[before];
    EXPECT_EQ(snapshot.kind, records::Kind::Read);
    EXPECT_EQ(snapshot.command, "Снимок перед обновлением");
    EXPECT_EQ(records::valueOf(snapshot.values, "Phone1"), "+79161234501");
    const records::Event& upload = events[before + 1];
    EXPECT_EQ(upload.kind, records::Kind::Upload);
    EXPECT_EQ(upload.result, records::Result::Ok);
    EXPECT_EQ(upload.idCodText, snapshot.idCodText);
    // The port the simulator's pty is mapped to, and the device behind it.
    EXPECT_EQ(upload.port, "COM7");
    EXPECT_THAT(upload.adapter, ::testing::StartsWith("pts/"));
    ASSERT_TRUE(upload.upload.has_value());
    const std::string file = (folder.path() / "fw.enc").string();
    EXPECT_EQ(upload.upload->fileName, file);
    EXPECT_EQ(upload.upload->sha256, records::sha256OfFile(file).value_or("?"));
    EXPECT_EQ(upload.upload->size, static_cast<std::int64_t>(std::filesystem::file_size(file)));
    EXPECT_EQ(upload.upload->records, 3);  // 1040 payload bytes a record
    EXPECT_EQ(upload.upload->outcome, update::kSuccessVersion01Text);
}

// The link closed (nothing to read from): the operator is asked, and a "no" leaves all as it was.
TEST_F(UploadRecords, WithoutTheReadTheOperatorIsAskedAndMayStop) {
    startSimulator();
    loadImage(100);
    form1->ToolButton3Click();
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form2->CommPort1->IsEnabled(); }));
    messages.clear();
    records::SqlStore& store = *app::UnitRecords::instance().recorder().local();
    const std::size_t before = store.events("004512").size();
    messages.answer = platform::MessageResult::Cancel;
    form1->BUpgradeClick();
    ASSERT_TRUE(apptest::pumpUntil([&] { return messages.shown().size() == 1; }));
    EXPECT_EQ(messages.texts()[0], app::kUploadSnapshotFailedQuestion);
    apptest::pumpFor(std::chrono::milliseconds(100));
    EXPECT_FALSE(form1->uploadLocked());
    EXPECT_TRUE(form1->BUpgrade->isEnabled());
    EXPECT_FALSE(timer1->enabled());
    EXPECT_EQ(store.events("004512").size(), before);

    // Asked again, the operator goes on: the upload runs and is kept, unit from the screen.
    messages.answer = platform::MessageResult::Ok;
    beginUpload();
    finishUpload();
    EXPECT_EQ(messages.shown().size(), 2u);
}

// The adapter pulled while the read for the records waits on a silent terminal: the read runs
// out, the operator is asked, and a "no" leaves nothing started and "Програм." usable.
TEST_F(UploadRecords, UnpluggedDuringTheReadNothingIsStarted) {
    sim::SettingsOptions silent;
    silent.mute = true;
    startSimulator(silent);
    loadImage(100);
    messages.answer = platform::MessageResult::Cancel;
    form1->BUpgradeClick();
    ASSERT_TRUE(compareTimer->enabled());
    simulator.reset();
    apptest::pumpFor(std::chrono::milliseconds(300));
    ASSERT_TRUE(compareTimer->fire());
    ASSERT_TRUE(apptest::pumpUntil([&] {
        return !messages.texts().empty() &&
               messages.texts().back() == app::kUploadSnapshotFailedQuestion;
    }));
    apptest::pumpFor(std::chrono::milliseconds(100));
    EXPECT_FALSE(form1->uploadLocked());
    EXPECT_FALSE(timer1->enabled());
    EXPECT_TRUE(form1->BUpgrade->isEnabled());
}

}  // namespace
