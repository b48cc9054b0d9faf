// Records that cannot be kept (a damaged records file): EraseEeprom and the firmware upload read
// nothing for them, go on, and tell the operator at the step itself, on the status bar as a read
// would.
#include <gmock/gmock.h>

#include "WindowFixture.h"
#include "app/UnitRecords.h"
#include "tools/TerminalMode.h"

using ::testing::StartsWith;

namespace {

class RecordsNotKept : public apptest::SimFixture<sim::TerminalMode> {
  protected:
    // Before the program's records are first opened.
    RecordsNotKept() {
        std::filesystem::create_directories(folder.path() / "vigil");
        apptest::writeFile(folder.path() / "vigil" / "records.sqlite", std::string(4096, 'x'));
        ::setenv("XDG_DATA_HOME", folder.path().c_str(), 1);
    }
};

TEST_F(RecordsNotKept, EraseAndUploadSaySoAndReadNothingForThem) {
    startSimulator();
    ASSERT_FALSE(app::UnitRecords::instance().recorder().keeping());
    messages.answer = platform::MessageResult::Ok;
    form1->Button1Click();
    EXPECT_THAT(form1->panelText(1).toStdString(), StartsWith("Журнал не ведётся: "));
    EXPECT_FALSE(compareTimer->enabled());  // no read for the records
    EXPECT_TRUE(apptest::pumpUntil([&] { return mode->store().value("Phone1").empty(); }));

    loadImage(100);
    form1->BUpgradeClick();
    EXPECT_THAT(form1->panelText(1).toStdString(), StartsWith("Журнал не ведётся: "));
    EXPECT_FALSE(compareTimer->enabled());
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form2->CommPort1->IsEnabled(); }));
    ASSERT_TRUE(timer1->fire());
    finishUpload();
    EXPECT_EQ(messages.shown().size(), 1u);  // the erase question, nothing more
}

}  // namespace
