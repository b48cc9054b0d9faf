// The port settings window as designed: its controls, their names, captions and items.
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/qt/AccessibleNames.h"
#include "serial/LineRates.h"
#include "serial/Unit2.h"
#include "serial/Unit2StatusLabel.h"

namespace {

constexpr int kClientWidth = 352;
constexpr int kClientHeight = 256;
const QColor kMaroon(0x80, 0x00, 0x00);

template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(const char* name, const char* caption, QWidget* parent) {
    return named(new QLabel(QCoreApplication::translate("TForm2", caption), parent), name);
}

QLineEdit* edit(const char* name, QWidget* parent, bool readOnly) {
    auto* e = named(new QLineEdit(parent), name);
    e->setReadOnly(readOnly);
    return e;
}

QComboBox* fixedList(QComboBox* box, std::initializer_list<const char*> items) {
    box->setEditable(false);
    for (const char* item : items) box->addItem(QCoreApplication::translate("TForm2", item));
    return box;
}

}  // namespace

void TDropDownComboBox::showPopup() {
    if (OnDropDown) OnDropDown();
    QComboBox::showPopup();
}

void TForm2::CreateControls() {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("CommPort"));
    // Only the system menu (with its close item) and minimise in the title bar; no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    outer->addWidget(PageControl1);
    TabSheet1 = named(new QWidget, "TabSheet1");
    TabSheet2 = named(new QWidget, "TabSheet2");
    PageControl1->addTab(TabSheet1, QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet2, QStringLiteral("TabSheet2"));

    // Port page: a caption beside each list, the status line below.
    auto* grid = new QGridLayout(TabSheet1);
    grid->setVerticalSpacing(3);
    Label2 = label("Label2", QT_TRANSLATE_NOOP("TForm2", "Порт"), TabSheet1);
    ComboBox2 = named(new TDropDownComboBox(TabSheet1), "ComboBox2");
    Label3 = label("Label3", QT_TRANSLATE_NOOP("TForm2", "Скорость"), TabSheet1);
    ComboBox1 = fixedList(named(new QComboBox(TabSheet1), "ComboBox1"), {});
    for (const int rate : serial::kLineRates) ComboBox1->addItem(QString::number(rate));
    Label4 = label("Label4", QT_TRANSLATE_NOOP("TForm2", "Стоп биты"), TabSheet1);
    ComboBox3 = fixedList(named(new QComboBox(TabSheet1), "ComboBox3"), {"1", "1,5", "2"});
    Label5 = label("Label5", QT_TRANSLATE_NOOP("TForm2", "Управление"), TabSheet1);
    Label6 = label("Label6", QT_TRANSLATE_NOOP("TForm2", "потоком"), TabSheet1);
    ComboBox4 = fixedList(named(new QComboBox(TabSheet1), "ComboBox4"),
                          {QT_TRANSLATE_NOOP("TForm2", "Нет"), "Xon/Xoff",
                           QT_TRANSLATE_NOOP("TForm2", "Аппаратное")});
    Label7 = label("Label7", QT_TRANSLATE_NOOP("TForm2", "Биты данных"), TabSheet1);
    ComboBox5 = fixedList(named(new QComboBox(TabSheet1), "ComboBox5"), {"5", "6", "7", "8"});
    Label8 = label("Label8", QT_TRANSLATE_NOOP("TForm2", "Четность"), TabSheet1);
    ComboBox6 =
        fixedList(named(new QComboBox(TabSheet1), "ComboBox6"),
                  {QT_TRANSLATE_NOOP("TForm2", "Нет"), QT_TRANSLATE_NOOP("TForm2", "Нечет"),
                   QT_TRANSLATE_NOOP("TForm2", "Чет"), QT_TRANSLATE_NOOP("TForm2", "Маркер"),
                   QT_TRANSLATE_NOOP("TForm2", "Пробел")});
    Button1 = named(new QPushButton(QCoreApplication::translate("TForm2", "Подключить"), TabSheet1),
                    "Button1");
    Label1 =
        named(new TStatusLabel(QCoreApplication::translate("TForm2", "Не подключено"), TabSheet1),
              "Label1");
    QFont big = Label1->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    Label1->setFont(big);
    QPalette maroon = Label1->palette();
    maroon.setColor(QPalette::WindowText, kMaroon);
    Label1->setPalette(maroon);

    auto* flowCaption = new QVBoxLayout;
    flowCaption->setSpacing(0);
    flowCaption->addWidget(Label5);
    flowCaption->addWidget(Label6);
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(ComboBox2, 0, 1);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(ComboBox1, 1, 1);
    grid->addWidget(Label4, 2, 0);
    grid->addWidget(ComboBox3, 2, 1);
    grid->addLayout(flowCaption, 3, 0);
    grid->addWidget(ComboBox4, 3, 1);
    grid->addWidget(Label7, 4, 0);
    grid->addWidget(ComboBox5, 4, 1);
    grid->addWidget(Label8, 5, 0);
    grid->addWidget(ComboBox6, 5, 1);
    grid->addWidget(Button1, 6, 0);
    // The status takes the whole width and the rest of the page: "Подключено на скорости 115200"
    // in the larger font and an open failure's cause line must both be readable in the fixed
    // window.
    grid->addWidget(Label1, 7, 0, 1, 2);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);

    // Time-out page: new (configured) values beside the old (saved) ones.
    auto* page2 = new QGridLayout(TabSheet2);
    GroupBox1 =
        named(new QGroupBox(QCoreApplication::translate("TForm2", "Тайм-ауты чтения"), TabSheet2),
              "GroupBox1");
    GroupBox2 =
        named(new QGroupBox(QCoreApplication::translate("TForm2", "Тайм-ауты записи"), TabSheet2),
              "GroupBox2");
    auto* read = new QGridLayout(GroupBox1);
    auto* write = new QGridLayout(GroupBox2);
    // Tight spacing: both groups and the button have to fit the fixed page.
    page2->setContentsMargins(6, 6, 6, 6);
    page2->setSpacing(4);
    for (QGridLayout* g : {read, write}) {
        g->setContentsMargins(6, 2, 6, 4);
        g->setVerticalSpacing(2);
    }
    Label14 = label("Label14", QT_TRANSLATE_NOOP("TForm2", "Новые"), GroupBox1);
    Label15 = label("Label15", QT_TRANSLATE_NOOP("TForm2", "Старые"), GroupBox1);
    read->addWidget(Label14, 0, 1);
    read->addWidget(Label15, 0, 2);
    Label9 = label("Label9", "ReadInterval", GroupBox1);
    Label10 = label("Label10", "ReadTotalMultilier", GroupBox1);
    Label11 = label("Label11", "ReadTotalConstant", GroupBox1);
    Label12 = label("Label12", "WriteTotalMultiplier", GroupBox2);
    Label13 = label("Label13", "WriteTotalConstant", GroupBox2);
    Edit1 = edit("Edit1", GroupBox1, false);
    Edit2 = edit("Edit2", GroupBox1, false);
    Edit3 = edit("Edit3", GroupBox1, false);
    Edit4 = edit("Edit4", GroupBox2, false);
    Edit5 = edit("Edit5", GroupBox2, false);
    Edit6 = edit("Edit6", GroupBox1, true);
    Edit7 = edit("Edit7", GroupBox1, true);
    Edit8 = edit("Edit8", GroupBox1, true);
    Edit9 = edit("Edit9", GroupBox2, true);
    Edit10 = edit("Edit10", GroupBox2, true);
    const struct {
        QGridLayout* box;
        int row;
        QLabel* name;
        QLineEdit *now, *saved;
    } rows[] = {{read, 1, Label9, Edit1, Edit6},
                {read, 2, Label10, Edit2, Edit7},
                {read, 3, Label11, Edit3, Edit8},
                {write, 0, Label12, Edit4, Edit9},
                {write, 1, Label13, Edit5, Edit10}};
    for (const auto& r : rows) {
        r.box->addWidget(r.name, r.row, 0);
        r.box->addWidget(r.now, r.row, 1);
        r.box->addWidget(r.saved, r.row, 2);
    }
    Button2 = named(new QPushButton(QStringLiteral("OK"), TabSheet2), "Button2");
    page2->addWidget(GroupBox1, 0, 0, 1, 2);
    page2->addWidget(GroupBox2, 1, 0);
    page2->addWidget(Button2, 1, 1, Qt::AlignBottom);
    platform::nameControls(*this);
}
