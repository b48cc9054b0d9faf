// HandleReception over the window's own controls: the prologue, the USB indicator and the
// answer rules as they reach real widgets (combo box vs radio group, track bar clamping,
// cp1251 texts, the change checks of the address fields).
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <cstring>

#include "WindowFixture.h"
#include "app/TRadioGroup.h"
#include "protocol/Cp1251.h"

namespace {

class Reception : public apptest::WindowFixture {
protected:
    Reception() { form1->ConnectionChanged(); }

    // One chunk, as the port window hands it over.
    void receive(const std::string& bytes) {
        std::memcpy(form1->ReceiveBuffer.data(), bytes.data(), bytes.size());
        form2->ReceivedCount = static_cast<std::uint16_t>(bytes.size());
        form1->HandleReception();
    }
};

TEST_F(Reception, PrologueAndUsbIndicator) {
    receive("OK");
    EXPECT_EQ(form1->Label35->text(), "2");
    EXPECT_EQ(form1->Label57->text(), "0");
    EXPECT_EQ(form1->panelText(0), "USB");
    receive("xyz");
    EXPECT_EQ(form1->Label35->text(), "3");
    EXPECT_EQ(form1->panelText(0), "       USB");
    receive("");
    EXPECT_EQ(form1->panelText(0), "USB");
    form1->Label35Click();
    EXPECT_EQ(form1->Label35->text(), "0");
}

TEST_F(Reception, Cp1251TextsAreShownAndEnableWriting) {
    receive("apn=" + *protocol::toCp1251("интернет") + ":");
    EXPECT_EQ(form1->EApn1->text(), QString::fromUtf8("интернет"));
    EXPECT_TRUE(form1->WriteApnB->isEnabled());
    EXPECT_TRUE(form1->ToolButton6->isEnabled());
}

TEST_F(Reception, NumbersPastTheListAndFlags) {
    form1->ChSim1ForP[2]->setChecked(true);
    receive("GET1=1:GET2=7:NMBPRESS=1:COORD=:SMS3EN=2:VOICE1EN=1:IP2EN=1:");
    EXPECT_EQ(form1->CBGet[0]->currentIndex(), 1);
    EXPECT_EQ(form1->CBGet[1]->currentIndex(), -1);  // a combo box past its items: no selection
    EXPECT_EQ(form1->CBNmbPress->currentIndex(), 1);  // the value 1 selects the item "2"
    EXPECT_EQ(form1->RadioGroup1->itemIndex(), 0);   // empty value: the first mode
    EXPECT_TRUE(form1->ChSim1ForP[2]->isChecked());   // "2" is no flag: left as it was
    EXPECT_TRUE(form1->ChSim1ForVoice[0]->isChecked());
    EXPECT_TRUE(form1->ChSim1ForIp[1]->isChecked());
    // Flags and numbers alone enable no Write control.
    EXPECT_FALSE(form1->WriteTLB->isEnabled());
    EXPECT_FALSE(form1->ToolButton6->isEnabled());

    receive("COORD=7:");
    EXPECT_EQ(form1->RadioGroup1->itemIndex(), 4);  // a radio group past its items: the last
}

TEST_F(Reception, MicrophoneDigit) {
    receive("REG=A:");
    EXPECT_EQ(form1->TrackBar1->value(), 10);
    receive("REG=a:");
    EXPECT_EQ(form1->TrackBar1->value(), 15);
    receive("REG=3");
    EXPECT_EQ(form1->TrackBar1->value(), 3);
    receive("xREG=");
    EXPECT_EQ(form1->TrackBar1->value(), 3);
}

// An answer that sets an implausible address warns as typing would, and keeps the text.
TEST_F(Reception, AddressFromAnAnswerRunsItsCheck) {
    receive("IP1=10.0.0.300:PORT1=80a:");
    EXPECT_EQ(form1->EditIp[0]->text(), "10.0.0.300");
    EXPECT_EQ(form1->EditPort[0]->text(), "80a");
    const auto texts = messages.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Не более 255");
    messages.clear();
    receive("IP1=10.0.0.300:");  // the same text again: no check
    EXPECT_TRUE(messages.shown().empty());
}

}  // namespace
