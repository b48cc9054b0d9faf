// The port list as the operator sees it: device and product in each item, absent devices marked,
// refilled while the window is shown when a device comes or goes; and the cause of a failed open in
// the status label, shown whole.
#include "Form2Harness.h"
#include "serial/Unit2StatusLabel.h"

using namespace form2test;

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}
QString ptsName(const PtyPair& pty) {
    return q(pty.slavePath().substr(5));
}  // "pts/N"

TEST_F(Form2Test, TheListFollowsDevicesThatComeAndGoWhileTheWindowIsShown) {
    storeSettings(storedDefaults(4));
    // COM4 is mapped through a stable name of its own, as udev gives adapters: once that name is
    // gone the port is absent, even if another program gets the freed pty number at once.
    auto first = std::make_unique<PtyPair>();
    const fs::path stable = dir / "usb-Vigil_Adapter-if00-port0";
    fs::create_symlink(first->slavePath(), stable);
    mapPort(4, stable.string());
    mapPort(6, "/dev/ttyUSB-vigil-gone");
    TForm2& f = createForm();
    f.show();
    const QString firstItem = "COM4 — " + ptsName(*first);
    EXPECT_EQ(itemsOf(f.ComboBox2),
              firstItem + QString::fromUtf8("|COM6 — ttyUSB-vigil-gone (не подключён)"));
    EXPECT_EQ(f.ComboBox2->currentText(), firstItem);

    PtyPair second;
    mapPort(5, second.slavePath());
    const QString secondItem = "COM5 — " + ptsName(second);
    EXPECT_TRUE(processUntil([&] { return f.ComboBox2->findText(secondItem) >= 0; }))
        << itemsOf(f.ComboBox2).toStdString();

    const QString gone = "COM4 — " + q(stable.string()) + QString::fromUtf8(" (не подключён)");
    fs::remove(stable);
    first.reset();  // the pty's node going is what wakes the list
    EXPECT_TRUE(processUntil([&] { return f.ComboBox2->findText(gone) >= 0; }))
        << itemsOf(f.ComboBox2).toStdString();
    EXPECT_EQ(f.ComboBox2->currentText(), gone);  // still the stored port
    EXPECT_EQ(f.CommPort1->ComNumber(), 4);
}

TEST_F(Form2Test, AFailedOpenShowsItsCauseInTheStatusLabelAndTheBox) {
    storeSettings(storedDefaults(6));
    mapPort(6, "/dev/ttyUSB-vigil-gone");
    TForm2& f = createForm();
    f.Button1Click();
    const std::string cause =
        "Устройство /dev/ttyUSB-vigil-gone отсутствует: подключите адаптер или выберите другой "
        "порт";
    EXPECT_EQ(f.Label1->text(), q(cause));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Не могу открыть COM порт\n" + cause});
    EXPECT_EQ(f.Button1->text(), QString::fromUtf8("Подключить"));
    EXPECT_FALSE(f.CommPort1->Open());
}

}  // namespace

namespace {

// The status texts fit the fixed window whole: the connected state in the designed font, a long
// cause line (a by-id path and a group hint) wrapped in a smaller one.
TEST_F(Form2Test, TheStatusLabelShowsTheLongestTextsWhole) {
    TForm2& f = createForm();
    f.show();
    ASSERT_TRUE(processUntil([&] { return f.isVisible(); }));
    auto* label = dynamic_cast<TStatusLabel*>(f.Label1);
    ASSERT_NE(label, nullptr);
    const auto fits = [&](const char* text) {
        label->setText(QString::fromUtf8(text));
        const QFont font = label->fittedFont();
        const QRect area = label->contentsRect();
        const QRect needed = QFontMetrics(font).boundingRect(area, Qt::TextWordWrap, label->text());
        return std::make_pair(needed.width() <= area.width() && needed.height() <= area.height(),
                              font.pointSizeF());
    };
    const double designed = label->font().pointSizeF();
    EXPECT_EQ(fits("Подключено на скорости 115200"), std::make_pair(true, designed));
    const auto [whole, size] = fits(
        "Нет доступа к /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0: "
        "пользователь "
        "installer уже в группе dialout, но вошёл в систему до этого: выйдите из системы и войдите "
        "снова");
    EXPECT_TRUE(whole);
    EXPECT_GE(size, TStatusLabel::SmallestPointSize);
}

}  // namespace
