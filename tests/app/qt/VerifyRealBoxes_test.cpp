// The write check with the program's real boxes and timers: the time-out's box held open while the
// late answer arrives inside its nested loop.
#include <QTest>

#include "RealBoxes.h"
#include "app/Unit1Verify.h"
#include "app/UnitRecords.h"
#include "support/EchoingLine.h"
#include "tools/SettingsMode.h"
#include "ui/CompareDialog.h"
#include "ui/UnitJournalWindow.h"

namespace {

using namespace std::chrono_literals;

class VerifyRealBoxes : public apptest::SimFixture<sim::SettingsMode> {
  protected:
    VerifyRealBoxes() {
        form1->setAnswerTimers(std::make_unique<platform::QtTimer>(),
                               std::make_unique<platform::QtTimer>());
        answerTimer = compareTimer = nullptr;  // the hand-driven ones are gone
    }

    // The operator types a phone number into ETl9, "Телефоны".
    void typeModulePhone(const QString& number) {
        form1->ETl[8]->clear();
        QTest::keyClicks(form1->ETl[8], number);
    }
    bool closed() {
        return apptest::pumpUntil([&] { return !form1->isVisible(); }, 1s);
    }

    platform::QtMessageService boxes;  // installed over the fixture's recording service
    realboxes::BoxOperator boxOperator{4s};
    realboxes::Watchdog watchdog{boxOperator, 20s};
};

// The phones' time-out (about 4.3 s at 9600 bit/s) puts the typed number back and its box stays
// open for 4 s; the terminal answers 2 s after the time-out, with the number cut to 8 bytes. The
// answer applies inside the box's loop, the restore does not overwrite it, and nothing else is
// said.
TEST_F(VerifyRealBoxes, ALateAnswerArrivesWhileTheTimeOutsBoxIsOpen) {
    sim::SettingsOptions late;
    late.textLimit = 8;
    startSimulator(late);
    form1->ReadTLBClick();  // answered at once: the write below needs no read of its own
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form1->EGpsLongitude->text().isEmpty(); }));
    apptest::pumpFor(300ms);
    mode->setAnswerDelay(6300);
    form1->ETl[4]->setText("+70000000005");
    bool answeredUnderTheBox = false;
    QObject::connect(form1->ETl[4], &QLineEdit::textChanged, [&](const QString& text) {
        if (text == "+7000000") answeredUnderTheBox = QApplication::activeModalWidget() != nullptr;
    });
    form1->WriteTLBClick();
    ASSERT_TRUE(apptest::pumpUntil([&] { return form1->ETl[4]->text() == "+7000000"; }, 15s));
    ASSERT_TRUE(
        apptest::pumpUntil([&] { return QApplication::activeModalWidget() == nullptr; }, 10s));
    apptest::pumpFor(300ms);
    ASSERT_EQ(boxOperator.texts().size(), 1u);
    EXPECT_EQ(boxOperator.texts()[0].rfind(app::kSilentText, 0), 0u) << boxOperator.texts()[0];
    EXPECT_TRUE(answeredUnderTheBox);
    EXPECT_EQ(form1->ETl[4]->text(), "+7000000");
}

const std::string kUnwrittenPhones = std::string(app::kUnwrittenText) + "\"Телефоны\".\n";

// Closing with a typed number: "Отмена" keeps the window and sends nothing, "Записать" writes
// and closes once the terminal has confirmed it; a terminal that stays silent keeps the window
// open with the number back on screen; "Не записывать" then closes without a request.
TEST_F(VerifyRealBoxes, ClosingWithTypedValuesAsksAndNeverLosesThem) {
    startSimulator();
    boxOperator.holdFor(200ms);
    form1->show();
    apptest::pumpFor(500ms);  // the missing help file's box on show
    std::size_t base = boxOperator.texts().size();
    auto said = [&](std::size_t n) { return boxOperator.texts().at(base + n); };
    typeModulePhone("+79005550009");
    boxOperator.press({"Cancel"});
    form1->close();
    EXPECT_FALSE(closed());
    ASSERT_EQ(boxOperator.texts().size(), base + 1);
    EXPECT_EQ(said(0), kUnwrittenPhones + "Записать их в терминал перед выходом?");
    EXPECT_TRUE(mode->requests().empty());

    boxOperator.press({"Write"});
    form1->close();
    EXPECT_TRUE(apptest::pumpUntil([&] { return !form1->isVisible(); }, 10s));
    EXPECT_EQ(mode->store().value("ModulePhone"), "+79005550009");
    EXPECT_EQ(boxOperator.texts().size(), base + 2);

    form1->show();
    apptest::pumpFor(500ms);
    base = boxOperator.texts().size();
    typeModulePhone("+79005550010");
    mode->setMuted(true);
    boxOperator.press({"Write"});
    form1->close();
    // The time-out's box: the window stays, the typed number back and still marked.
    ASSERT_TRUE(apptest::pumpUntil([&] { return boxOperator.texts().size() == base + 2; }, 15s));
    EXPECT_EQ(said(1).rfind(app::kSilentText, 0), 0u) << said(1);
    EXPECT_FALSE(closed());
    EXPECT_EQ(form1->ETl[8]->text(), "+79005550010");
    EXPECT_EQ(form1->ETl[8]->property(app::FieldMarks::kProperty).toString(), "edited");

    const std::size_t requests = mode->requests().size();
    boxOperator.press({"Discard"});
    form1->close();
    EXPECT_TRUE(closed());
    EXPECT_EQ(mode->requests().size(), requests);
}

// File > Open of a configuration and "Взять значения терминала" over a typed number ask first
// ("Не записывать" / "Отмена"); cancelled, the screen stays as typed (and the table at hand).
TEST_F(VerifyRealBoxes, OpenAndTakeAskBeforeReplacingTypedValues) {
    startSimulator();
    boxOperator.holdFor(200ms);
    typeModulePhone("+79005550011");
    boxOperator.press({"Cancel"});
    open("other.abt", "TL9=+79001112233:");
    ASSERT_EQ(boxOperator.texts().size(), 1u);
    EXPECT_EQ(boxOperator.texts()[0], kUnwrittenPhones + "Открыть файл, не записывая их?");
    EXPECT_EQ(form1->ETl[8]->text(), "+79005550011");

    form1->CompareWithTerminal->trigger();
    auto* dialog = form1->findChild<ui::CompareDialog*>("CompareDialog");
    ASSERT_TRUE(apptest::pumpUntil([&] { return dialog->isVisible(); }, 10s));
    boxOperator.press({"Cancel"});
    dialog->CompareTakeTerminal->click();
    ASSERT_EQ(boxOperator.texts().size(), 2u);
    EXPECT_EQ(boxOperator.texts()[1],
              kUnwrittenPhones + "Взять значения терминала, не записывая их?");
    EXPECT_EQ(form1->ETl[8]->text(), "+79005550011");
    EXPECT_TRUE(dialog->isVisible());

    boxOperator.press({"Discard"});
    dialog->CompareTakeTerminal->click();
    EXPECT_EQ(form1->ETl[8]->text().toStdString(), mode->store().value("ModulePhone"));
    typeModulePhone("+79005550012");
    boxOperator.press({"Discard"});
    open("other.abt", "TL9=+79001112233:");
    EXPECT_EQ(form1->ETl[8]->text(), "+79001112233");
    EXPECT_EQ(boxOperator.texts().size(), 4u);
}

// The close question held open while a write's answer confirms the number: "Записать" then sends
// nothing more and closes. Held open while the adapter is pulled: "Записать" cannot send, says
// so, and the window stays with the number.
TEST_F(VerifyRealBoxes, TheCloseQuestionOutlivesAnAnswerOrAnUnplug) {
    sim::SettingsOptions slow;
    slow.answerDelayMs = 300;
    startSimulator(slow);
    form1->show();
    apptest::pumpFor(500ms);  // the missing help file's box on show
    boxOperator.holdFor(1500ms);
    typeModulePhone("+79005550013");
    form1->WriteTLBClick();
    boxOperator.press({"Write"});
    form1->close();
    EXPECT_TRUE(apptest::pumpUntil([&] { return !form1->isVisible(); }, 5s));
    ASSERT_EQ(mode->requests().size(), 2u);  // the first write of the link: its snapshot first
    EXPECT_EQ(mode->requests()[0], "$Pass=Vostel:End:");
    EXPECT_EQ(mode->store().value("ModulePhone"), "+79005550013");

    form1->show();
    apptest::pumpFor(500ms);
    const std::size_t base = boxOperator.texts().size();
    typeModulePhone("+79005550014");
    QTimer::singleShot(300, [&] { simulator.reset(); });  // inside the question's loop
    boxOperator.press({"Write"});
    form1->close();
    ASSERT_TRUE(apptest::pumpUntil([&] { return boxOperator.texts().size() >= base + 2; }, 10s));
    EXPECT_EQ(boxOperator.texts()[base + 1], "Разрыв соединения");
    EXPECT_FALSE(closed());
    EXPECT_EQ(form1->ETl[8]->text(), "+79005550014");
    EXPECT_EQ(form1->ETl[8]->property(app::FieldMarks::kProperty).toString(), "edited");
}

// The operator types a number, or opens a file, while a Read is on its way: the answer that comes
// after is older than what the operator set and leaves it (a typed number still marked, so closing
// asks).
TEST_F(VerifyRealBoxes, AnAnswerNeverReplacesWhatTheOperatorSetAfterItsRequest) {
    sim::SettingsOptions slow;
    slow.answerDelayMs = 1000;
    startSimulator(slow);
    form1->ReadTLBClick();
    open("other.abt", "TL2=+79001112233:");
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form1->ETl[0]->text().isEmpty(); }, 10s));
    apptest::pumpFor(300ms);
    EXPECT_EQ(form1->ETl[1]->text(), "+79001112233");

    form1->ReadTLBClick();
    typeModulePhone("+79005550015");
    ASSERT_TRUE(apptest::pumpUntil([&] { return form1->ETl[1]->text() == "+79161234502"; }, 10s));
    apptest::pumpFor(300ms);
    EXPECT_EQ(form1->ETl[8]->text(), "+79005550015");
    EXPECT_EQ(form1->ETl[8]->property(app::FieldMarks::kProperty).toString(), "edited");
    EXPECT_TRUE(boxOperator.texts().empty());
}

// A terminal that stops for half a second, or a whole one, in the middle of its answer and then
// goes on: the window waits for the rest. A Read, a write and a comparison end with every value
// on screen (or in the table), nothing put back, and no box; the write is confirmed.
TEST_F(VerifyRealBoxes, AnAnswerThatPausesMidwayIsWaitedFor) {
    for (const unsigned gapMs : {500u, 1000u}) {
        SCOPED_TRACE(gapMs);
        sim::SettingsOptions halting;
        halting.chunks = 2;
        halting.gapMs = gapMs;
        startSimulator(halting);
        form1->ReadTLBClick();
        ASSERT_TRUE(apptest::pumpUntil([&] { return !form1->EGpsLongitude->text().isEmpty(); }));
        apptest::pumpFor(300ms);
        EXPECT_EQ(form1->ETl[0]->text().toStdString(), mode->store().value("Phone1"));

        form1->setPanelText(1, "");
        form1->ETl[4]->setText("+70000000005");
        form1->WriteTLBClick();
        EXPECT_TRUE(apptest::pumpUntil(
            [&] { return form1->panelText(1).startsWith(app::kConfirmedText); }, 10s))
            << form1->panelText(1).toStdString();
        apptest::pumpFor(300ms);
        EXPECT_EQ(form1->ETl[4]->text(), "+70000000005");

        form1->CompareWithTerminalClick();
        auto* dialog = form1->findChild<ui::CompareDialog*>("CompareDialog");
        ASSERT_TRUE(apptest::pumpUntil([&] { return dialog && dialog->isVisible(); }, 10s))
            << (boxOperator.texts().empty() ? "" : boxOperator.texts()[0]);
        EXPECT_EQ(dialog->CompareTable->rowCount(), 0);
        dialog->hide();
        EXPECT_TRUE(boxOperator.texts().empty()) << boxOperator.texts()[0];
    }
}

// A line that echoes: the echo of the write carries the very values sent and is no answer. The
// terminal's own answer, with the number cut to 8 bytes, is what the write is checked against.
class EchoRealBoxes : public apptest::SimFixture<testsupport::EchoingLine> {
  protected:
    EchoRealBoxes() {
        form1->setAnswerTimers(std::make_unique<platform::QtTimer>(),
                               std::make_unique<platform::QtTimer>());
        answerTimer = compareTimer = nullptr;
    }
    platform::QtMessageService boxes;
    realboxes::BoxOperator boxOperator{1s};
    realboxes::Watchdog watchdog{boxOperator, 20s};
};

TEST_F(EchoRealBoxes, AnEchoOfTheWriteConfirmsNothing) {
    sim::SettingsOptions cutting;
    cutting.textLimit = 8;
    startSimulator(cutting);
    form1->ETl[4]->setText("+70000000005");
    form1->WriteTLBClick();
    ASSERT_TRUE(apptest::pumpUntil([&] { return !boxOperator.texts().empty(); }, 10s));
    EXPECT_NE(boxOperator.texts()[0].find(app::kNotTakenText), std::string::npos)
        << boxOperator.texts()[0];
    EXPECT_EQ(form1->ETl[4]->text(), "+7000000");
}

}  // namespace

namespace {

// The journal's RestoreToScreen end to end with the program's own boxes and timers: a number
// written over the terminal's, the read before it put back from the journal (every field marked
// edited), written again and confirmed, and the terminal holding the number it had at first.
TEST_F(VerifyRealBoxes, AKeptReadRestoredFromTheJournalIsWrittenAndConfirmed) {
    ::setenv("XDG_DATA_HOME", folder.path().c_str(), 1);  // unless the records are open already
    startSimulator();
    records::SqlStore& store = *app::UnitRecords::instance().recorder().local();
    form1->ReadTLBClick();
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form1->EGpsLongitude->text().isEmpty(); }));
    apptest::pumpFor(300ms);
    const QString held = form1->ETl[1]->text();
    ASSERT_FALSE(held.isEmpty());
    const auto kept = store.events("004512");
    ASSERT_FALSE(kept.empty());
    const int readRow = static_cast<int>(kept.size()) - 1;  // events listed oldest first
    ASSERT_EQ(kept.back().kind, records::Kind::Read);

    form1->ETl[1]->clear();
    QTest::keyClicks(form1->ETl[1], "+79990001122");
    form1->WriteTLBClick();
    ASSERT_TRUE(apptest::pumpUntil(
        [&] { return form1->panelText(1).startsWith(app::kConfirmedText); }, 15s));
    ASSERT_EQ(mode->store().value("Phone2"), "+79990001122");

    form1->OpenUnitJournal->trigger();
    auto* journal = form1->findChild<ui::UnitJournalWindow*>("UnitJournalWindow");
    ASSERT_NE(journal, nullptr);
    const auto units = journal->UnitsTable->findItems("004512", Qt::MatchExactly);
    ASSERT_EQ(units.size(), 1);
    journal->UnitsTable->selectRow(units[0]->row());
    journal->EventsTable->selectRow(readRow);
    journal->RestoreToScreen->click();
    EXPECT_EQ(form1->ETl[1]->text(), held);
    EXPECT_EQ(form1->ETl[1]->property("vigilMark").toString(), "edited");

    form1->setPanelText(1, "");
    form1->WriteTLBClick();
    ASSERT_TRUE(apptest::pumpUntil(
        [&] { return form1->panelText(1).startsWith(app::kConfirmedText); }, 15s));
    EXPECT_EQ(mode->store().value("Phone2"), held.toStdString());
    EXPECT_EQ(form1->ETl[1]->property("vigilMark").toString(), "");
    EXPECT_TRUE(boxOperator.texts().empty());
}

}  // namespace
