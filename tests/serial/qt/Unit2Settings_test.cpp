// Loading and saving the port settings, and the port list.
#include "Form2Harness.h"

using namespace form2test;

namespace {

const std::string kHeader = "Windows Registry Editor Version 5.00\n\n[Quorveth\\ComPort]\n";

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

}  // namespace

TEST_F(Form2Test, FirstRunStoresTheDefaultsAndKeepsTheDesignList) {
    mapPort(3, "/dev/ttyUSB7");
    TForm2& f = createForm();
    EXPECT_EQ(readFile(registryFile()),
              kHeader +
                  "\"ComBaud\"=dword:00000006\n\"ComNum\"=dword:00000001\n\"StopBits\"=dword:00000000\n"
                  "\"Control\"=dword:00000000\n\"DataBit\"=dword:00000003\n\"Parity\"=dword:00000000\n");
    EXPECT_EQ(f.ComboBox2->count(), 15);
    EXPECT_EQ(f.ComboBox2->currentIndex(), -1);
    EXPECT_EQ(f.CommPort1->ComNumber(), 1);
    EXPECT_EQ(f.CommPort1->GetBaud(), 9600);
    EXPECT_EQ(f.ComboBox1->currentIndex(), 6);
    EXPECT_EQ(f.ComboBox5->currentIndex(), 3);
    EXPECT_TRUE(messages.shown().empty());

    // The next start finds the key and writes nothing.
    const auto written = std::filesystem::last_write_time(registryFile());
    form.reset();
    createForm();
    EXPECT_EQ(std::filesystem::last_write_time(registryFile()), written);
}

TEST_F(Form2Test, TheStoredPortIsSelectedByItsNumber) {
    mapPort(1, "/dev/ttyS0");
    mapPort(3, "/dev/ttyUSB0");
    mapPort(12, "/dev/ttyACM0");
    storeSettings(storedDefaults(3));
    TForm2& f = createForm();
    EXPECT_EQ(itemsOf(f.ComboBox2), QStringList({"COM1", "COM12", "COM3"}));
    EXPECT_EQ(f.ComboBox2->currentText(), QString("COM3"));
    EXPECT_EQ(f.CommPort1->ComNumber(), 3);
    // Each item says which device it is.
    EXPECT_EQ(f.ComboBox2->itemData(2, Qt::ToolTipRole).toString(), QString("/dev/ttyUSB0"));
    EXPECT_EQ(f.ComboBox2->toolTip(), QString("/dev/ttyUSB0"));

    form.reset();
    storeSettings(storedDefaults(7));
    TForm2& g = createForm();
    EXPECT_EQ(g.ComboBox2->currentIndex(), 0);
    EXPECT_EQ(g.ComboBox2->currentText(), QString("COM1"));
    EXPECT_EQ(g.CommPort1->ComNumber(), 1);
}

TEST_F(Form2Test, WithoutPortsTheStoredNumberStays) {
    storeSettings(storedDefaults(7));
    TForm2& f = createForm();
    EXPECT_EQ(f.ComboBox2->count(), 0);
    EXPECT_EQ(f.CommPort1->ComNumber(), 7);
}

TEST_F(Form2Test, StoredSettingsReachTheComponent) {
    storeSettings(
        "\"ComBaud\"=dword:0000000c\n\"ComNum\"=dword:00000002\n\"StopBits\"=dword:00000002\n"
        "\"Control\"=dword:00000001\n\"DataBit\"=dword:00000002\n\"Parity\"=dword:00000002\n");
    mapPort(2, "/dev/ttyUSB1");
    TForm2& f = createForm();
    EXPECT_EQ(f.CommPort1->GetBaud(), 115200);
    EXPECT_EQ(f.CommPort1->StopBits(), sb2_0);
    EXPECT_EQ(f.CommPort1->Control(), ccSoft);
    EXPECT_EQ(f.CommPort1->DataBits(), 7);
    EXPECT_EQ(f.CommPort1->Parity(), paEven);
    EXPECT_EQ(f.ComboBox1->currentText(), QString("115200"));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(Form2Test, AMissingOrMistypedValueEndsTheLoadingWithTheFrameworksMessage) {
    // "ComNum" missing: the rate before it is shown, nothing after it is read or applied.
    storeSettings("\"ComBaud\"=dword:0000000c\n\"StopBits\"=dword:00000002\n");
    mapPort(4, "/dev/ttyUSB4");
    {
        TForm2& f = createForm();
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].text, "Failed to get data for 'ComNum'");
        EXPECT_EQ(messages.shown()[0].caption, "");
        EXPECT_EQ(f.ComboBox1->currentIndex(), 12);
        EXPECT_EQ(f.CommPort1->GetBaud(), 9600);  // the change handlers were never reached
        EXPECT_EQ(f.ComboBox3->currentIndex(), 0);
        EXPECT_EQ(f.ComboBox2->count(), 15);
        EXPECT_EQ(f.Label1->text(), QString::fromUtf8("Не подключено"));
    }
    form.reset();
    messages.clear();
    storeSettings("\"ComBaud\"=\"6\"\n");
    createForm();
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Invalid data type for 'ComBaud'"});
    // The key was there: nothing was written over it.
    EXPECT_EQ(readFile(registryFile()), kHeader + "\"ComBaud\"=\"6\"\n");
}

TEST_F(Form2Test, AnIndexOutsideItsListLeavesNoSelection) {
    storeSettings(
        "\"ComBaud\"=dword:00000006\n\"ComNum\"=dword:00000001\n\"StopBits\"=dword:00000000\n"
        "\"Control\"=dword:00000000\n\"DataBit\"=dword:00000009\n\"Parity\"=dword:00000000\n");
    TForm2& f = createForm();
    EXPECT_EQ(f.ComboBox5->currentIndex(), -1);
    EXPECT_EQ(f.CommPort1->DataBits(), 8);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(Form2Test, AnUnreadableStoreIsReportedAndReplacedByTheDefaults) {
    std::ofstream(registryFile()) << "{ not a registry }\n";
    TForm2& f = createForm();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_NE(messages.shown()[0].text.find(registryFile()), std::string::npos);
    EXPECT_EQ(readFile(registryFile() + ".damaged"), "{ not a registry }\n");
    EXPECT_NE(readFile(registryFile()).find("\"DataBit\"=dword:00000003"), std::string::npos);
    EXPECT_EQ(f.CommPort1->ComNumber(), 1);
}

TEST_F(Form2Test, SaveInRegistryStoresThePortAndTheListIndices) {
    std::ofstream(registryFile()) << "[Quorveth\\Gprs]\n\"ItemIndex\"=dword:00000000\n\n[Quorveth\\ComPort]\n"
                                  << storedDefaults(3);
    mapPort(1, "/dev/ttyS0");
    mapPort(3, "/dev/ttyUSB0");
    TForm2& f = createForm();
    f.ComboBox2->setCurrentIndex(f.ComboBox2->findText("COM1"));
    f.ComboBox2Change();
    EXPECT_EQ(f.CommPort1->ComNumber(), 1);
    f.SaveInRegistry();
    EXPECT_EQ(readFile(registryFile()),
              "Windows Registry Editor Version 5.00\n\n[Quorveth\\Gprs]\n\"ItemIndex\"=dword:00000000\n\n"
              "[Quorveth\\ComPort]\n" + storedDefaults(1));
}

TEST_F(Form2Test, OpeningTheListRefillsItFromTheMapAndKeepsTheChoice) {
    mapPort(2, "/dev/ttyUSB2");
    storeSettings(storedDefaults(2));
    TForm2& f = createForm();
    mapPort(10, "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    f.ComboBox2DropDown();
    EXPECT_EQ(itemsOf(f.ComboBox2), QStringList({"COM10", "COM2"}));
    EXPECT_EQ(f.ComboBox2->currentText(), QString("COM2"));
    EXPECT_EQ(f.ComboBox2->itemData(0, Qt::ToolTipRole).toString(),
              QString("/dev/serial/by-id/usb-FTDI_FT232R-if00-port0"));

    // Picking the other one moves the component to its number.
    f.ComboBox2->setCurrentIndex(0);
    f.ComboBox2Change();
    EXPECT_EQ(f.CommPort1->ComNumber(), 10);
}

TEST_F(Form2Test, ANewAdapterIsListedWithItsProductName) {
    // A USB adapter as sysfs shows it: the tty's device link, the product name two levels up.
    const fs::path sys = dir / "sys";
    const fs::path usb = sys / "sys/devices/pci0/usb1/1-1";
    fs::create_directories(usb / "1-1:1.0");
    std::ofstream(usb / "product") << "FT232R USB UART\n";
    fs::create_directories(sys / "sys/class/tty/ttyUSB0");
    fs::create_directory_symlink(usb / "1-1:1.0", sys / "sys/class/tty/ttyUSB0/device");
    storeSettings(storedDefaults(1));
    TForm2& f = createForm();
    ASSERT_EQ(f.ComboBox2->count(), 1);
    EXPECT_EQ(f.ComboBox2->currentText(), QString("COM1"));
    EXPECT_EQ(f.ComboBox2->toolTip(),
              QString::fromStdString((sys / "dev/ttyUSB0").string()) + QString("\nFT232R USB UART"));
}
