// The port window's side of the ports: the cause of a failed open in the status label.
#include "Form2Harness.h"
#include "serial/Unit2StatusLabel.h"

using namespace form2test;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

TEST_F(Form2Test, AFailedOpenShowsItsCauseInTheStatusLabelAndTheBox) {
    storeSettings(storedDefaults(6));
    mapPort(6, "/dev/ttyUSB-vigil-gone");
    TForm2& f = createForm();
    f.Button1Click();
    const std::string cause = "Устройство /dev/ttyUSB-vigil-gone отсутствует: подключите адаптер или выберите другой порт";
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
        return std::make_pair(needed.width() <= area.width() && needed.height() <= area.height(), font.pointSizeF());
    };
    const double designed = label->font().pointSizeF();
    EXPECT_EQ(fits("Подключено на скорости 115200"), std::make_pair(true, designed));
    const auto [whole, size] =
        fits("Нет доступа к /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0: пользователь "
             "installer уже в группе dialout, но вошёл в систему до этого: выйдите из системы и войдите снова");
    EXPECT_TRUE(whole);
    EXPECT_GE(size, TStatusLabel::SmallestPointSize);
}

}  // namespace
