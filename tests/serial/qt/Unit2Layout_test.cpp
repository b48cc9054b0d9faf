// The window as designed: names, captions, items, and what is hidden or disabled at creation.
#include <QGroupBox>

#include "Form2Harness.h"

using namespace form2test;

namespace {

QString textOf(TForm2& f, const QString& name) {
    QObject* o = f.findChild<QObject*>(name);
    if (auto* l = qobject_cast<QLabel*>(o)) return l->text();
    if (auto* b = qobject_cast<QPushButton*>(o)) return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(o)) return g->title();
    if (auto* c = qobject_cast<QComboBox*>(o)) return itemsOf(c);
    return "<missing>";
}

}  // namespace

TEST_F(Form2Test, TheWindowIsAsDesigned) {
    TForm2& f = createForm();
    const std::pair<const char*, const char*> expected[] = {
        {"Label1", "Не подключено"},
        {"Label2", "Порт"},
        {"Label3", "Скорость"},
        {"Label4", "Стоп биты"},
        {"Label5", "Управление"},
        {"Label6", "потоком"},
        {"Label7", "Биты данных"},
        {"Label8", "Четность"},
        {"Label9", "ReadInterval"},
        {"Label10", "ReadTotalMultilier"},
        {"Label11", "ReadTotalConstant"},
        {"Label12", "WriteTotalMultiplier"},
        {"Label13", "WriteTotalConstant"},
        {"Label14", "Новые"},
        {"Label15", "Старые"},
        {"Button1", "Подключить"},
        {"Button2", "OK"},
        {"GroupBox1", "Тайм-ауты чтения"},
        {"GroupBox2", "Тайм-ауты записи"},
        {"ComboBox2",
         "COM1|COM10|COM11|COM12|COM13|COM14|COM15|COM2|COM3|COM4|COM5|COM6|COM7|COM8|COM9"},
        {"ComboBox1",
         "110|300|600|1200|2400|4800|9600|14400|19200|38400|56000|57600|115200|128000|256000"},
        {"ComboBox3", "1|1,5|2"},
        {"ComboBox4", "Нет|Xon/Xoff|Аппаратное"},
        {"ComboBox5", "5|6|7|8"},
        {"ComboBox6", "Нет|Нечет|Чет|Маркер|Пробел"}};
    for (const auto& [name, text] : expected)
        EXPECT_EQ(textOf(f, name), QString::fromUtf8(text)) << name;
    for (int n = 1; n <= 10; ++n) {
        auto* e = f.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n));
        ASSERT_NE(e, nullptr) << n;
        EXPECT_EQ(e->isReadOnly(), n > 5) << n;
    }
    EXPECT_EQ(f.windowTitle(), QString("CommPort"));
    EXPECT_EQ(f.PageControl1->tabText(1), QString("TabSheet2"));
    EXPECT_EQ(f.PageControl1->widget(1)->objectName(), QString("TabSheet2"));

    f.show();
    EXPECT_TRUE(f.ComboBox2->isEnabled());
    for (QComboBox* box : {f.ComboBox1, f.ComboBox3, f.ComboBox4, f.ComboBox5, f.ComboBox6})
        EXPECT_FALSE(box->isEnabled()) << box->objectName().toStdString();
    EXPECT_FALSE(f.Button1->isVisible());
    EXPECT_FALSE(f.PageControl1->isTabVisible(1));
    EXPECT_EQ(f.size(), QSize(352, 256));
    EXPECT_EQ(f.PageControl1->geometry(), f.rect());
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
}
