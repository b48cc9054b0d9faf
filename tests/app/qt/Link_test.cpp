// The main window against the terminal simulator: every Read and Write control wired to the link
// and back into the controls, and the refused and the unsent requests. The request bytes are the
// protocol tests' job; the upload and the link's faults are in the fault matrix.
#include "WindowFixture.h"
#include "protocol/Cp1251.h"
#include "protocol/ParameterTable.h"
#include "tools/SettingsMode.h"
#include "ui/TRadioGroup.h"

namespace {

using namespace std::chrono_literals;
class LinkTest : public apptest::SimFixture<sim::SettingsMode> {
  protected:
    void SetUp() override { startSimulator(); }

    // The requests the terminal has taken so far, once there are `count`.
    std::vector<std::string> waitRequests(std::size_t count) {
        apptest::pumpUntil([&] { return mode->requests().size() >= count; });
        return mode->requests();
    }
    // Until the answer to the latest request has refilled `emptied` (emptied by the request).
    void waitAnswer(QLineEdit* emptied) {
        ASSERT_TRUE(apptest::pumpUntil([&] { return !emptied->text().isEmpty(); }));
        apptest::pumpFor(50ms);
    }
};

// What a Read puts into the controls, Write-all sends back: the terminal then holds what it held,
// but for the values the operator changed on each page.
TEST_F(LinkTest, ReadFillsEveryPageAndWriteAllSendsItBack) {
    form1->ReadInternetBClick();
    EXPECT_EQ(waitRequests(1), std::vector<std::string>{"$Pass=Vostel:End:"});
    waitAnswer(form1->EGpsLongitude);
    EXPECT_TRUE(form1->ToolButton6->isEnabled());
    EXPECT_EQ(form1->RequestMask, 0);
    EXPECT_TRUE(form1->panelText(0) == "USB" || form1->panelText(0) == "       USB");
    EXPECT_NE(form1->Label35->text(), "0");

    sim::ParameterStore expected = mode->store();
    const auto change = [&](std::string_view name, std::string value) {
        const auto p = std::find_if(protocol::kParameters.begin(), protocol::kParameters.end(),
                                    [&](const protocol::Parameter& q) { return q.name == name; });
        ASSERT_NE(p, protocol::kParameters.end()) << name;
        expected.set(*p, std::move(value));
    };
    form1->ETl[3]->setText(QString::fromUtf8("Дом"));
    change("Phone4", *protocol::toCp1251("Дом"));
    form1->ChSim1ForVoice[7]->setChecked(!form1->ChSim1ForVoice[7]->isChecked());
    change("VoiceEnable8", form1->ChSim1ForVoice[7]->isChecked() ? "1" : "0");
    form1->EditPort[0]->setText("8080");
    change("ServerPort1", "8080");
    form1->EApn1->setText(QString::fromUtf8("интернет"));
    change("Apn", *protocol::toCp1251("интернет"));
    form1->TrackBar1->setValue(10);  // goes out as "A"
    change("MicSensitivity", "A");
    form1->ToolButton6Click();
    const auto requests = waitRequests(2);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].rfind("$Pass=Vostel:REG=A:", 0), 0u) << requests[1];
    waitAnswer(form1->ETl[0]);
    const sim::ParameterStore stored = mode->store();
    for (const protocol::Parameter& p : protocol::kParameters) {
        if (!p.writeKey.empty()) {
            EXPECT_EQ(stored.value(p), expected.value(p)) << p.name;
        }
    }
    EXPECT_EQ(form1->ETl[3]->text(), QString::fromUtf8("Дом"));
    EXPECT_EQ(form1->EApn1->text(), QString::fromUtf8("интернет"));

    // Each group's own Write sends that group only; every other Read button sends the Read.
    const std::pair<void (TForm1::*)(), const char*> buttons[] = {
        {&TForm1::WriteMicBClick, "REG="},      {&TForm1::WriteTLBClick, "TL1="},
        {&TForm1::WriteInternetBClick, "Ip1="}, {&TForm1::WriteApnBClick, "Apn1="},
        {&TForm1::ReadApnBClick, "End:"},       {&TForm1::ReadTLBClick, "End:"},
        {&TForm1::ReadMicBClick, "End:"},       {&TForm1::ReadGpsBClick, "End:"}};
    for (const auto& button : buttons) (form1.get()->*button.first)();
    const auto sent = waitRequests(10);
    ASSERT_EQ(sent.size(), 10u);
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(sent[i + 2].rfind(std::string("$Pass=Vostel:") + buttons[i].second, 0), 0u)
            << sent[i + 2];
}

TEST_F(LinkTest, EraseAndTheMonitorPage) {
    form1->Button1Click();
    waitRequests(2);  // the records' snapshot, then the erase
    form1->PageControl1->setCurrentIndex(6);
    ASSERT_TRUE(apptest::pumpUntil([&] { return form1->MemoIn->blockCount() > 3; }));
    form1->BClearMemoClick();
    EXPECT_TRUE(form1->MemoIn->toPlainText().isEmpty());
    form1->PageControl1->setCurrentIndex(2);
    EXPECT_EQ(waitRequests(4),
              (std::vector<std::string>{
                  "$Pass=Vostel:End:", "$Pass=Vostel:Eeprom=Erase:End:",
                  "$Pass=Vostel:Monitor=On:End:", "$Pass=Vostel:Monitor=Off:End:"}));
    EXPECT_EQ(form1->RequestMask, 0);
}

// A refused request (here a ":" that would split an item) sends nothing and leaves every control
// as typed; the message names the field.
TEST_F(LinkTest, ARefusedRequestSendsNothingAndChangesNothing) {
    form1->ETl[0]->setText("+7900");
    form1->ETl[2]->setText("12:Eeprom=Erase");
    form1->WriteTLBClick();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_NE(messages.texts()[0].find("TL3"), std::string::npos) << messages.texts()[0];
    EXPECT_EQ(form1->ETl[2]->text(), "12:Eeprom=Erase");
    EXPECT_EQ(form1->ETl[0]->text(), "+7900");
    EXPECT_EQ(form1->RequestMask, 0);
    apptest::pumpFor(100ms);
    EXPECT_TRUE(simulator->receivedBytes().empty());
}

// The tool buttons act only on a change of state; with the port closed the operator's input
// stays and the port window says why nothing was sent.
TEST_F(LinkTest, ClosedPortChangesNoControl) {
    form1->ToolButton1Click();  // already connected
    apptest::pumpFor(50ms);
    EXPECT_TRUE(form2->CommPort1->IsEnabled());
    EXPECT_EQ(form1->panelText(0), form2->Label1->text());
    form1->ToolButton3Click();
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form2->CommPort1->IsEnabled(); }));
    form1->ToolButton3Click();  // already disconnected
    EXPECT_EQ(TImageList::imageIndex(form1->ToolButton1), 0);
    EXPECT_TRUE(messages.shown().empty());
    form1->ETl[0]->setText("+79001112233");
    form1->WriteTLBClick();
    form1->ReadInternetBClick();
    EXPECT_EQ(messages.texts(), std::vector<std::string>(2, "Разрыв соединения"));
    EXPECT_EQ(messages.shown()[0].caption, "COM port error");
    EXPECT_EQ(form1->ETl[0]->text(), "+79001112233");
    messages.clear();
    form1->PageControl1->setCurrentIndex(6);  // a tab switch sends nothing and says nothing
    EXPECT_TRUE(messages.shown().empty());
}

}  // namespace
