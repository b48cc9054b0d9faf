// The operator's values against a terminal that does not answer, answers late, or stores a value
// otherwise than sent: what comes back, what is said, what is marked; the erase question; and the
// comparison of the screen with the terminal. The answers' time-outs are fired by hand, but one
// case that runs on the real timer.
#include <QTest>
#include <set>

#include "WindowFixture.h"
#include "app/FieldMarks.h"
#include "app/Unit1Verify.h"
#include "files/AbtFile.h"
#include "files/ServerExport.h"
#include "platform/ComPortMap.h"
#include "platform/PortDiagnostics.h"
#include "platform/qt/QtTimer.h"
#include "protocol/Cp1251.h"
#include "protocol/RequestBuilder.h"
#include "protocol/TransmitBuffer.h"
#include "protocol/ValueStore.h"
#include "tools/SettingsMode.h"
#include "ui/CompareDialog.h"

namespace {

using namespace std::chrono_literals;

QString mark(const QWidget* w) {
    return w->property(app::FieldMarks::kProperty).toString();
}
bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class VerifyTest : public apptest::SimFixture<sim::SettingsMode> {
  protected:
    std::vector<std::string> waitRequests(std::size_t count) {
        EXPECT_TRUE(apptest::pumpUntil([&] { return mode->requests().size() >= count; }));
        return mode->requests();
    }
    void waitMessages(std::size_t count) {
        EXPECT_TRUE(apptest::pumpUntil([&] { return messages.shown().size() >= count; }));
        apptest::pumpFor(50ms);
        EXPECT_EQ(messages.shown().size(), count)
            << (messages.texts().empty() ? "" : messages.texts().back());
    }
    // A Read, answered: the screen shows what the terminal holds.
    void readAll() {
        const std::size_t before = mode->requests().size();
        form1->ReadTLBClick();
        waitRequests(before + 1);
        ASSERT_TRUE(apptest::pumpUntil(
            [&] { return !form1->EGpsLongitude->text().isEmpty() && !answerTimer->enabled(); }));
    }
    // The operator's own values on three pages (as typed or loaded).
    void fillScreen() {
        form1->ETl[0]->setText("+70000000001");
        form1->ChSim1ForP[2]->setChecked(true);
        form1->EApn1->setText("apn.example");
        form1->CBNmbPress->setCurrentIndex(1);
    }
    void expectScreenFilled() {
        EXPECT_EQ(form1->ETl[0]->text(), "+70000000001");
        EXPECT_TRUE(form1->ChSim1ForP[2]->isChecked());
        EXPECT_EQ(form1->EApn1->text(), "apn.example");
        EXPECT_EQ(form1->CBNmbPress->currentIndex(), 1);
    }
};

// Silent terminal: what a request emptied comes back at the time-out, with one message naming
// the pages, and no write sends those controls meanwhile; a late answer still applies and says
// nothing more.
TEST_F(VerifyTest, SilentTerminalGetsTheValuesBackAndALateAnswerStillApplies) {
    sim::SettingsOptions late;
    late.answerDelayMs = 300;  // later than the time-out fired by hand at once
    startSimulator(late);
    readAll();  // the connection's answer: the writes below go out at once
    mode->setMuted(true);
    const std::vector<std::string> everyPage = {"Интернет", "Доступ", "Телефоны", "GPS",
                                                "Настройки"};
    const struct {
        std::vector<void (TForm1::*)()> buttons;
        std::vector<std::string> pages;
    } cases[] = {
        {{&TForm1::ReadTLBClick}, everyPage},
        {{&TForm1::ReadTLBClick, &TForm1::ReadGpsBClick},
         everyPage},  // what comes back is not the blanks
        {{&TForm1::WriteTLBClick}, {"Телефоны"}},
        {{&TForm1::WriteMicBClick}, {"Настройки"}},
    };
    for (const auto& c : cases) {
        messages.clear();
        fillScreen();
        const std::size_t sent = mode->requests().size();
        for (auto button : c.buttons) (form1.get()->*button)();
        waitRequests(sent + c.buttons.size());
        ASSERT_TRUE(answerTimer->enabled());
        EXPECT_GE(answerTimer->interval(), session::kAnswerTimeoutBaseMs);
        // Meanwhile a Write-all would send the emptied controls: refused, naming the pages.
        form1->ToolButton6Click();
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.texts()[0].rfind(app::kNotYetText, 0), 0u) << messages.texts()[0];
        for (const std::string& page : c.pages)  // the GPS values are never written
            EXPECT_EQ(has(messages.texts()[0], "\"" + page + "\""), page != "GPS")
                << messages.texts()[0];
        messages.clear();
        ASSERT_TRUE(answerTimer->fire());
        EXPECT_FALSE(answerTimer->enabled());
        expectScreenFilled();
        waitMessages(1);
        const std::string text = messages.texts()[0];
        EXPECT_TRUE(has(text, app::kSilentText)) << text;
        for (const std::string& page : c.pages) EXPECT_TRUE(has(text, "\"" + page + "\"")) << text;
        EXPECT_EQ(has(text, "\"Интернет\""), c.pages.size() > 1) << text;
    }

    mode->setMuted(false);
    messages.clear();
    form1->ReadTLBClick();
    ASSERT_TRUE(answerTimer->fire());
    expectScreenFilled();
    ASSERT_TRUE(apptest::pumpUntil([&] { return form1->ETl[0]->text() == "+79161234501"; }));
    EXPECT_EQ(form1->EApn1->text(), "internet.mts.ru");
    waitMessages(1);                         // the time-out's only
    EXPECT_EQ(mode->requests().size(), 7u);  // no Write-all among them
}

// A terminal that answers late: the answer to a read given up at its time-out comes while a
// write is on its way, with the terminal's old number. It confirms nothing of the write, which is
// judged by its own answer.
TEST_F(VerifyTest, TheLateAnswerOfAReadGivenUpIsNotTakenForTheWritesAnswer) {
    sim::SettingsOptions late;
    late.answerDelayMs = 300;  // later than the time-out fired by hand at once
    startSimulator(late);
    readAll();
    const std::size_t sent = mode->requests().size();
    form1->ReadTLBClick();
    waitRequests(sent + 1);
    ASSERT_TRUE(answerTimer->fire());
    waitMessages(1);  // the time-out's
    messages.clear();
    form1->ETl[4]->setText("+70000000005");
    form1->WriteTLBClick();
    waitRequests(sent + 2);
    ASSERT_TRUE(apptest::pumpUntil([&] { return !answerTimer->enabled(); }, 10s));
    apptest::pumpFor(100ms);
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().front();
    EXPECT_TRUE(form1->panelText(1).startsWith(app::kConfirmedText))
        << form1->panelText(1).toStdString();
    EXPECT_EQ(form1->ETl[4]->text(), "+70000000005");
}

// The real clock: the time-out fires by itself and puts the phones back.
TEST_F(VerifyTest, SilentWriteOnTheRealTimer) {
    form1->setAnswerTimers(std::make_unique<platform::QtTimer>(),
                           std::make_unique<platform::QtTimer>());
    startSimulator();
    form1->ReadTLBClick();  // the connection's answer: the write goes out at once
    ASSERT_TRUE(apptest::pumpUntil([&] { return form1->ETl[0]->text() == "+79161234501"; }));
    mode->setMuted(true);
    form1->ETl[4]->setText("+70000000005");
    form1->WriteTLBClick();
    EXPECT_TRUE(form1->ETl[4]->text().isEmpty());
    ASSERT_TRUE(apptest::pumpUntil([&] { return !messages.shown().empty(); }, 30s));
    EXPECT_EQ(form1->ETl[4]->text(), "+70000000005");
    EXPECT_TRUE(has(messages.texts()[0], "\"Телефоны\"")) << messages.texts()[0];
}

// A file loaded over an unanswered write replaces what it sent: that confirms nothing.
TEST_F(VerifyTest, AFileLoadedOverASilentWriteConfirmsNothing) {
    startSimulator();
    fillScreen();
    const auto file = folder.path() / "screen.abt";
    dialogs->answers.push_back(file.string());
    form1->Save1Click();
    ASSERT_TRUE(std::filesystem::exists(file));
    mode->setMuted(true);
    form1->WriteTLBClick();
    waitRequests(1);
    openPath(file);
    if (answerTimer->enabled()) {
        ASSERT_TRUE(answerTimer->fire());
    }
    apptest::pumpFor(50ms);
    EXPECT_FALSE(form1->panelText(1).startsWith(app::kConfirmedText))
        << form1->panelText(1).toStdString();
    expectScreenFilled();
}

// A write the terminal takes as sent: the status bar says so, no box, the edited mark goes.
TEST_F(VerifyTest, ConfirmedWriteClearsTheEditedMark) {
    startSimulator();
    readAll();
    EXPECT_EQ(mark(form1->ETl[1]), "");
    form1->ETl[1]->clear();
    QTest::keyClicks(form1->ETl[1], "+79990001122");
    form1->ChSim1ForVoice[3]->click();
    EXPECT_EQ(mark(form1->ETl[1]), "edited");
    EXPECT_EQ(mark(form1->ChSim1ForVoice[3]), "edited");
    EXPECT_EQ(mark(form1->ETl[2]), "");
    form1->WriteTLBClick();
    ASSERT_TRUE(
        apptest::pumpUntil([&] { return form1->panelText(1).startsWith(app::kConfirmedText); }));
    EXPECT_EQ(form1->panelText(1).toStdString(), std::string(app::kConfirmedText) + "\"Телефоны\"");
    apptest::pumpFor(50ms);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(mark(form1->ETl[1]), "");
    EXPECT_EQ(mark(form1->ChSim1ForVoice[3]), "");
    EXPECT_EQ(mode->store().value("Phone2"), "+79990001122");
    EXPECT_FALSE(answerTimer->enabled());
}

// The terminal keeps 8 bytes of a text: one message names that field with both values, and the
// control stays marked until the next read changes it.
TEST_F(VerifyTest, ValueStoredOtherwiseIsReportedAndMarked) {
    sim::SettingsOptions cut;
    cut.textLimit = 8;
    startSimulator(cut);
    form1->ETl[2]->setText("+79001234567");
    form1->ETl[3]->setText("112");
    form1->WriteTLBClick();
    waitMessages(1);
    const std::string text = messages.texts()[0];
    EXPECT_TRUE(has(text, app::kNotTakenText)) << text;
    EXPECT_TRUE(has(text,
                    "поле \"Телефон 3: Номер\" (TL3) на вкладке \"Телефоны\": отправлено "
                    "\"+79001234567\", получено \"+7900123\""))
        << text;
    EXPECT_FALSE(has(text, "TL4")) << text;
    EXPECT_EQ(mark(form1->ETl[2]), "mismatch");
    EXPECT_TRUE(form1->ETl[2]->toolTip().contains("+79001234567") &&
                form1->ETl[2]->toolTip().contains("\"+7900123\""));
    EXPECT_EQ(mark(form1->ETl[3]), "");
    EXPECT_EQ(form1->panelText(1).toStdString(), app::kNotConfirmedText);
    QTest::keyClicks(form1->ETl[2], "8");  // retyped: typed again, not yet in the terminal
    EXPECT_EQ(mark(form1->ETl[2]), "edited");
    EXPECT_FALSE(form1->ETl[2]->toolTip().contains("+79001234567"));
    readAll();
    EXPECT_EQ(mark(form1->ETl[2]), "");
    EXPECT_TRUE(form1->ETl[2]->toolTip().isEmpty());
}

// Every answer in two receptions cut inside an item: the cut item still counts, so the read and
// the write complete without a word.
TEST_F(VerifyTest, AnItemCutBetweenReceptionsStillCounts) {
    sim::SettingsOptions halves;
    halves.chunks = 2;
    halves.cutInsideItems = true;
    halves.gapMs = 100;
    startSimulator(halves);
    readAll();
    for (const protocol::Parameter& p : protocol::kParameters) {
        if (p.form == protocol::ValueForm::Text) {
            EXPECT_EQ(form1->controls().text(p), mode->store().value(p)) << p.name;
        }
    }
    form1->EApn1->setText("apn.halves");
    form1->WriteApnBClick();
    ASSERT_TRUE(
        apptest::pumpUntil([&] { return form1->panelText(1).startsWith(app::kConfirmedText); }));
    apptest::pumpFor(50ms);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(VerifyTest, EraseAsksFirst) {
    startSimulator();
    messages.answer = platform::MessageResult::Cancel;
    form1->Button1Click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.texts()[0], app::kEraseQuestion);
    EXPECT_EQ(messages.shown()[0].buttons, platform::MessageButtons::OkCancel);
    apptest::pumpFor(100ms);
    EXPECT_TRUE(simulator->receivedBytes().empty());
    messages.answer = platform::MessageResult::Ok;
    form1->Button1Click();
    // The read of the records' snapshot, then the erase.
    EXPECT_EQ(waitRequests(2),
              (std::vector<std::string>{"$Pass=Vostel:End:", "$Pass=Vostel:Eeprom=Erase:End:"}));
    EXPECT_EQ(mode->store().value("Phone1"), "");
}

// A prepared screen against the terminal: the table lists the two differing values (not the
// rest), the read touches no control, and writing the differences sends just their groups,
// checked like any write. Taking the terminal's values needs no request.
TEST_F(VerifyTest, CompareWritesOnlyTheDifferingGroups) {
    startSimulator();
    EXPECT_TRUE(form1->CompareWithTerminal->isEnabled());
    readAll();
    form1->ETl[1]->setText("+79990002222");
    form1->EApn1->setText("apn.prepared");
    form1->CompareWithTerminal->trigger();
    ui::CompareDialog* dialog = form1->findChild<ui::CompareDialog*>("CompareDialog");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(apptest::pumpUntil([&] { return dialog->isVisible(); }));
    EXPECT_EQ(mode->requests().back(), "$Pass=Vostel:End:");
    EXPECT_EQ(form1->ETl[1]->text(), "+79990002222");
    ASSERT_EQ(dialog->CompareTable->rowCount(), 2);
    const QString rows[2][4] = {
        {"Телефон 2: Номер (TL2)", "Телефоны", "+79990002222", "+79161234502"},
        {"APN (APN)", "Доступ", "apn.prepared", "internet.mts.ru"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(dialog->CompareTable->item(r, c)->text(), rows[r][c]) << r << c;

    dialog->CompareWriteScreen->click();
    const std::string written = waitRequests(3).back();
    EXPECT_EQ(written.rfind("$Pass=Vostel:TL1=", 0), 0u) << written;
    EXPECT_TRUE(has(written, "Apn1=apn.prepared:")) << written;
    EXPECT_FALSE(has(written, "REG=") || has(written, "Ip1=")) << written;
    ASSERT_TRUE(
        apptest::pumpUntil([&] { return form1->panelText(1).startsWith(app::kConfirmedText); }));
    EXPECT_EQ(form1->panelText(1).toStdString(),
              std::string(app::kConfirmedText) + "\"Доступ\", \"Телефоны\"");
    EXPECT_EQ(mode->store().value("Apn"), "apn.prepared");

    form1->ChSim1ForIp[3]->setChecked(!form1->ChSim1ForIp[3]->isChecked());
    form1->CompareWithTerminal->trigger();
    ASSERT_TRUE(apptest::pumpUntil([&] { return dialog->isVisible(); }));
    ASSERT_EQ(dialog->CompareTable->rowCount(), 1);
    dialog->CompareTakeTerminal->click();
    EXPECT_EQ(form1->ChSim1ForIp[3]->isChecked(), mode->store().value("ServerEnable4") == "1");
    apptest::pumpFor(50ms);
    EXPECT_EQ(mode->requests().size(), 4u);
    EXPECT_TRUE(messages.shown().empty());
}

// The comparison's read, unanswered: one message, and the controls as they were.
TEST_F(VerifyTest, CompareWithASilentTerminal) {
    startSimulator();
    mode->setMuted(true);
    fillScreen();
    form1->CompareWithTerminalClick();
    waitRequests(1);
    ASSERT_TRUE(compareTimer->fire());
    waitMessages(1);
    EXPECT_EQ(messages.texts()[0], platform::noAnswerText(7, platform::devicePathFor(7)) + " " +
                                       app::kCompareSilentText);
    expectScreenFilled();
}

}  // namespace

namespace {

// Every value reaches the wire and the files through its own control: a file that gives each value
// a value of its own is sent by the Write buttons, and saved, byte for byte as the core composes it
// from the file, so no control stands in for another parameter.
TEST_F(VerifyTest, EveryValueGoesOutAndIsSavedThroughItsOwnControl) {
    std::string file;
    const auto item = [&](const std::string& key, const std::string& value) {
        file += key + "=" + value + ":";
    };
    for (int n = 1; n <= 8; ++n) {
        const std::string k = std::to_string(n);
        item("TL" + k, "+790055500" + std::to_string(10 + n));
        item("Sms" + k + "En", std::to_string(n % 2));
        item("Voice" + k + "En", std::to_string(n / 2 % 2));
    }
    item("TL9", *protocol::toCp1251("Дача 9"));
    for (int n = 1; n <= 4; ++n) {
        const std::string k = std::to_string(n);
        item("Ip" + k, "10.0.0." + k);
        item("Port" + k, std::to_string(5000 + n));
        item("CONT" + k, std::to_string(7 * n));
        item("GET" + k, n == 2 || n == 3 ? "1" : "0");
        item("Ip" + k + "En", n == 1 || n == 4 ? "1" : "0");
    }
    item("NmbPress", "1");
    item("Coord", "3");
    item("Apn", *protocol::toCp1251("интернет"));
    item("Aus", "user");
    item("Apas", "pass");
    item("BlSt", "*102#");
    item("BlTm", "720");
    item("REG", "B");
    protocol::ValueStore fromFile;
    files::readAbt(reinterpret_cast<const std::uint8_t*>(file.data()),
                   static_cast<std::uint16_t>(file.size()), fromFile);

    startSimulator();
    open("every.abt", file);
    ASSERT_TRUE(messages.shown().empty()) << messages.texts()[0];
    dialogs->answers.push_back((folder.path() / "saved").string());
    form1->Save1Click();
    protocol::TransmitBuffer abt, xml;
    ASSERT_TRUE(files::composeAbt(fromFile, abt).ok);
    ASSERT_TRUE(files::composeServerExport(fromFile, xml).ok);
    EXPECT_EQ(apptest::slurp(folder.path() / "saved.abt"), abt.view());
    EXPECT_EQ(apptest::slurp(folder.path() / "SettingsAbt.xml"), xml.view());

    std::multiset<std::string> expected, sent;
    for (const auto& [click, mask] : std::vector<std::pair<void (TForm1::*)(), std::uint16_t>>{
             {&TForm1::WriteTLBClick, protocol::mask::Phones},
             {&TForm1::WriteInternetBClick, protocol::mask::Internet},
             {&TForm1::WriteApnBClick, protocol::mask::Access},
             {&TForm1::WriteMicBClick, protocol::mask::Settings},
             {&TForm1::ToolButton6Click, protocol::mask::WriteAll}}) {
        protocol::TransmitBuffer request;
        ASSERT_TRUE(protocol::composeRequest(fromFile, mask, request).ok);
        expected.insert(std::string(request.view()));
        form1->setPanelText(1, "");
        (form1.get()->*click)();
        ASSERT_TRUE(apptest::pumpUntil([&] {
            return form1->panelText(1).startsWith(app::kConfirmedText);
        })) << mask
            << (messages.texts().empty() ? "" : messages.texts().back());
    }
    for (const std::string& r : mode->requests())
        if (r != "$Pass=Vostel:End:") sent.insert(r);
    EXPECT_EQ(sent, expected);
}

}  // namespace
