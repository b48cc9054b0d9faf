// The windows without a terminal: the main window as built (pages, every control with its name,
// caption, items, range and initial state, tool bar, status bar, first-run marker), help, the
// exception box, receptions over the real widgets, and File > Save / Open through scripted
// dialogs. The rules behind them (answers, file formats) are the protocol and files tests' job.
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "WindowFixture.h"
#include "platform/RegistryStore.h"
#include "protocol/Cp1251.h"
#include "protocol/ParameterTable.h"
#include "ui/TRadioGroup.h"

namespace {

using namespace std::chrono_literals;
using platform::HelpRequest;
using Window = apptest::WindowFixture;

QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

// Whether a label or a group box on `root` reads `text`.
bool shows(const QWidget* root, const char* text) {
    for (const QLabel* l : root->findChildren<QLabel*>())
        if (l->text() == QString::fromUtf8(text)) return true;
    for (const QGroupBox* g : root->findChildren<QGroupBox*>())
        if (g->title() == QString::fromUtf8(text)) return true;
    return false;
}

TEST_F(Window, WindowMenuToolBarAndStatusBar) {
    EXPECT_EQ(form1->windowTitle(), "Vigil");
    EXPECT_FALSE(form1->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form1->windowFlags() & Qt::WindowMinimizeButtonHint);
    const char* names[] = {"TabSheet1", "TabSheet6", "TabSheet3", "TabSheet7",
                           "TabSheet2", "TabSheet5", "TabSheet4"};
    ASSERT_EQ(form1->PageControl1->count(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(form1->PageControl1->widget(i)->objectName(), names[i]);
        EXPECT_EQ(form1->PageControl1->tabText(i),
                  q(protocol::kTabCaptions[static_cast<std::size_t>(i)]));
    }
    EXPECT_EQ(form1->PageControl1->currentIndex(), 0);

    const std::pair<QString, QString> texts[] = {
        {form1->Fail1->title(), "File"},
        {form1->Open1->text(), "&Open"},
        {form1->Open1->statusTip(), "Open file"},
        {form1->Save1->text(), "&Save"},
        {form1->Save1->statusTip(), "Save file"},
        {form1->Exit1->text(), "&Exit"},
        {form1->Help1->title(), "Help"},
        {form1->Contents->text(), "Contents"},
        {form1->About1->text(), "About"},
        {form1->ToolButton1->toolTip(), "Подключить Comm"},
        {form1->ToolButton3->toolTip(), "Отключить Comm"},
        {form1->ToolButton5->toolTip(), "Свойства Comm"},
        {form1->ToolButton6->toolTip(), "Записать данные всех закладок"},
        {form1->Button1->text(), "EraseEeprom"},
        {form1->BUpgrade->text(), "Програм."},
        {form1->BClearMemo->text(), "Очистить"}};
    for (const auto& [shown, expected] : texts) EXPECT_EQ(shown, expected);
    const auto fileItems = form1->Fail1->actions();
    ASSERT_EQ(fileItems.size(), 6);
    EXPECT_EQ(fileItems[2], form1->CompareWithTerminal);
    EXPECT_EQ(fileItems[2]->text(), "Сравнить с терминалом");
    EXPECT_FALSE(fileItems[2]->isEnabled());  // until connected
    EXPECT_EQ(fileItems[3], form1->OpenUnitJournal);
    EXPECT_EQ(fileItems[3]->text(), "Журнал терминалов…");
    EXPECT_TRUE(fileItems[4]->isSeparator());

    EXPECT_EQ(TImageList::imageIndex(form1->ToolButton1), 0);
    EXPECT_EQ(TImageList::imageIndex(form1->ToolButton3), 3);
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(form1->ImageList1.icon(i).isNull()) << i;
    EXPECT_EQ(form1->StatusPanels[0]->width(), 200);
    EXPECT_GE(form1->StatusPanels[1]->minimumWidth(), 50);
    EXPECT_FALSE(timer1->enabled());
    EXPECT_EQ(timer1->interval(), 5000);
    for (QWidget* off :
         std::initializer_list<QWidget*>{form1->ToolButton6, form1->BUpgrade, form1->WriteInternetB,
                                         form1->WriteApnB, form1->WriteTLB, form1->WriteMicB})
        EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
    for (QWidget* on :
         std::initializer_list<QWidget*>{form1->ReadInternetB, form1->ReadApnB, form1->ReadTLB,
                                         form1->ReadMicB, form1->ReadGpsB})
        EXPECT_TRUE(on->isEnabled()) << on->objectName().toStdString();
}

// The round trip through the simulator proves each control is found; here, how it starts.
TEST_F(Window, EveryParameterHasItsControlEmpty) {
    for (const protocol::Parameter& p : protocol::kParameters) {
        QWidget* w = form1->findChild<QWidget*>(q(p.control));
        ASSERT_NE(w, nullptr) << p.control;
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            EXPECT_TRUE(e->text().isEmpty()) << p.control;
            EXPECT_EQ(e->isReadOnly(),
                      p.control == "EBlVl1" || p.control == "ELim1" || p.control == "EIdCod")
                << p.control;
            EXPECT_EQ(e->isEnabled(), !p.control.starts_with("EConnectPeriod")) << p.control;
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            EXPECT_EQ(c->count(), p.itemCount) << p.control;
            EXPECT_EQ(c->currentIndex(), -1) << p.control;
        } else if (auto* b = qobject_cast<QCheckBox*>(w)) {
            EXPECT_FALSE(b->isChecked()) << p.control;
        }
    }
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_EQ(form1->CheckBoxList[i]->objectName(), q(protocol::kCheckBoxList[i]->control))
            << i;
}

TEST_F(Window, ListsRangesAndCaptions) {
    for (QComboBox* get : form1->CBGet) {
        EXPECT_EQ(itemsOf(get), (QStringList{"UDP", "TCP"}));
        EXPECT_FALSE(get->isEnabled());
    }
    EXPECT_EQ(itemsOf(form1->CBNmbPress), (QStringList{"1", "2"}));
    EXPECT_TRUE(form1->CBNmbPress->isEnabled());
    EXPECT_EQ(form1->TrackBar1->minimum(), 0);
    EXPECT_EQ(form1->TrackBar1->maximum(), 15);
    EXPECT_EQ(form1->TrackBar1->value(), 2);
    EXPECT_EQ(form1->ProgramGrid1->columnCount(), 9);
    EXPECT_EQ(form1->ProgramGrid1->rowCount(), 11);
    EXPECT_EQ(form1->ProgressBar1->maximum(), 100);
    EXPECT_TRUE(form1->MemoIn->toPlainText().isEmpty());

    EXPECT_EQ(form1->RadioGroup1->title(), "(во время сна координаты не передаются)");
    const QStringList modes = {"Р1-Сон 1 мин. и более (до движения)",
                               "Р2-Сон 1 мин. и более (до движения или до сеанса связи)",
                               "Р3-Сон до  движения", "Р4-Сон до движения или до сеанса связи",
                               "Р5-Трекер (пуск копкой \"Тревога\", стоп кнопкой \"Питание\")"};
    QStringList items;
    for (const QRadioButton* b : form1->RadioGroup1->findChildren<QRadioButton*>())
        items << b->text();
    EXPECT_EQ(items, modes);
    EXPECT_EQ(form1->RadioGroup1->itemIndex(), -1);
    form1->RadioGroup1->setItemIndex(3);
    EXPECT_EQ(form1->RadioGroup1->itemIndex(), 3);

    const std::pair<QWidget*, std::vector<const char*>> captions[] = {
        {form1->TabSheet3, {"Телефоны для связи ", "Телефон модуля", "sms", "voice"}},
        {form1->TabSheet1, {"Период связи GPRS", "Настройки интернета", "Разрешить", "мин"}},
        {form1->TabSheet6,
         {"Код ид.          Версия.        Eeprom", "USSD", "Период(мин)", "Значение", "Лимит"}},
        {form1->TabSheet7,
         {"Время по \nГринвичу (ч, м, с)", "Дата  (д, м, г)", "Скорость (узлы)", "Курс (град)",
          "Широта (гр, мин)", "Долгота (гр, мин)"}},
        {form1->TabSheet2, {"ниже", "выше", "Режимы сна модуля GPS", "Датчик движения"}},
        {form1->TabSheet5, {"Обновить", "Обновлено"}}};
    for (const auto& [page, texts] : captions)
        for (const char* text : texts)
            EXPECT_TRUE(shows(page, text)) << page->objectName().toStdString() << " " << text;
}

TEST_F(Window, FirstStartWritesTheMarkerLaterStartsDoNot) {
    platform::Registry registry;
    ASSERT_TRUE(registry.openKey("Quorveth\\Gprs", false));
    EXPECT_EQ(registry.readInteger("ItemIndex"), 0);
    registry.writeInteger("ItemIndex", 5);
    registry.closeKey();
    TForm1 again;
    platform::Registry reread;
    ASSERT_TRUE(reread.openKey("Quorveth\\Gprs", false));
    EXPECT_EQ(reread.readInteger("ItemIndex"), 5);
}

// Shown: every control is inside its page's visible area (VIGIL_SHOTS names a folder for the
// pictures), the missing help file is reported with its full path, and F1 opens the page's topic.
TEST_F(Window, ShownPagesAndHelp) {
    form1->show();
    form1->activateWindow();
    apptest::pumpUntil([&] { return form1->isVisible(); });
    EXPECT_EQ(form1->focusWidget(), form1->ReadInternetB);
    const char* shots = std::getenv("VIGIL_SHOTS");
    for (int i = 0; i < form1->PageControl1->count(); ++i) {
        form1->PageControl1->setCurrentIndex(i);
        QWidget* page = form1->PageControl1->widget(i);
        apptest::pumpFor(20ms);
        for (QWidget* w : page->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(page) || w->objectName().startsWith("qt_")) continue;
            EXPECT_TRUE(page->rect().contains(QRect(w->mapTo(page, QPoint(0, 0)), w->size())))
                << page->objectName().toStdString() << " " << w->objectName().toStdString();
        }
        if (shots)
            form1->grab().save(
                QStringLiteral("%1/tab%2-%3.png").arg(shots).arg(i).arg(page->objectName()));
    }
    const std::string path = QCoreApplication::applicationDirPath().toStdString() + "/Vigil.chm";
    EXPECT_EQ(form1->HelpFilePath, path);
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Help file not found\n" + path});
    EXPECT_EQ(messages.shown()[0].caption, "");

    const std::tuple<QWidget*, QWidget*, int> presses[] = {
        {form1->TabSheet3, form1->ETl[0], 2002},
        {form1->TabSheet4, form1->MemoIn, 2006},
        {form1->TabSheet2, form1->TrackBar1, 2004},
        {form1->TabSheet1, form1->EditIp[2], 2000}};
    std::vector<HelpRequest> expected;
    for (const auto& [page, field, context] : presses) {
        form1->PageControl1->setCurrentWidget(page);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_F1);
        expected.push_back({HelpRequest::Kind::Topic, path, context});
    }
    EXPECT_EQ(help.requests, expected);
}

// Contents looks in the current folder first (where the file dialogs left it), then beside the
// program, and says so when neither has the file.
TEST_F(Window, HelpContentsFromAnyFolderAndClosing) {
    namespace fs = std::filesystem;
    char name[] = "/tmp/vigil-contents-XXXXXX";
    const fs::path root = ::mkdtemp(name);
    fs::create_directories(root / "program");
    fs::create_directories(root / "documents");
    const std::string beside = (root / "program" / "Vigil.chm").string();
    form1->HelpFilePath = beside;
    fs::current_path(root / "documents");
    using R = HelpRequest;
    const struct {
        bool besideExists, hereExists;
        std::vector<R> requests;
        std::vector<std::string> messages;
    } cases[] = {
        {true, true, {{R::Kind::Contents, "Vigil.chm", 0}}, {}},
        {true, false, {{R::Kind::Contents, beside, 0}}, {}},
        {false, false, {}, {"Help file not found\n" + beside}},
    };
    for (const auto& c : cases) {
        fs::remove(beside);
        fs::remove(root / "documents" / "Vigil.chm");
        if (c.besideExists) std::ofstream(beside) << "chm";
        if (c.hereExists) std::ofstream(root / "documents" / "Vigil.chm") << "chm";
        help.requests.clear();
        messages.clear();
        form1->ContentsClick();
        EXPECT_EQ(help.requests, c.requests) << c.besideExists << c.hereExists;
        EXPECT_EQ(messages.texts(), c.messages) << c.besideExists << c.hereExists;
    }
    fs::remove_all(root);

    help.requests.clear();
    form1->close();
    ASSERT_EQ(help.requests.size(), 1u);
    EXPECT_EQ(help.requests[0].kind, HelpRequest::Kind::CloseAll);
    platform::Registry registry;
    ASSERT_TRUE(registry.openKey("Quorveth\\ComPort", false));
    EXPECT_EQ(registry.readInteger("ComNum"), form2->CommPort1->ComNumber());
}

struct Throwing : QObject {
    bool throwException = true;
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        if (throwException) throw std::runtime_error("'abc' is not a valid integer value");
        throw 42;
    }
};

TEST(Application, EscapingThrowsAreShownAndTheProgramGoesOn) {
    apptest::application();
    platform::RecordingMessageService messages;
    Throwing target;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &event));
    target.throwException = false;
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &event));
    const auto shown = messages.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "'abc' is not a valid integer value");
    EXPECT_EQ(shown[0].caption, "");
    EXPECT_EQ(shown[1].text, "");
}

// One chunk, as the port window hands it over.
void receive(TForm1& form1, TForm2& form2, const std::string& bytes) {
    std::memcpy(form1.ReceiveBuffer.data(), bytes.data(), bytes.size());
    form2.ReceivedCount = static_cast<std::uint16_t>(bytes.size());
    form1.HandleReception();
}

// The reception counter; lists past their items on the real widgets; an answer that sets an
// implausible address warns as typing would, and keeps the text.
TEST_F(Window, ReceptionOverTheWidgets) {
    form1->ConnectionChanged();
    receive(*form1, *form2, "GET1=1:GET2=7:COORD=7:");
    EXPECT_EQ(form1->Label35->text(), "22");
    EXPECT_EQ(form1->CBGet[0]->currentIndex(), 1);
    EXPECT_EQ(form1->CBGet[1]->currentIndex(), -1);  // a combo box past its items: no selection
    EXPECT_EQ(form1->RadioGroup1->itemIndex(), 4);   // a radio group past its items: the last
    form1->Label35Click();
    EXPECT_EQ(form1->Label35->text(), "0");
    receive(*form1, *form2, "IP1=10.0.0.300:PORT1=80a:");
    EXPECT_EQ(form1->EditIp[0]->text(), "10.0.0.300");
    EXPECT_EQ(form1->EditPort[0]->text(), "80a");
    const auto texts = messages.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Не более 255");
    messages.clear();
    receive(*form1, *form2, "IP1=10.0.0.300:");  // the same text again: no check
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(Window, SaveWritesBesideTheChosenFileAndOpenReadsItBack) {
    form1->ETl[0]->setText(QString::fromUtf8("Дом"));
    form1->ChSim1ForP[1]->setChecked(true);
    form1->TrackBar1->setValue(11);
    const auto chosen = folder.path() / "config";
    for (int save = 0; save < 2; ++save) {  // the second keeps the first as its backup
        dialogs->answers.push_back(chosen.string());
        form1->Save1Click();
    }
    EXPECT_EQ(dialogs->filters.back(), "Файл конфигурации(*.abt)|*.abt");
    EXPECT_TRUE(messages.shown().empty());
    const std::string abt = apptest::slurp(folder.path() / "config.abt");
    EXPECT_EQ(abt.rfind("TL1=" + *protocol::toCp1251("Дом") + ":TL2=:", 0), 0u) << abt;
    EXPECT_EQ(apptest::slurp(folder.path() / "config.BAK"), abt);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "SettingsAbt.xml"));

    form1->ETl[0]->clear();
    form1->ChSim1ForP[1]->setChecked(false);
    form1->TrackBar1->setValue(0);
    openPath(folder.path() / "config.abt");
    EXPECT_EQ(dialogs->filters.back(),
              "Файл обновления(*.enc)|*.enc|Файл конфигурации(*.abt)|*.abt");
    EXPECT_EQ(form1->ETl[0]->text(), QString::fromUtf8("Дом"));
    EXPECT_TRUE(form1->ChSim1ForP[1]->isChecked());
    EXPECT_EQ(form1->TrackBar1->value(), 11);
    EXPECT_TRUE(form1->WriteTLB->isEnabled());
}

TEST_F(Window, UpdateFileFillsTheGridAndGatesUpgrade) {
    const auto image = sim::makeImage(apptest::pattern(20));
    open("fw.enc", sim::hexText(image));
    EXPECT_EQ(form1->PageControl1->currentWidget(), form1->TabSheet5);
    EXPECT_TRUE(form1->BUpgrade->isEnabled());
    ASSERT_EQ(form1->ProgramGrid1->rowCount(), 3);  // 24 bytes
    EXPECT_EQ(form1->ProgramGrid1->item(1, 0)->text(), "00008");
    EXPECT_EQ(form1->ProgramGrid1->item(0, 2)->text(), "16");  // L: 20 bytes and the CRC

    // Cancelling the next dialog, or opening a configuration file, keeps the image with its grid
    // and button: the three never disagree.
    form1->Open1Click();
    open("config.abt", "TL1=x:");
    EXPECT_EQ(form1->Image.ImageLength, 24u);
    EXPECT_EQ(form1->ProgramGrid1->rowCount(), 3);
    EXPECT_TRUE(form1->BUpgrade->isEnabled());

    auto bad = image;  // the message itself is the update tests' job
    bad[5] ^= 0x01;
    open("bad.enc", sim::hexText(bad));
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_FALSE(form1->BUpgrade->isEnabled());
}

}  // namespace

namespace {

// The gear brings the port window back however the operator lost it: minimised, behind the main
// window, or placed off the screen; it comes up normal, wholly on the screen and active. File >
// Open and Save answer Ctrl+O and Ctrl+S with their captions unchanged.
TEST_F(Window, TheGearBringsThePortWindowBackAndTheFileKeysWork) {
    form1->show();
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect area = screen->availableGeometry();
    for (const QPoint at :
         {QPoint(area.right() - 40, area.bottom() - 30), QPoint(-5000, -5000), QPoint(20, 20)}) {
        form2->move(at);
        form2->showMinimized();
        form1->raise();
        form1->activateWindow();
        form1->ToolButton5->click();
        ASSERT_TRUE(
            apptest::pumpUntil([&] { return form2->isVisible() && !form2->isMinimized(); }, 2s));
        EXPECT_TRUE(area.contains(form2->frameGeometry())) << at.x() << "," << at.y();
        EXPECT_TRUE(
            apptest::pumpUntil([&] { return QApplication::activeWindow() == form2.get(); }, 2s));
    }
    form1->activateWindow();
    ASSERT_TRUE(
        apptest::pumpUntil([&] { return QApplication::activeWindow() == form1.get(); }, 2s));
    QTest::keyClick(form1.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(form1.get(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(dialogs->filters.size(), 2u);  // the open dialog, then the save dialog
    EXPECT_NE(dialogs->filters[0].find(".enc"), std::string::npos);
    EXPECT_EQ(dialogs->filters[1].find(".enc"), std::string::npos);
    EXPECT_EQ(form1->Open1->text(), "&Open");
    EXPECT_EQ(form1->Save1->text(), "&Save");
}

}  // namespace
