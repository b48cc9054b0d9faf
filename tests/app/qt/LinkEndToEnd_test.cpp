// The main window against the terminal simulator: the exact bytes of every request, reads that
// fill every page, writes whose values the terminal stores, and the requests that are refused.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <cstdlib>

#include "SimFixture.h"
#include "app/TRadioGroup.h"
#include "protocol/Cp1251.h"
#include "protocol/ParameterTable.h"
#include "tools/SettingsMode.h"

namespace {

using Link = apptest::SimFixture<sim::SettingsMode>;

QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

std::string cp(const char* utf8) { return *protocol::toCp1251(utf8); }

class LinkTest : public Link {
protected:
    void SetUp() override { startSimulator(); }

    // The requests the terminal has taken so far, once there are `count`.
    std::vector<std::string> waitRequests(std::size_t count) {
        apptest::pumpUntil([&] { return mode->requests().size() >= count; });
        return mode->requests();
    }

    // Waits until the terminal's answer to the latest request has been parsed (its last item).
    void waitAnswer(QLineEdit* filled) {
        ASSERT_TRUE(apptest::pumpUntil([&] { return !filled->text().isEmpty(); }));
        apptest::pumpFor(std::chrono::milliseconds(50));
    }

    QLineEdit* edit(std::string_view name) { return form1->findChild<QLineEdit*>(q(name)); }
};

// Every control shows the terminal's value in the form the table gives it.
void expectControlsShowStore(TForm1& form, const sim::ParameterStore& store) {
    for (const protocol::Parameter& p : protocol::kParameters) {
        if (p.control == "EAdcCod" && store.value(p).empty()) continue;
        const std::string& v = store.value(p);
        QWidget* w = form.findChild<QWidget*>(q(p.control));
        switch (p.form) {
        case protocol::ValueForm::Text:
            EXPECT_EQ(qobject_cast<QLineEdit*>(w)->text().toStdString(), protocol::fromCp1251ForDisplay(v)) << p.control;
            break;
        case protocol::ValueForm::Flag:
            EXPECT_EQ(qobject_cast<QCheckBox*>(w)->isChecked(), v == "1") << p.control;
            break;
        case protocol::ValueForm::IndexDigit:
            if (auto* c = qobject_cast<QComboBox*>(w))
                EXPECT_EQ(c->currentIndex(), v[0] - '0') << p.control;
            else
                EXPECT_EQ(qobject_cast<TRadioGroup*>(w)->itemIndex(), v[0] - '0') << p.control;
            break;
        case protocol::ValueForm::PressCountDigit:
            EXPECT_EQ(qobject_cast<QComboBox*>(w)->currentIndex(), v[0] - '1') << p.control;
            break;
        case protocol::ValueForm::HexDigit:
            EXPECT_EQ(qobject_cast<QSlider*>(w)->value(), std::stoi(v, nullptr, 16)) << p.control;
            break;
        }
    }
}

TEST_F(LinkTest, ReadSendsSeventeenBytesAndFillsEveryPage) {
    form1->ETl[0]->setText("keep?");
    form1->ReadInternetBClick();
    const auto requests = waitRequests(1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], "$Pass=Vostel:End:");
    waitAnswer(form1->EGpsLongitude);
    expectControlsShowStore(*form1, mode->store());
    EXPECT_TRUE(form1->WriteTLB->isEnabled());
    EXPECT_TRUE(form1->ToolButton6->isEnabled());
    EXPECT_EQ(form1->RequestMask, 0);
    EXPECT_TRUE(form1->panelText(0) == "USB" || form1->panelText(0) == "       USB");
    EXPECT_NE(form1->Label35->text(), "0");
    if (const char* shots = std::getenv("VIGIL_SHOTS"))
        for (int i = 0; i < 5; ++i) {
            form1->PageControl1->setCurrentIndex(i);
            form1->grab().save(QStringLiteral("%1/read-tab%2.png").arg(shots).arg(i));
        }
}

TEST_F(LinkTest, EachReadButtonSendsTheSameRead) {
    form1->ReadApnBClick();
    form1->ReadTLBClick();
    form1->ReadMicBClick();
    form1->ReadGpsBClick();
    const auto requests = waitRequests(4);
    ASSERT_EQ(requests.size(), 4u);
    for (const auto& r : requests) EXPECT_EQ(r, "$Pass=Vostel:End:");
}

TEST_F(LinkTest, WritePhonesSendsTheGroupStoresItAndRefills) {
    form1->ReadTLBClick();
    waitAnswer(form1->EGpsLongitude);
    const char* phones[] = {"+79001112233", "89002223344", "", "Дом", "5", "6", "7", "8", "+79990000000"};
    for (int i = 0; i < 9; ++i) form1->ETl[static_cast<std::size_t>(i)]->setText(QString::fromUtf8(phones[i]));
    for (int i = 0; i < 8; ++i) {
        form1->ChSim1ForP[static_cast<std::size_t>(i)]->setChecked(i % 2 == 0);
        form1->ChSim1ForVoice[static_cast<std::size_t>(i)]->setChecked(i == 7);
    }
    form1->WriteTLBClick();
    // Right after the hand-over the sent controls are empty, until the answer refills them.
    EXPECT_TRUE(form1->ETl[0]->text().isEmpty());
    EXPECT_FALSE(form1->ChSim1ForP[0]->isChecked());

    std::string expected = "$Pass=Vostel:";
    for (int i = 0; i < 9; ++i) expected += "TL" + std::to_string(i + 1) + "=" + cp(phones[i]) + ":";
    for (int i = 0; i < 8; ++i) expected += "Sms" + std::to_string(i + 1) + "En=" + (i % 2 == 0 ? "1" : "0") + ":";
    for (int i = 0; i < 8; ++i) expected += "Voice" + std::to_string(i + 1) + "En=" + (i == 7 ? "1" : "0") + ":";
    expected += "End:";
    const auto requests = waitRequests(2);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1], expected);

    waitAnswer(form1->ETl[0]);
    const sim::ParameterStore store = mode->store();
    EXPECT_EQ(store.value("Phone4"), cp("Дом"));
    EXPECT_EQ(store.value("Phone1"), "+79001112233");
    EXPECT_EQ(form1->ETl[3]->text(), "Дом");
    EXPECT_TRUE(form1->ChSim1ForP[0]->isChecked());
    EXPECT_TRUE(form1->ChSim1ForVoice[7]->isChecked());
    expectControlsShowStore(*form1, store);
}

TEST_F(LinkTest, WriteInternetAndAccessSendTheirItemsInOrder) {
    form1->ReadInternetBClick();
    waitAnswer(form1->EGpsLongitude);
    form1->EditIp[0]->setText("10.0.0.1");
    form1->EditPort[0]->setText("8080");
    form1->EApn1->setText(QString::fromUtf8("интернет"));
    form1->EAus1->setText("");
    form1->ChSim1ForIp[1]->setChecked(true);
    const std::string cont[] = {form1->EConnectPeriod[0]->text().toStdString(), form1->EConnectPeriod[1]->text().toStdString(),
                                form1->EConnectPeriod[2]->text().toStdString(), form1->EConnectPeriod[3]->text().toStdString()};
    std::string expected = "$Pass=Vostel:";
    for (int i = 0; i < 4; ++i) {
        const auto k = static_cast<std::size_t>(i);
        expected += "Ip" + std::to_string(i + 1) + "=" + form1->EditIp[k]->text().toStdString() + ":";
        expected += "Port" + std::to_string(i + 1) + "=" + form1->EditPort[k]->text().toStdString() + ":";
    }
    for (int i = 0; i < 4; ++i) expected += "CONT" + std::to_string(i + 1) + "=" + cont[i] + ":";
    for (int i = 0; i < 4; ++i)
        expected += "GET" + std::to_string(i + 1) + "=" +
                    std::string(1, static_cast<char>('0' + form1->CBGet[static_cast<std::size_t>(i)]->currentIndex())) + ":";
    for (int i = 0; i < 4; ++i)
        expected += "Ip" + std::to_string(i + 1) + "En=" +
                    (form1->ChSim1ForIp[static_cast<std::size_t>(i)]->isChecked() ? "1" : "0") + ":";
    expected += "End:";
    form1->WriteInternetBClick();
    EXPECT_TRUE(form1->EditIp[0]->text().isEmpty());
    EXPECT_EQ(form1->CBGet[0]->currentIndex(), -1);

    const std::string access = "$Pass=Vostel:Apn1=" + cp("интернет") + ":Aus1=:Apas1=" +
                               form1->EApas1->text().toStdString() + ":BlSt1=" + form1->EBlSt1->text().toStdString() +
                               ":BlTm1=" + form1->EBlTm1->text().toStdString() + ":End:";
    form1->WriteApnBClick();
    const auto requests = waitRequests(3);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1], expected);
    EXPECT_EQ(requests[2], access);
    waitAnswer(form1->EApn1);
    waitAnswer(form1->EditIp[0]);
    EXPECT_EQ(form1->EApn1->text(), QString::fromUtf8("интернет"));
    EXPECT_EQ(mode->store().value("Apn"), cp("интернет"));
    EXPECT_EQ(mode->store().value("ServerPort1"), "8080");
    EXPECT_EQ(form1->EditIp[0]->text(), "10.0.0.1");
    EXPECT_TRUE(form1->ChSim1ForIp[1]->isChecked());
}

TEST_F(LinkTest, SettingsWriteAllEraseAndMonitor) {
    form1->ReadMicBClick();
    waitAnswer(form1->EGpsLongitude);
    form1->TrackBar1->setValue(12);
    form1->CBNmbPress->setCurrentIndex(1);
    form1->RadioGroup1->setItemIndex(4);
    form1->WriteMicBClick();
    EXPECT_EQ(form1->CBNmbPress->currentIndex(), -1);
    EXPECT_EQ(form1->RadioGroup1->itemIndex(), -1);
    EXPECT_EQ(form1->TrackBar1->value(), 12);
    auto requests = waitRequests(2);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1], "$Pass=Vostel:REG=C:NmbPress=2:Coord=4:End:");
    apptest::pumpUntil([&] { return form1->RadioGroup1->itemIndex() == 4; });
    EXPECT_EQ(mode->store().value("MicSensitivity"), "C");

    // Position 10 goes out as "A"; "1" is the first press count; write-all keeps the group order.
    form1->TrackBar1->setValue(10);
    form1->CBNmbPress->setCurrentIndex(0);
    apptest::pumpUntil([&] { return form1->CBNmbPress->currentIndex() == 0; });
    form1->ToolButton6Click();
    requests = waitRequests(3);
    ASSERT_EQ(requests.size(), 3u);
    const std::string& all = requests[2];
    EXPECT_EQ(all.rfind("$Pass=Vostel:REG=A:NmbPress=1:Coord=4:TL1=", 0), 0u) << all;
    const char* order[] = {"TL9=", "Sms1En=", "Sms8En=", "Voice1En=", "Voice8En=", "Ip1=", "Port1=", "Ip4=",
                           "Port4=", "CONT1=", "CONT4=", "GET1=", "GET4=", "Ip1En=", "Ip4En=", "Apn1=",
                           "Aus1=", "Apas1=", "BlSt1=", "BlTm1=", "End:"};
    std::size_t at = 0;
    for (const char* key : order) {
        const std::size_t found = all.find(key, at);
        ASSERT_NE(found, std::string::npos) << key;
        at = found;
    }
    EXPECT_EQ(all.substr(all.size() - 4), "End:");

    form1->Button1Click();
    requests = waitRequests(4);
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[3], "$Pass=Vostel:Eeprom=Erase:End:");
    EXPECT_EQ(requests[3].size(), 30u);

    form1->PageControl1->setCurrentIndex(6);
    form1->PageControl1->setCurrentIndex(2);
    requests = waitRequests(6);
    ASSERT_EQ(requests.size(), 6u);
    EXPECT_EQ(requests[4], "$Pass=Vostel:Monitor=On:End:");
    EXPECT_EQ(requests[5], "$Pass=Vostel:Monitor=Off:End:");
    EXPECT_EQ(form1->RequestMask, 0);
}

TEST_F(LinkTest, MonitorPageShowsTheTraffic) {
    form1->PageControl1->setCurrentIndex(6);
    ASSERT_TRUE(apptest::pumpUntil([&] { return form1->MemoIn->blockCount() > 3; }));
    form1->BClearMemoClick();
    EXPECT_TRUE(form1->MemoIn->toPlainText().isEmpty());
}

// Refused requests (":" that would split an item, a character cp1251 lacks, more than the buffer
// holds) send nothing and leave every control as typed; the message names the field.
TEST_F(LinkTest, RefusedRequestsSendNothingAndChangeNothing) {
    struct Case {
        QLineEdit* field;
        QString text;
        void (TForm1::*press)();
        const char* named;
    };
    const Case cases[] = {{form1->ETl[2], "12:Eeprom=Erase", &TForm1::WriteTLBClick, "TL3"},
                          {form1->EApn1, QString::fromUtf8("net中"), &TForm1::WriteApnBClick, "APN"},
                          {form1->EApn1, QString(5000, QChar('a')), &TForm1::WriteApnBClick, ""}};
    form1->ETl[0]->setText("+7900");
    for (const Case& c : cases) {
        messages.clear();
        c.field->setText(c.text);
        (form1.get()->*c.press)();
        ASSERT_EQ(messages.shown().size(), 1u) << c.named;
        EXPECT_NE(messages.texts()[0].find(c.named), std::string::npos) << messages.texts()[0];
        EXPECT_EQ(c.field->text(), c.text);
        EXPECT_EQ(form1->ETl[0]->text(), "+7900");
        EXPECT_EQ(form1->RequestMask, 0);
        c.field->clear();
    }
    apptest::pumpFor(std::chrono::milliseconds(100));
    EXPECT_TRUE(simulator->receivedBytes().empty());
}

// With the port closed the operator's input stays; the port window says why nothing was sent.
TEST_F(LinkTest, ClosedPortChangesNoControl) {
    form1->ToolButton3Click();
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form2->CommPort1->IsEnabled(); }));
    EXPECT_EQ(TImageList::imageIndex(form1->ToolButton1), 0);
    EXPECT_EQ(TImageList::imageIndex(form1->ToolButton3), 3);
    messages.clear();
    form1->ETl[0]->setText("+79001112233");
    form1->ChSim1ForP[0]->setChecked(true);
    form1->EditIp[0]->setText("10.0.0.1");
    form1->WriteTLBClick();
    form1->ReadInternetBClick();
    ASSERT_EQ(messages.shown().size(), 2u);
    for (const auto& m : messages.shown()) {
        EXPECT_EQ(m.text, "Разрыв соединения");
        EXPECT_EQ(m.caption, "COM port error");
    }
    EXPECT_EQ(form1->ETl[0]->text(), "+79001112233");
    EXPECT_TRUE(form1->ChSim1ForP[0]->isChecked());
    EXPECT_EQ(form1->EditIp[0]->text(), "10.0.0.1");

    // A tab switch with the port closed sends nothing and says nothing.
    messages.clear();
    form1->PageControl1->setCurrentIndex(6);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(LinkTest, ToolButtonsOnlyRegisterWhenAlreadyInThatState) {
    form1->ToolButton1Click();  // already connected
    apptest::pumpFor(std::chrono::milliseconds(50));
    EXPECT_TRUE(form2->CommPort1->IsEnabled());
    EXPECT_EQ(form1->panelText(0), form2->Label1->text());
    form1->ToolButton3Click();
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form2->CommPort1->IsEnabled(); }));
    form1->ToolButton3Click();  // already disconnected
    apptest::pumpFor(std::chrono::milliseconds(50));
    EXPECT_FALSE(form2->CommPort1->IsEnabled());
    EXPECT_TRUE(messages.shown().empty());
}

}  // namespace
