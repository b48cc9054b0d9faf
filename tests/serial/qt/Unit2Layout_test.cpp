// The window as designed: names, captions, items and what is hidden or disabled at creation.
#include <QGroupBox>

#include "Form2Harness.h"

using namespace form2test;

namespace {

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

template <class W>
W* find(TForm2& f, const char* name) {
    W* w = f.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

}  // namespace

TEST_F(Form2Test, EveryControlHasItsNameAndCaption) {
    TForm2& f = createForm();
    EXPECT_EQ(f.windowTitle(), QString("CommPort"));
    const std::pair<const char*, const char*> labels[] = {
        {"Label1", "Не подключено"}, {"Label2", "Порт"}, {"Label3", "Скорость"}, {"Label4", "Стоп биты"},
        {"Label5", "Управление"}, {"Label6", "потоком"}, {"Label7", "Биты данных"}, {"Label8", "Четность"},
        {"Label9", "ReadInterval"}, {"Label10", "ReadTotalMultilier"}, {"Label11", "ReadTotalConstant"},
        {"Label12", "WriteTotalMultiplier"}, {"Label13", "WriteTotalConstant"}, {"Label14", "Новые"},
        {"Label15", "Старые"}};
    for (const auto& [name, caption] : labels) {
        if (QLabel* l = find<QLabel>(f, name)) {
            EXPECT_EQ(l->text(), QString::fromUtf8(caption)) << name;
        }
    }
    EXPECT_EQ(find<QPushButton>(f, "Button1")->text(), QString::fromUtf8("Подключить"));
    EXPECT_EQ(find<QPushButton>(f, "Button2")->text(), QString("OK"));
    EXPECT_EQ(find<QGroupBox>(f, "GroupBox1")->title(), QString::fromUtf8("Тайм-ауты чтения"));
    EXPECT_EQ(find<QGroupBox>(f, "GroupBox2")->title(), QString::fromUtf8("Тайм-ауты записи"));
    for (int n = 1; n <= 10; ++n) {
        const std::string name = "Edit" + std::to_string(n);
        QLineEdit* e = find<QLineEdit>(f, name.c_str());
        EXPECT_TRUE(e->text().isEmpty());
        EXPECT_EQ(e->isReadOnly(), n > 5) << name;
    }
    QTabWidget* pages = find<QTabWidget>(f, "PageControl1");
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->widget(0)->objectName(), QString("TabSheet1"));
    EXPECT_EQ(pages->tabText(0), QString("TabSheet1"));
    EXPECT_EQ(pages->widget(1)->objectName(), QString("TabSheet2"));
    EXPECT_EQ(pages->tabText(1), QString("TabSheet2"));
}

TEST_F(Form2Test, ListsHoldTheirDesignItems) {
    TForm2& f = createForm();
    EXPECT_EQ(itemsOf(find<QComboBox>(f, "ComboBox2")),
              QStringList({"COM1", "COM10", "COM11", "COM12", "COM13", "COM14", "COM15", "COM2", "COM3", "COM4",
                           "COM5", "COM6", "COM7", "COM8", "COM9"}));
    EXPECT_EQ(itemsOf(find<QComboBox>(f, "ComboBox1")),
              QStringList({"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "56000",
                           "57600", "115200", "128000", "256000"}));
    EXPECT_EQ(itemsOf(find<QComboBox>(f, "ComboBox3")), QStringList({"1", "1,5", "2"}));
    EXPECT_EQ(itemsOf(find<QComboBox>(f, "ComboBox4")),
              QStringList({QString::fromUtf8("Нет"), "Xon/Xoff", QString::fromUtf8("Аппаратное")}));
    EXPECT_EQ(itemsOf(find<QComboBox>(f, "ComboBox5")), QStringList({"5", "6", "7", "8"}));
    EXPECT_EQ(itemsOf(find<QComboBox>(f, "ComboBox6")),
              QStringList({QString::fromUtf8("Нет"), QString::fromUtf8("Нечет"), QString::fromUtf8("Чет"),
                           QString::fromUtf8("Маркер"), QString::fromUtf8("Пробел")}));
}

TEST_F(Form2Test, OnlyThePortCanBeChosenAndTheTimeOutPageIsHidden) {
    TForm2& f = createForm();
    f.show();
    EXPECT_TRUE(f.ComboBox2->isEnabled());
    for (QComboBox* box : {f.ComboBox1, f.ComboBox3, f.ComboBox4, f.ComboBox5, f.ComboBox6})
        EXPECT_FALSE(box->isEnabled()) << box->objectName().toStdString();
    EXPECT_FALSE(f.Button1->isVisible());
    EXPECT_TRUE(f.PageControl1->isTabVisible(0));
    EXPECT_FALSE(f.PageControl1->isTabVisible(1));
    EXPECT_EQ(f.size(), QSize(352, 256));
    EXPECT_EQ(f.PageControl1->geometry(), f.rect());
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(f.Label1->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));
    EXPECT_GT(f.Label1->font().pointSizeF(), f.Label2->font().pointSizeF());

    // A look at both pages for the reviewer: /tmp/vigil-form2-page*.png.
    f.grab().save("/tmp/vigil-form2-page1.png");
    f.PageControl1->setTabVisible(1, true);
    f.PageControl1->setCurrentIndex(1);
    f.grab().save("/tmp/vigil-form2-page2.png");
}
