// Loading and saving the port settings, and the port list.
#include "Form2Harness.h"

using namespace form2test;

TEST_F(Form2Test, FirstRunStoresTheDefaultsAndKeepsTheDesignList) {
    mapPort(3, "/dev/ttyUSB7");
    TForm2& f = createForm();
    EXPECT_EQ(registryText(), kKey + storedDefaults(1));
    EXPECT_EQ(f.ComboBox2->count(), 15);
    EXPECT_EQ(f.ComboBox2->currentIndex(), -1);
    EXPECT_EQ(f.CommPort1->ComNumber(), 1);
    EXPECT_EQ(f.CommPort1->GetBaud(), 9600);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(Form2Test, TheStoredPortIsSelectedByItsNumber) {
    storeSettings(storedDefaults(7));
    EXPECT_EQ(createForm().CommPort1->ComNumber(), 7);  // no ports at all: the number stays
    EXPECT_EQ(form->ComboBox2->count(), 0);

    mapPort(1, "/dev/ttyS0");
    mapPort(3, "/dev/ttyUSB0");
    mapPort(12, "/dev/ttyACM0");
    TForm2& g = createForm();
    EXPECT_EQ(portOf(g.ComboBox2->currentText()), QString("COM1"));  // 7 is not there: item 0
    EXPECT_EQ(g.CommPort1->ComNumber(), 1);

    storeSettings(storedDefaults(3));
    TForm2& f = createForm();
    EXPECT_EQ(portsOf(f.ComboBox2), QString("COM1|COM12|COM3"));
    EXPECT_EQ(portOf(f.ComboBox2->currentText()), QString("COM3"));
    EXPECT_EQ(f.CommPort1->ComNumber(), 3);
    EXPECT_EQ(f.ComboBox2->itemData(2, Qt::ToolTipRole).toString(), QString("/dev/ttyUSB0"));
    EXPECT_EQ(f.ComboBox2->toolTip(), QString("/dev/ttyUSB0"));
}

TEST_F(Form2Test, StoredIndicesReachTheComponentAndOneOutsideItsListSelectsNothing) {
    storeSettings(
        "\"ComBaud\"=dword:0000000c\n\"ComNum\"=dword:00000001\n\"StopBits\"=dword:00000002\n"
        "\"Control\"=dword:00000001\n\"DataBit\"=dword:00000009\n\"Parity\"=dword:00000002\n");
    TForm2& f = createForm();
    EXPECT_EQ(f.CommPort1->GetBaud(), 115200);
    EXPECT_EQ(f.CommPort1->StopBits(), sb2_0);
    EXPECT_EQ(f.CommPort1->Control(), ccSoft);
    EXPECT_EQ(f.CommPort1->Parity(), paEven);
    EXPECT_EQ(f.ComboBox5->currentIndex(), -1);
    EXPECT_EQ(f.CommPort1->DataBits(), 8);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(Form2Test, AMissingOrMistypedValueEndsTheLoadingWithTheFrameworksMessage) {
    storeSettings("\"ComBaud\"=dword:0000000c\n\"StopBits\"=dword:00000002\n");
    mapPort(4, "/dev/ttyUSB4");
    TForm2& f = createForm();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Failed to get data for 'ComNum'");
    EXPECT_EQ(messages.shown()[0].caption, "");
    EXPECT_EQ(f.ComboBox1->currentIndex(), 12);  // read before the failure
    EXPECT_EQ(f.ComboBox3->currentIndex(), 0);   // never read
    EXPECT_EQ(f.CommPort1->GetBaud(), 9600);     // the change handlers were not reached
    EXPECT_EQ(f.ComboBox2->count(), 15);

    messages.clear();
    storeSettings("\"ComBaud\"=\"6\"\n");
    createForm();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Invalid data type for 'ComBaud'"});
    EXPECT_EQ(registryText(),
              kKey + std::string("\"ComBaud\"=\"6\"\n"));  // the key exists: nothing written
}

TEST_F(Form2Test, AnUnreadableStoreIsReportedAndReplacedByTheDefaults) {
    std::ofstream(registryFile()) << "{ not a registry }\n";
    createForm();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_NE(messages.shown()[0].text.find(registryFile()), std::string::npos);
    EXPECT_EQ(registryText(".damaged"), "{ not a registry }\n");
    EXPECT_NE(registryText().find("\"DataBit\"=dword:00000003"), std::string::npos);
}

TEST_F(Form2Test, ThePortListIsRefilledOnOpeningAndSavedByNumber) {
    std::ofstream(registryFile())
        << "[Quorveth\\Gprs]\n\"ItemIndex\"=dword:00000000\n\n[Quorveth\\ComPort]\n"
        << storedDefaults(2);
    mapPort(2, "/dev/ttyUSB2");
    TForm2& f = createForm();
    mapPort(10, "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    f.ComboBox2DropDown();
    EXPECT_EQ(portsOf(f.ComboBox2), QString("COM10|COM2"));
    EXPECT_EQ(portOf(f.ComboBox2->currentText()), QString("COM2"));

    f.ComboBox2->setCurrentIndex(0);
    f.ComboBox2Change();
    EXPECT_EQ(f.CommPort1->ComNumber(), 10);
    f.SaveInRegistry();
    EXPECT_EQ(registryText(),
              "Windows Registry Editor Version 5.00\n\n[Quorveth\\Gprs]\n"
              "\"ItemIndex\"=dword:00000000\n\n[Quorveth\\ComPort]\n" +
                  storedDefaults(10));
}
