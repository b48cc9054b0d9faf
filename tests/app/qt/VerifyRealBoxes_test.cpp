// The write check with the program's real boxes and timers: the time-out's box held open while the
// late answer arrives inside its nested loop.
#include "RealBoxes.h"
#include "app/Unit1Verify.h"
#include "tools/SettingsMode.h"

namespace {

using namespace std::chrono_literals;

class VerifyRealBoxes : public apptest::SimFixture<sim::SettingsMode> {
protected:
    VerifyRealBoxes() {
        form1->setAnswerTimers(std::make_unique<platform::QtTimer>(), std::make_unique<platform::QtTimer>());
        answerTimer = compareTimer = nullptr;  // the hand-driven ones are gone
    }

    platform::QtMessageService boxes;  // installed over the fixture's recording service
    realboxes::BoxOperator boxOperator{4s};
    realboxes::Watchdog watchdog{boxOperator, 20s};
};

// The phones' time-out (about 4.3 s at 9600 bit/s) puts the typed number back and its box stays
// open for 4 s; the terminal answers 2 s after the time-out, with the number cut to 8 bytes. The
// answer applies inside the box's loop, the restore does not overwrite it, and nothing else is said.
TEST_F(VerifyRealBoxes, ALateAnswerArrivesWhileTheTimeOutsBoxIsOpen) {
    sim::SettingsOptions late;
    late.answerDelayMs = 6300;
    late.textLimit = 8;
    startSimulator(late);
    form1->ETl[4]->setText("+70000000005");
    bool answeredUnderTheBox = false;
    QObject::connect(form1->ETl[4], &QLineEdit::textChanged, [&](const QString& text) {
        if (text == "+7000000") answeredUnderTheBox = QApplication::activeModalWidget() != nullptr;
    });
    form1->WriteTLBClick();
    ASSERT_TRUE(apptest::pumpUntil([&] { return form1->ETl[4]->text() == "+7000000"; }, 15s));
    ASSERT_TRUE(apptest::pumpUntil([&] { return QApplication::activeModalWidget() == nullptr; }, 10s));
    apptest::pumpFor(300ms);
    ASSERT_EQ(boxOperator.texts().size(), 1u);
    EXPECT_EQ(boxOperator.texts()[0].rfind(app::kSilentText, 0), 0u) << boxOperator.texts()[0];
    EXPECT_TRUE(answeredUnderTheBox);
    EXPECT_EQ(form1->ETl[4]->text(), "+7000000");
}

}  // namespace
