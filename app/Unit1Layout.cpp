// Building the main window: menu, tool bar, the seven pages and the status bar.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/LanguageMenu.h"
#include "app/Unit1.h"
#include "ui/TRadioGroup.h"

namespace {

QString numbered(const char* family, int n) {
    return QStringLiteral("%1%2").arg(QLatin1String(family)).arg(n);
}

QLineEdit* edit(const QString& name, QWidget* parent, int width = 0) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (width) e->setFixedWidth(width);
    return e;
}

QLineEdit* readOnlyEdit(const QString& name, QWidget* parent, int width = 0) {
    QLineEdit* e = edit(name, parent, width);
    e->setReadOnly(true);
    return e;
}

QCheckBox* check(const QString& name, QWidget* parent) {
    auto* c = new QCheckBox(parent);
    c->setObjectName(name);
    return c;
}

QComboBox* combo(const QString& name, const QStringList& items, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(items);
    c->setCurrentIndex(-1);
    return c;
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QLabel* label(const QString& text, QWidget* parent, const QString& name = {}) {
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty()) l->setObjectName(name);
    return l;
}

QGroupBox* group(const QString& caption, QWidget* parent) {
    return new QGroupBox(caption, parent);
}

// The Read / Write pair at the foot of a page (Write starts disabled until a value arrives).
QHBoxLayout* readWriteRow(QPushButton*& read, const char* readName, QPushButton** write,
                          const char* writeName, QWidget* page) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    read = button(QLatin1String(readName), QCoreApplication::translate("TForm1", "Читать"), page);
    row->addWidget(read);
    if (write) {
        *write = button(QLatin1String(writeName), QCoreApplication::translate("TForm1", "Записать"),
                        page);
        (*write)->setEnabled(false);
        row->addWidget(*write);
    }
    return row;
}

// A group of captioned edits, one per row: caption, edit.
struct EditRow {
    QLineEdit** edit;
    const char* name;
    const char* caption;
};

template <std::size_t N>
QGroupBox* captionedEdits(const QString& title, const EditRow (&rows)[N], int width,
                          QWidget* parent) {
    auto* box = group(title, parent);
    auto* grid = new QGridLayout(box);
    int r = 0;
    for (const EditRow& row : rows) {
        *row.edit = edit(QLatin1String(row.name), box, width);
        grid->addWidget(label(QCoreApplication::translate("TForm1", row.caption), box), r, 0);
        grid->addWidget(*row.edit, r++, 1);
    }
    grid->setColumnStretch(2, 1);
    return box;
}

// A group holding one edit at its left.
QGroupBox* singleEdit(const QString& title, QLineEdit*& target, const char* name, int width,
                      QWidget* parent) {
    auto* box = group(title, parent);
    auto* row = new QHBoxLayout(box);
    target = edit(QLatin1String(name), box, width);
    row->addWidget(target);
    row->addStretch();
    return box;
}

QWidget* page(QTabWidget* tabs, const char* name, const QString& caption) {
    auto* p = new QWidget;
    p->setObjectName(QLatin1String(name));
    tabs->addTab(p, caption);
    return p;
}

}  // namespace

void TForm1::buildMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    Fail1 = MainMenu1->addMenu(tr("File"));
    Fail1->setObjectName(QStringLiteral("Fail1"));
    Open1 = Fail1->addAction(tr("&Open"));
    Open1->setObjectName(QStringLiteral("Open1"));
    Open1->setStatusTip(tr("Open file"));
    Open1->setToolTip(tr("Open file"));
    Open1->setShortcut(QKeySequence::Open);
    Save1 = Fail1->addAction(tr("&Save"));
    Save1->setObjectName(QStringLiteral("Save1"));
    Save1->setStatusTip(tr("Save file"));
    Save1->setToolTip(tr("Save file"));
    Save1->setShortcut(QKeySequence::Save);
    CompareWithTerminal =
        Fail1->addAction(QCoreApplication::translate("TForm1", "Сравнить с терминалом"));
    CompareWithTerminal->setObjectName(QStringLiteral("CompareWithTerminal"));
    CompareWithTerminal->setEnabled(false);  // while connected
    OpenUnitJournal = Fail1->addAction(QCoreApplication::translate("TForm1", "Журнал терминалов…"));
    OpenUnitJournal->setObjectName(QStringLiteral("OpenUnitJournal"));
    Fail1->addSeparator();
    Exit1 = Fail1->addAction(tr("&Exit"));
    Exit1->setObjectName(QStringLiteral("Exit1"));
    Help1 = MainMenu1->addMenu(tr("Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Contents = Help1->addAction(tr("Contents"));
    Contents->setObjectName(QStringLiteral("Contents"));
    About1 = Help1->addAction(tr("About"));
    About1->setObjectName(QStringLiteral("About1"));
    app::addLanguageMenu(*Help1);
}

void TForm1::buildToolBar() {
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(24, 24));
    auto tool = [this](const char* name, const QString& hint, int image) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setAutoRaise(true);
        ImageList1.setImageIndex(b, image);
        return b;
    };
    ToolButton1 = tool("ToolButton1", QCoreApplication::translate("TForm1", "Подключить Comm"), 0);
    ToolButton3 = tool("ToolButton3", QCoreApplication::translate("TForm1", "Отключить Comm"), 3);
    ToolButton5 = tool("ToolButton5", QCoreApplication::translate("TForm1", "Свойства Comm"), 4);
    ToolButton6 = tool("ToolButton6",
                       QCoreApplication::translate("TForm1", "Записать данные всех закладок"), 5);
    ToolButton6->setEnabled(false);
    ToolBar1->addWidget(ToolButton1);
    ToolBar1->addWidget(ToolButton3);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(ToolButton5);
    ToolBar1->addSeparator();
    auto* spacer = new QWidget(ToolBar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBar1->addWidget(spacer);
    ToolBar1->addWidget(ToolButton6);
}

void TForm1::buildStatusBar() {
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    const int widths[] = {200, 50};
    for (int i = 0; i < 2; ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setObjectName(numbered("StatusBar1Panel", i));
        panel->setFixedWidth(widths[i]);
        StatusBar1->addWidget(panel, i == 1 ? 1 : 0);
        StatusPanels[static_cast<std::size_t>(i)] = panel;
    }
    // The last panel takes the rest of the bar, as a status bar's last panel does.
    StatusPanels[1]->setMinimumWidth(widths[1]);
    StatusPanels[1]->setMaximumWidth(QWIDGETSIZE_MAX);
}

namespace {

void buildInternet(TForm1& f) {
    QWidget* p = f.TabSheet1;
    auto* column = new QVBoxLayout(p);

    auto* servers = group(QCoreApplication::translate("TForm1", "Настройки интернета"), p);
    auto* grid = new QGridLayout(servers);
    const char* heads[] = {
        QT_TRANSLATE_NOOP("TForm1", "IP адрес"), QT_TRANSLATE_NOOP("TForm1", "Порт"),
        QT_TRANSLATE_NOOP("TForm1", "Протокол"), QT_TRANSLATE_NOOP("TForm1", "Разрешить")};
    for (int c = 0; c < 4; ++c)
        grid->addWidget(label(QCoreApplication::translate("TForm1", heads[c]), servers), 0, c + 1,
                        Qt::AlignHCenter);
    for (int i = 0; i < 4; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const int row = i + 1;
        grid->addWidget(
            label(QCoreApplication::translate("TForm1", "Сервер %1").arg(i + 1), servers), row, 0);
        f.EditIp[k] = edit(numbered("EditIp", i + 1), servers, 140);
        f.EditPort[k] = edit(numbered("EditPort", i + 1), servers, 70);
        f.CBGet[k] = combo(numbered("CBGet", i + 1), {QStringLiteral("UDP"), QStringLiteral("TCP")},
                           servers);
        f.ChSim1ForIp[k] = check(numbered("ChSim1ForIp", i + 1), servers);
        grid->addWidget(f.EditIp[k], row, 1);
        grid->addWidget(f.EditPort[k], row, 2);
        grid->addWidget(f.CBGet[k], row, 3);
        grid->addWidget(f.ChSim1ForIp[k], row, 4, Qt::AlignHCenter);
    }
    column->addWidget(servers);

    auto* periods = group(QCoreApplication::translate("TForm1", "Период связи GPRS"), p);
    auto* pgrid = new QGridLayout(periods);
    for (int i = 0; i < 4; ++i) {
        const auto k = static_cast<std::size_t>(i);
        f.EConnectPeriod[k] = edit(numbered("EConnectPeriod", i + 1), periods, 60);
        pgrid->addWidget(
            label(QCoreApplication::translate("TForm1", "Сервер %1").arg(i + 1), periods), 0, i * 2,
            1, 2);
        pgrid->addWidget(f.EConnectPeriod[k], 1, i * 2);
        pgrid->addWidget(label(QCoreApplication::translate("TForm1", "мин"), periods), 1,
                         i * 2 + 1);
    }
    pgrid->setColumnStretch(8, 1);
    column->addWidget(periods);
    column->addStretch();

    auto* foot =
        readWriteRow(f.ReadInternetB, "ReadInternetB", &f.WriteInternetB, "WriteInternetB", p);
    foot->insertWidget(0, label(QCoreApplication::translate("TForm1", "Принято байт:"), p));
    f.Label35 = label(QStringLiteral("0"), p, QStringLiteral("Label35"));
    f.Label35->setMinimumWidth(40);
    f.Label35->setToolTip(QCoreApplication::translate("TForm1", "Щелчок сбрасывает счётчик"));
    foot->insertWidget(1, f.Label35);
    column->addLayout(foot);
}

void buildAccess(TForm1& f) {
    QWidget* p = f.TabSheet6;
    auto* column = new QVBoxLayout(p);

    const EditRow apn[] = {{&f.EApn1, "EApn1", "APN"},
                           {&f.EAus1, "EAus1", QT_TRANSLATE_NOOP("TForm1", "Пользователь")},
                           {&f.EApas1, "EApas1", QT_TRANSLATE_NOOP("TForm1", "Пароль")}};
    column->addWidget(
        captionedEdits(QCoreApplication::translate("TForm1", "Точка доступа GPRS"), apn, 260, p));

    auto* balance = group(QCoreApplication::translate("TForm1", "Баланс SIM-карты"), p);
    auto* bgrid = new QGridLayout(balance);
    f.EBlSt1 = edit(QStringLiteral("EBlSt1"), balance, 120);
    f.EBlTm1 = edit(QStringLiteral("EBlTm1"), balance, 90);
    f.EBlVl1 = readOnlyEdit(QStringLiteral("EBlVl1"), balance, 90);
    f.ELim1 = readOnlyEdit(QStringLiteral("ELim1"), balance, 90);
    const std::pair<const char*, QLineEdit*> cols[] = {
        {"USSD", f.EBlSt1},
        {QT_TRANSLATE_NOOP("TForm1", "Период(мин)"), f.EBlTm1},
        {QT_TRANSLATE_NOOP("TForm1", "Значение"), f.EBlVl1},
        {QT_TRANSLATE_NOOP("TForm1", "Лимит"), f.ELim1}};
    int c = 0;
    for (const auto& [head, e] : cols) {
        bgrid->addWidget(label(QCoreApplication::translate("TForm1", head), balance), 0, c,
                         Qt::AlignHCenter);
        bgrid->addWidget(e, 1, c++);
    }
    bgrid->setColumnStretch(c, 1);
    column->addWidget(balance);

    auto* id =
        singleEdit(QCoreApplication::translate("TForm1", "Код ид.          Версия.        Eeprom"),
                   f.EIdCod, "EIdCod", 300, p);
    f.EIdCod->setReadOnly(true);
    f.Button1 = button(QStringLiteral("Button1"), QStringLiteral("EraseEeprom"), id);
    id->layout()->addWidget(f.Button1);
    column->addWidget(id);
    column->addStretch();
    column->addLayout(readWriteRow(f.ReadApnB, "ReadApnB", &f.WriteApnB, "WriteApnB", p));
}

void buildPhones(TForm1& f) {
    QWidget* p = f.TabSheet3;
    auto* column = new QVBoxLayout(p);

    auto* phones = group(QCoreApplication::translate("TForm1", "Телефоны для связи "), p);
    auto* grid = new QGridLayout(phones);
    grid->addWidget(label(QCoreApplication::translate("TForm1", "Номер"), phones), 0, 1,
                    Qt::AlignHCenter);
    grid->addWidget(label(QStringLiteral("sms"), phones), 0, 2, Qt::AlignHCenter);
    grid->addWidget(label(QStringLiteral("voice"), phones), 0, 3, Qt::AlignHCenter);
    for (int i = 0; i < 8; ++i) {
        const auto k = static_cast<std::size_t>(i);
        f.ETl[k] = edit(numbered("ETl", i + 1), phones, 200);
        f.ChSim1ForP[k] = check(numbered("ChSim1ForP", i + 1), phones);
        f.ChSim1ForVoice[k] = check(numbered("ChSim1ForVoice", i + 1), phones);
        grid->addWidget(label(QString::number(i + 1), phones), i + 1, 0);
        grid->addWidget(f.ETl[k], i + 1, 1);
        grid->addWidget(f.ChSim1ForP[k], i + 1, 2, Qt::AlignHCenter);
        grid->addWidget(f.ChSim1ForVoice[k], i + 1, 3, Qt::AlignHCenter);
    }
    grid->setColumnStretch(4, 1);
    grid->setVerticalSpacing(2);

    auto* own = singleEdit(QCoreApplication::translate("TForm1", "Телефон модуля"), f.ETl[8],
                           "ETl9", 200, p);

    column->addWidget(phones);
    column->addWidget(own);
    column->addStretch();
    column->addLayout(readWriteRow(f.ReadTLB, "ReadTLB", &f.WriteTLB, "WriteTLB", p));
}

void buildGps(TForm1& f) {
    QWidget* p = f.TabSheet7;
    auto* column = new QVBoxLayout(p);
    const EditRow fix[] = {
        {&f.EGpsTime, "EGpsTime", QT_TRANSLATE_NOOP("TForm1", "Время по \nГринвичу (ч, м, с)")},
        {&f.EGpsDate, "EGpsDate", QT_TRANSLATE_NOOP("TForm1", "Дата  (д, м, г)")},
        {&f.EGpsSpeed, "EGpsSpeed", QT_TRANSLATE_NOOP("TForm1", "Скорость (узлы)")},
        {&f.EGpsCog, "EGpsCog", QT_TRANSLATE_NOOP("TForm1", "Курс (град)")},
        {&f.EGpsLatitude, "EGpsLatitude", QT_TRANSLATE_NOOP("TForm1", "Широта (гр, мин)")},
        {&f.EGpsLongitude, "EGpsLongitude", QT_TRANSLATE_NOOP("TForm1", "Долгота (гр, мин)")}};
    column->addWidget(
        captionedEdits(QCoreApplication::translate("TForm1", "Последние координаты"), fix, 200, p));
    column->addStretch();
    column->addLayout(readWriteRow(f.ReadGpsB, "ReadGpsB", nullptr, nullptr, p));
}

void buildSettings(TForm1& f) {
    QWidget* p = f.TabSheet2;
    auto* column = new QVBoxLayout(p);
    auto* top = new QHBoxLayout;

    auto* mic = group(QCoreApplication::translate("TForm1", "Чувствительность микрофона"), p);
    auto* mgrid = new QGridLayout(mic);
    f.TrackBar1 = new QSlider(Qt::Horizontal, mic);
    f.TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    f.TrackBar1->setRange(0, 15);
    f.TrackBar1->setPageStep(1);
    f.TrackBar1->setTickPosition(QSlider::TicksBelow);
    f.TrackBar1->setTickInterval(1);
    f.TrackBar1->setValue(2);
    mgrid->addWidget(f.TrackBar1, 0, 0, 1, 2);
    mgrid->addWidget(label(QCoreApplication::translate("TForm1", "ниже"), mic), 1, 0,
                     Qt::AlignLeft);
    mgrid->addWidget(label(QCoreApplication::translate("TForm1", "выше"), mic), 1, 1,
                     Qt::AlignRight);
    top->addWidget(mic, 1);

    auto* other = new QGridLayout;
    other->addWidget(label(QCoreApplication::translate("TForm1", "Датчик движения"), p), 0, 0);
    f.EAdcCod = edit(QStringLiteral("EAdcCod"), p, 80);
    other->addWidget(f.EAdcCod, 0, 1);
    other->addWidget(label(QCoreApplication::translate("TForm1", "Нажатий кнопки \"Тревога\""), p),
                     1, 0);
    f.CBNmbPress =
        combo(QStringLiteral("CBNmbPress"), {QStringLiteral("1"), QStringLiteral("2")}, p);
    other->addWidget(f.CBNmbPress, 1, 1);
    top->addLayout(other);
    column->addLayout(top);

    column->addWidget(label(QCoreApplication::translate("TForm1", "Режимы сна модуля GPS"), p));
    f.RadioGroup1 = new TRadioGroup(
        QCoreApplication::translate("TForm1", "(во время сна координаты не передаются)"),
        {QCoreApplication::translate("TForm1", "Р1-Сон 1 мин. и более (до движения)"),
         QCoreApplication::translate("TForm1",
                                     "Р2-Сон 1 мин. и более (до движения или до сеанса связи)"),
         QCoreApplication::translate("TForm1", "Р3-Сон до  движения"),
         QCoreApplication::translate("TForm1", "Р4-Сон до движения или до сеанса связи"),
         QCoreApplication::translate(
             "TForm1", "Р5-Трекер (пуск копкой \"Тревога\", стоп кнопкой \"Питание\")")},
        p);
    f.RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    column->addWidget(f.RadioGroup1);
    column->addStretch();
    column->addLayout(readWriteRow(f.ReadMicB, "ReadMicB", &f.WriteMicB, "WriteMicB", p));
}

void buildUpdate(TForm1& f) {
    QWidget* p = f.TabSheet5;
    auto* row = new QHBoxLayout(p);
    f.ProgramGrid1 = new QTableWidget(11, 9, p);
    f.ProgramGrid1->setObjectName(QStringLiteral("ProgramGrid1"));
    f.ProgramGrid1->horizontalHeader()->hide();
    f.ProgramGrid1->verticalHeader()->hide();
    f.ProgramGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    f.ProgramGrid1->setColumnWidth(0, 64);
    for (int c = 1; c < 9; ++c) f.ProgramGrid1->setColumnWidth(c, 30);
    f.ProgramGrid1->verticalHeader()->setDefaultSectionSize(20);
    f.ProgramGrid1->setFixedWidth(64 + 8 * 30 + 22);
    row->addWidget(f.ProgramGrid1);

    auto* side = new QGridLayout;
    side->addWidget(label(QCoreApplication::translate("TForm1", "Обновить"), p), 0, 0);
    f.Label56 = label(QStringLiteral("0"), p, QStringLiteral("Label56"));
    side->addWidget(f.Label56, 0, 1);
    side->addWidget(label(QCoreApplication::translate("TForm1", "Обновлено"), p), 1, 0);
    f.Label57 = label(QStringLiteral("0"), p, QStringLiteral("Label57"));
    side->addWidget(f.Label57, 1, 1);
    f.ProgressBar1 = new QProgressBar(p);
    f.ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    f.ProgressBar1->setRange(0, 100);
    f.ProgressBar1->setValue(0);
    side->addWidget(f.ProgressBar1, 2, 0, 1, 2);
    f.BUpgrade =
        button(QStringLiteral("BUpgrade"), QCoreApplication::translate("TForm1", "Програм."), p);
    f.BUpgrade->setEnabled(false);
    side->addWidget(f.BUpgrade, 3, 0, 1, 2, Qt::AlignLeft);
    side->setRowStretch(4, 1);
    side->setColumnStretch(1, 1);
    row->addLayout(side, 1);
}

void buildMonitor(TForm1& f) {
    QWidget* p = f.TabSheet4;
    auto* column = new QVBoxLayout(p);
    f.MemoIn = new QPlainTextEdit(p);
    f.MemoIn->setObjectName(QStringLiteral("MemoIn"));
    f.MemoIn->setReadOnly(true);
    f.MemoIn->setLineWrapMode(QPlainTextEdit::NoWrap);
    f.MemoIn->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    f.MemoIn->setFont(QFont(QStringLiteral("Monospace"), 9));
    column->addWidget(f.MemoIn);
    auto* foot = new QHBoxLayout;
    foot->addStretch();
    f.BClearMemo =
        button(QStringLiteral("BClearMemo"), QCoreApplication::translate("TForm1", "Очистить"), p);
    foot->addWidget(f.BClearMemo);
    column->addLayout(foot);
}

}  // namespace

void TForm1::buildPages() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    setCentralWidget(PageControl1);
    TabSheet1 = page(PageControl1, "TabSheet1", QCoreApplication::translate("TForm1", "Интернет"));
    TabSheet6 = page(PageControl1, "TabSheet6", QCoreApplication::translate("TForm1", "Доступ"));
    TabSheet3 = page(PageControl1, "TabSheet3", QCoreApplication::translate("TForm1", "Телефоны"));
    TabSheet7 = page(PageControl1, "TabSheet7", QStringLiteral("GPS"));
    TabSheet2 = page(PageControl1, "TabSheet2", QCoreApplication::translate("TForm1", "Настройки"));
    TabSheet5 = page(PageControl1, "TabSheet5", QCoreApplication::translate("TForm1", "Обновить"));
    TabSheet4 = page(PageControl1, "TabSheet4", QCoreApplication::translate("TForm1", "Монитор"));
    buildInternet(*this);
    buildAccess(*this);
    buildPhones(*this);
    buildGps(*this);
    buildSettings(*this);
    buildUpdate(*this);
    buildMonitor(*this);
}
