// The main window as built: its pages, every control with its name, caption, items, range and
// initial state, the tool bar and status bar, and the first-run registry marker.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <cstdlib>

#include "WindowFixture.h"
#include "app/TRadioGroup.h"
#include "platform/RegistryStore.h"
#include "protocol/ParameterTable.h"

namespace {

using apptest::WindowFixture;

QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

bool hasLabel(const QWidget* root, const QString& text) {
    for (const QLabel* l : root->findChildren<QLabel*>())
        if (l->text() == text) return true;
    return false;
}

bool hasGroup(const QWidget* root, const QString& title) {
    for (const QGroupBox* g : root->findChildren<QGroupBox*>())
        if (g->title() == title) return true;
    return false;
}

using MainWindowLayout = WindowFixture;

TEST_F(MainWindowLayout, WindowTabsAndMenu) {
    EXPECT_EQ(form1->windowTitle(), "Vigil");
    EXPECT_FALSE(form1->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form1->windowFlags() & Qt::WindowMinimizeButtonHint);

    const char* names[] = {"TabSheet1", "TabSheet6", "TabSheet3", "TabSheet7", "TabSheet2", "TabSheet5", "TabSheet4"};
    ASSERT_EQ(form1->PageControl1->count(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(form1->PageControl1->widget(i)->objectName(), names[i]);
        EXPECT_EQ(form1->PageControl1->tabText(i), q(protocol::kTabCaptions[static_cast<std::size_t>(i)]));
    }
    EXPECT_EQ(form1->PageControl1->currentIndex(), 0);

    EXPECT_EQ(form1->Fail1->title(), "File");
    EXPECT_EQ(form1->Open1->text(), "&Open");
    EXPECT_EQ(form1->Open1->statusTip(), "Open file");
    EXPECT_EQ(form1->Save1->text(), "&Save");
    EXPECT_EQ(form1->Save1->statusTip(), "Save file");
    EXPECT_EQ(form1->Exit1->text(), "&Exit");
    const auto fileItems = form1->Fail1->actions();
    ASSERT_EQ(fileItems.size(), 4);
    EXPECT_TRUE(fileItems[2]->isSeparator());
    EXPECT_EQ(form1->Help1->title(), "Help");
    EXPECT_EQ(form1->Contents->text(), "Contents");
    EXPECT_EQ(form1->About1->text(), "About");
}

TEST_F(MainWindowLayout, ToolBarStatusBarAndTimer) {
    EXPECT_EQ(form1->ToolButton1->toolTip(), "Подключить Comm");
    EXPECT_EQ(form1->ToolButton3->toolTip(), "Отключить Comm");
    EXPECT_EQ(form1->ToolButton5->toolTip(), "Свойства Comm");
    EXPECT_EQ(form1->ToolButton6->toolTip(), "Записать данные всех закладок");
    EXPECT_EQ(TImageList::imageIndex(form1->ToolButton1), 0);
    EXPECT_EQ(TImageList::imageIndex(form1->ToolButton3), 3);
    EXPECT_FALSE(form1->ToolButton6->isEnabled());
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(form1->ImageList1.icon(i).isNull()) << i;

    EXPECT_EQ(form1->StatusPanels[0]->width(), 200);
    EXPECT_GE(form1->StatusPanels[1]->minimumWidth(), 50);
    EXPECT_FALSE(timer1->enabled());
    EXPECT_EQ(timer1->interval(), 5000);
}

TEST_F(MainWindowLayout, EveryParameterHasItsControl) {
    for (const protocol::Parameter& p : protocol::kParameters) {
        QWidget* w = form1->findChild<QWidget*>(q(p.control));
        ASSERT_NE(w, nullptr) << p.control;
        switch (p.kind) {
        case protocol::ControlKind::Edit: {
            auto* e = qobject_cast<QLineEdit*>(w);
            ASSERT_NE(e, nullptr) << p.control;
            EXPECT_TRUE(e->text().isEmpty()) << p.control;
            const bool readOnly = p.control == "EBlVl1" || p.control == "ELim1" || p.control == "EIdCod";
            EXPECT_EQ(e->isReadOnly(), readOnly) << p.control;
            const bool disabled = p.control.starts_with("EConnectPeriod");
            EXPECT_EQ(e->isEnabled(), !disabled) << p.control;
            break;
        }
        case protocol::ControlKind::CheckBox:
            ASSERT_NE(qobject_cast<QCheckBox*>(w), nullptr) << p.control;
            EXPECT_FALSE(qobject_cast<QCheckBox*>(w)->isChecked());
            break;
        case protocol::ControlKind::ComboBox: {
            auto* c = qobject_cast<QComboBox*>(w);
            ASSERT_NE(c, nullptr) << p.control;
            EXPECT_EQ(c->count(), p.itemCount);
            EXPECT_EQ(c->currentIndex(), -1) << p.control;
            break;
        }
        case protocol::ControlKind::RadioGroup:
            ASSERT_NE(qobject_cast<TRadioGroup*>(w), nullptr);
            break;
        case protocol::ControlKind::TrackBar:
            ASSERT_NE(qobject_cast<QSlider*>(w), nullptr);
            break;
        }
    }
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_EQ(form1->CheckBoxList[i]->objectName(), q(protocol::kCheckBoxList[i]->control)) << i;
}

TEST_F(MainWindowLayout, ListsTrackBarAndRadioGroup) {
    for (QComboBox* get : form1->CBGet) {
        EXPECT_EQ(itemsOf(get), (QStringList{"UDP", "TCP"}));
        EXPECT_FALSE(get->isEnabled());
    }
    EXPECT_EQ(itemsOf(form1->CBNmbPress), (QStringList{"1", "2"}));
    EXPECT_TRUE(form1->CBNmbPress->isEnabled());

    EXPECT_EQ(form1->TrackBar1->minimum(), 0);
    EXPECT_EQ(form1->TrackBar1->maximum(), 15);
    EXPECT_EQ(form1->TrackBar1->value(), 2);
    EXPECT_TRUE(hasLabel(form1->TabSheet2, "ниже"));
    EXPECT_TRUE(hasLabel(form1->TabSheet2, "выше"));
    EXPECT_TRUE(hasLabel(form1->TabSheet2, "Режимы сна модуля GPS"));
    EXPECT_TRUE(hasLabel(form1->TabSheet2, "Датчик движения"));

    EXPECT_EQ(form1->RadioGroup1->title(), "(во время сна координаты не передаются)");
    const auto items = form1->RadioGroup1->findChildren<QRadioButton*>();
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[0]->text(), "Р1-Сон 1 мин. и более (до движения)");
    EXPECT_EQ(items[1]->text(), "Р2-Сон 1 мин. и более (до движения или до сеанса связи)");
    EXPECT_EQ(items[2]->text(), "Р3-Сон до  движения");
    EXPECT_EQ(items[3]->text(), "Р4-Сон до движения или до сеанса связи");
    EXPECT_EQ(items[4]->text(), "Р5-Трекер (пуск копкой \"Тревога\", стоп кнопкой \"Питание\")");
    EXPECT_EQ(form1->RadioGroup1->itemIndex(), -1);
    form1->RadioGroup1->setItemIndex(3);
    EXPECT_EQ(form1->RadioGroup1->itemIndex(), 3);
    form1->RadioGroup1->setItemIndex(-1);
    EXPECT_EQ(form1->RadioGroup1->itemIndex(), -1);
}

TEST_F(MainWindowLayout, CaptionsColumnHeadsAndButtons) {
    EXPECT_TRUE(hasGroup(form1->TabSheet3, "Телефоны для связи "));
    EXPECT_TRUE(hasGroup(form1->TabSheet3, "Телефон модуля"));
    EXPECT_TRUE(hasGroup(form1->TabSheet1, "Период связи GPRS"));
    EXPECT_TRUE(hasGroup(form1->TabSheet1, "Настройки интернета"));
    EXPECT_TRUE(hasGroup(form1->TabSheet6, "Код ид.          Версия.        Eeprom"));
    for (const char* head : {"sms", "voice"}) EXPECT_TRUE(hasLabel(form1->TabSheet3, head)) << head;
    for (const char* head : {"Разрешить", "мин"}) EXPECT_TRUE(hasLabel(form1->TabSheet1, head)) << head;
    for (const char* head : {"USSD", "Период(мин)", "Значение", "Лимит"})
        EXPECT_TRUE(hasLabel(form1->TabSheet6, head)) << head;
    for (const char* caption : {"Время по \nГринвичу (ч, м, с)", "Дата  (д, м, г)", "Скорость (узлы)", "Курс (град)",
                                "Широта (гр, мин)", "Долгота (гр, мин)"})
        EXPECT_TRUE(hasLabel(form1->TabSheet7, caption)) << caption;

    EXPECT_EQ(form1->Button1->text(), "EraseEeprom");
    EXPECT_EQ(form1->BUpgrade->text(), "Програм.");
    EXPECT_FALSE(form1->BUpgrade->isEnabled());
    EXPECT_EQ(form1->BClearMemo->text(), "Очистить");
    for (QPushButton* write : {form1->WriteInternetB, form1->WriteApnB, form1->WriteTLB, form1->WriteMicB})
        EXPECT_FALSE(write->isEnabled()) << write->objectName().toStdString();
    for (QPushButton* read : {form1->ReadInternetB, form1->ReadApnB, form1->ReadTLB, form1->ReadMicB, form1->ReadGpsB})
        EXPECT_TRUE(read->isEnabled());

    EXPECT_EQ(form1->ProgramGrid1->columnCount(), 9);
    EXPECT_EQ(form1->ProgramGrid1->rowCount(), 11);
    EXPECT_EQ(form1->ProgressBar1->minimum(), 0);
    EXPECT_EQ(form1->ProgressBar1->maximum(), 100);
    EXPECT_TRUE(form1->MemoIn->toPlainText().isEmpty());
    EXPECT_TRUE(hasLabel(form1->TabSheet5, "Обновить"));
    EXPECT_TRUE(hasLabel(form1->TabSheet5, "Обновлено"));
}

// Every control is inside its page's visible area; VIGIL_SHOTS names a folder for the pictures.
TEST_F(MainWindowLayout, EveryPageShowsAllItsControls) {
    form1->show();
    form1->activateWindow();
    apptest::pumpUntil([&] { return form1->isVisible(); });
    EXPECT_EQ(form1->focusWidget(), form1->ReadInternetB);
    const char* shots = std::getenv("VIGIL_SHOTS");
    for (int i = 0; i < form1->PageControl1->count(); ++i) {
        form1->PageControl1->setCurrentIndex(i);
        QWidget* page = form1->PageControl1->widget(i);
        apptest::pumpFor(std::chrono::milliseconds(20));
        for (QWidget* w : page->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(page) || w->objectName().startsWith("qt_")) continue;
            const QRect inPage(w->mapTo(page, QPoint(0, 0)), w->size());
            EXPECT_TRUE(page->rect().contains(inPage))
                << page->objectName().toStdString() << " " << w->metaObject()->className() << " "
                << w->objectName().toStdString();
        }
        const QPixmap shot = form1->grab();
        EXPECT_FALSE(shot.isNull());
        if (shots) shot.save(QStringLiteral("%1/tab%2-%3.png").arg(shots).arg(i).arg(page->objectName()));
    }
}

TEST_F(MainWindowLayout, FirstStartWritesTheMarkerLaterStartsDoNot) {
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

}  // namespace
