// The windows for a screen reader and the keyboard: every control named, fields in the Tab chain
// in the page's reading order, a whole read-edit-write by keys alone, and the field marks legible
// in a dark palette.
#include <QtTest/QTest>

#include "WindowFixture.h"
#include "app/FieldMarks.h"
#include "platform/qt/AccessibleNames.h"
#include "protocol/ParameterTable.h"
#include "protocol/WriteCheck.h"
#include "support/AccessibleWalk.h"
#include "tools/SettingsMode.h"
#include "ui/CompareDialog.h"

namespace {

using namespace std::chrono_literals;
using apptest::pumpUntil;

// Everything here is drawn twice the size, as on a high-density screen.
[[maybe_unused]] const bool kTwiceTheSize = ::setenv("QT_SCALE_FACTOR", "2", 1) == 0;

class AccessibilityTest : public apptest::WindowFixture {};

TEST_F(AccessibilityTest, EveryControlOfEveryWindowHasAName) {
    auto* compare = form1->findChild<ui::CompareDialog*>();
    ASSERT_NE(compare, nullptr);
    for (QWidget* window :
         std::initializer_list<QWidget*>{form1.get(), form2.get(), about.get(), compare}) {
        QSet<QObject*> visited;
        EXPECT_EQ(testsupport::unnamedControls(*window, &visited).join('\n').toStdString(), "")
            << window->objectName().toStdString();
        // The walk reached every field a user types into or ticks.
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if ((qobject_cast<QLineEdit*>(w) || qobject_cast<QCheckBox*>(w)) &&
                w->window() == window) {
                EXPECT_TRUE(visited.contains(w)) << w->objectName().toStdString();
            }
        }
    }
    // Names come from what is read beside the control, and the label leads to it.
    EXPECT_EQ(form1->EditIp[1]->accessibleName(), QString::fromUtf8("Сервер 2, IP адрес"));
    EXPECT_EQ(form1->ChSim1ForVoice[7]->accessibleName(), QString::fromUtf8("8, voice"));
    EXPECT_EQ(form1->EConnectPeriod[2]->accessibleName(), QString::fromUtf8("Сервер 3"));
    EXPECT_EQ(form1->EGpsTime->accessibleName(), QString::fromUtf8("Время по Гринвичу (ч, м, с)"));
    EXPECT_EQ(form1->TrackBar1->accessibleName(), QString::fromUtf8("Чувствительность микрофона"));
    EXPECT_EQ(form1->ToolButton1->accessibleName(), QString::fromUtf8("Подключить Comm"));
    EXPECT_EQ(form2->Label2->buddy(), form2->ComboBox2);
    EXPECT_EQ(form2->ComboBox2->accessibleName(), QString::fromUtf8("Порт"));
    // Names follow the captions into another language; a name given by hand stays.
    form2->Label2->setText(QStringLiteral("Port"));
    form2->ComboBox1->setAccessibleName(QStringLiteral("Line rate"));
    QEvent languageChange(QEvent::LanguageChange);
    QCoreApplication::sendEvent(form2.get(), &languageChange);
    QCoreApplication::processEvents();
    EXPECT_EQ(form2->ComboBox2->accessibleName(), QStringLiteral("Port"));
    EXPECT_EQ(form2->ComboBox1->accessibleName(), QStringLiteral("Line rate"));
    // A tooltip set later is still the description; the shortcut shows beside the tooltip.
    form1->ETl[2]->setToolTip(QStringLiteral("note"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form1->ETl[2])->text(QAccessible::Description),
              "note");
    EXPECT_EQ(form1->ToolButton1->toolTip(), QString::fromUtf8("Подключить Comm"));
    form1->show();
    for (const auto& [button, shown] :
         {std::pair<QAbstractButton*, QString>{form1->ToolButton1, "Подключить Comm (Ctrl+L)"},
          {form1->ReadInternetB, "Ctrl+R"}}) {
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(button, &hover);
        EXPECT_EQ(QToolTip::text(), shown);
    }

    // A control added without any caption is missed by a screen reader until a pass names it
    // after its page.
    auto* stray = new QLineEdit(form1->TabSheet5);
    EXPECT_NE(testsupport::unnamedControls(*form1).join('\n').toStdString(), "");
    platform::nameControls(*form1);
    EXPECT_EQ(stray->accessibleName(), QString::fromUtf8("Обновить"));
}

// Tab moves through each page top to bottom, and left to right along a row; read-only fields
// are on the way.
TEST_F(AccessibilityTest, TabFollowsThePageLayout) {
    form1->show();
    for (int page = 0; page < form1->PageControl1->count(); ++page) {
        QWidget* sheet = form1->PageControl1->widget(page);
        form1->PageControl1->setCurrentIndex(page);
        QCoreApplication::processEvents();
        std::vector<QWidget*> chain;
        for (QWidget* w = form1->nextInFocusChain(); w != form1.get(); w = w->nextInFocusChain())
            if (sheet->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisible())
                chain.push_back(w);
        for (std::size_t i = 1; i < chain.size(); ++i) {
            const QRect a(chain[i - 1]->mapTo(sheet, QPoint()), chain[i - 1]->size());
            const QRect b(chain[i]->mapTo(sheet, QPoint()), chain[i]->size());
            // Down to a later row, right along the same row, or over to the next column.
            const bool sameRow = b.center().y() >= a.top() && b.center().y() <= a.bottom();
            EXPECT_TRUE(sameRow ? b.left() > a.left()
                                : b.top() >= a.center().y() || b.left() >= a.right())
                << chain[i - 1]->objectName().toStdString() << " then "
                << chain[i]->objectName().toStdString();
        }
    }
    for (QLineEdit* readOnly : {form1->EBlVl1, form1->ELim1, form1->EIdCod})
        EXPECT_TRUE(readOnly->focusPolicy() & Qt::TabFocus) << readOnly->objectName().toStdString();
}

class KeyboardTest : public apptest::WindowFixture {
  protected:
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form1.get();
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
        QCoreApplication::processEvents();
    }
    sim::SettingsMode mode;
};

// Connect, go to the phones page, read it, type a number into the first field, write it,
// disconnect and open the menu, all by keys.
TEST_F(KeyboardTest, ReadEditWriteByKeysAlone) {
    sim::Simulator simulator(mode);
    const std::string path = simulator.createPty();
    ASSERT_FALSE(path.empty());
    simulator.start();
    map.map(path, 7);
    form2->CommPort1->SetComNumber(7);
    form1->show();
    form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));

    press(Qt::Key_L, Qt::ControlModifier);
    ASSERT_TRUE(pumpUntil([&] { return form2->CommPort1->IsEnabled(); }));
    press(Qt::Key_Tab, Qt::ControlModifier);
    press(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(form1->PageControl1->currentWidget(), form1->TabSheet3);
    ASSERT_EQ(QApplication::focusWidget(), form1->ETl[0]);  // the page's first field
    press(Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(pumpUntil([&] { return !form1->ETl[0]->text().isEmpty(); }));
    apptest::pumpFor(50ms);

    press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(form1->ETl[0], QStringLiteral("+79990001122"));
    press(Qt::Key_T, Qt::ControlModifier);
    const auto phone1 =
        std::find_if(protocol::kParameters.begin(), protocol::kParameters.end(),
                     [](const protocol::Parameter& p) { return p.name == "Phone1"; });
    ASSERT_NE(phone1, protocol::kParameters.end());
    EXPECT_TRUE(pumpUntil([&] { return mode.store().value(*phone1) == "+79990001122"; }));
    ASSERT_TRUE(pumpUntil([&] { return !form1->ETl[0]->text().isEmpty(); }));

    press(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(pumpUntil([&] { return !form2->CommPort1->IsEnabled(); }));
    // The menu, for File -> Save and the rest.
    press(Qt::Key_F10);
    EXPECT_TRUE(pumpUntil([&] { return QApplication::activePopupWidget() == form1->Fail1; }, 2s));
    press(Qt::Key_Escape);
    simulator.stop();
}

// WCAG's contrast ratio of two colours.
double contrast(QColor a, QColor b) {
    const auto luminance = [](QColor c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// The lightest and the darkest pixel inside a field's frame.
std::pair<QColor, QColor> extremes(QWidget& w) {
    const QImage image = w.grab().toImage();
    QColor light = Qt::black, dark = Qt::white;
    const int margin = qRound(5 * image.devicePixelRatio());  // inside the 2-pixel frame
    for (int y = margin; y < image.height() - margin; ++y)
        for (int x = margin; x < image.width() - margin; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.lightness() > light.lightness()) light = c;
            if (c.lightness() < dark.lightness()) dark = c;
        }
    return {light, dark};
}

// A value not taken and an edited value, drawn twice the size in a dark palette: the text on the
// red mark's field and each frame against the window stay legible.
TEST(FieldMarksLook, LegibleInADarkPalette) {
    apptest::application();
    QApplication::setStyle(QStringLiteral("Fusion"));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Text, Qt::white);
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(dark);  // as a dark desktop theme sets it
    QWidget window;
    window.setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(&window);
    auto* phone = new QLineEdit(QStringLiteral("+79990001122"), &window);
    phone->setObjectName(QStringLiteral("ETl1"));
    auto* apn = new QLineEdit(QStringLiteral("internet"), &window);
    apn->setObjectName(QStringLiteral("EApn1"));
    layout->addWidget(phone);
    layout->addWidget(apn);
    for (QLineEdit* e : {phone, apn})
        e->setFocusPolicy(Qt::NoFocus);  // no text cursor in the picture
    app::FieldMarks marks(window, {});
    const auto parameter = [](std::string_view control) {
        return &*std::find_if(protocol::kParameters.begin(), protocol::kParameters.end(),
                              [&](const protocol::Parameter& p) { return p.control == control; });
    };
    marks.notTaken({parameter("ETl1"), "+79990001122", std::string("+7999")});
    marks.edited(parameter("EApn1"));
    window.resize(240, 80);
    window.show();
    QCoreApplication::processEvents();
    if (const char* dir = std::getenv("VIGIL_RENDER_DIR"))
        window.grab().save(QString::fromUtf8(dir) + "/marks-dark.png");

    for (QLineEdit* e : {phone, apn}) {
        const auto [light, darkest] = extremes(*e);
        EXPECT_GE(contrast(light, darkest), 4.5)
            << light.name().toStdString() << " " << darkest.name().toStdString();
    }
    QApplication::setPalette(saved);
}

}  // namespace
