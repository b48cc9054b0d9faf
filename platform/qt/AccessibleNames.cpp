#include "platform/qt/AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>
#include <optional>

namespace platform {
namespace {

// The name this pass gave, so a later pass may replace it while it is still the name (one set by
// hand since stays).
const char* const kDerivedName = "vigilDerivedName";

QString labelText(const QLayoutItem* item) {
    const auto* label = item ? qobject_cast<const QLabel*>(item->widget()) : nullptr;
    return label && !label->isHidden() ? spokenCaption(label->text()) : QString();
}

// A label item's text, or the texts of the labels of a nested layout (a caption on two lines).
QString captionOf(QLayoutItem* item) {
    if (!item) return {};
    QLayout* inner = item->layout();
    if (!inner) return labelText(item);
    QStringList parts;
    for (int i = 0; i < inner->count(); ++i)
        if (QString part = labelText(inner->itemAt(i)); !part.isEmpty()) parts << part;
    return parts.join(QLatin1Char(' '));
}

QLabel* labelOf(QLayoutItem* item) {
    return item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
}

struct Place {
    QLayout* layout;
    int index;
};

// The innermost layout under `layout` that holds the widget, and where.
std::optional<Place> placeIn(QLayout* layout, const QWidget& widget) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == &widget) return Place{layout, i};
        if (QLayout* inner = item->layout())
            if (auto place = placeIn(inner, widget)) return place;
    }
    return std::nullopt;
}

struct Caption {
    QString text;
    QLabel* buddy = nullptr;  // the label that captions this control alone
};

// In a grid: the label at the start of the row ("Сервер 1") and the column's head above it
// ("IP адрес"), as "Сервер 1, IP адрес".
Caption gridCaption(QGridLayout& grid, int index) {
    int row = 0, column = 0, rows = 0, columns = 0;
    grid.getItemPosition(index, &row, &column, &rows, &columns);
    Caption caption;
    QString rowHead;
    if (column > 0) {
        QLayoutItem* first = grid.itemAtPosition(row, 0);
        rowHead = captionOf(first);
        if (column == 1) caption.buddy = labelOf(first);
    }
    QString columnHead;
    for (int r = row - 1; r >= 0 && columnHead.isEmpty(); --r) {
        QLayoutItem* above = grid.itemAtPosition(r, column);
        columnHead = captionOf(above);
        if (!columnHead.isEmpty() && rowHead.isEmpty() && r == row - 1)
            caption.buddy = labelOf(above);
    }
    if (rowHead.isEmpty() || columnHead.isEmpty()) {
        caption.text = rowHead + columnHead;
    } else {
        caption.text = rowHead + QStringLiteral(", ") + columnHead;
        if (column != 1) caption.buddy = nullptr;
    }
    return caption;
}

// In a row or column: the label just before the control.
Caption boxCaption(QLayout& box, int index) {
    if (index == 0) return {};
    QLayoutItem* before = box.itemAt(index - 1);
    return {captionOf(before), labelOf(before)};
}

Caption layoutCaption(const QWidget& widget) {
    const QWidget* parent = widget.parentWidget();
    if (!parent || !parent->layout()) return {};
    const auto place = placeIn(parent->layout(), widget);
    if (!place) return {};
    if (auto* grid = qobject_cast<QGridLayout*>(place->layout))
        return gridCaption(*grid, place->index);
    if (qobject_cast<QBoxLayout*>(place->layout)) return boxCaption(*place->layout, place->index);
    return {};
}

QString groupTitle(const QWidget& widget) {
    for (const QWidget* w = widget.parentWidget(); w && !w->isWindow(); w = w->parentWidget())
        if (const auto* group = qobject_cast<const QGroupBox*>(w);
            group && !group->title().trimmed().isEmpty())
            return spokenCaption(group->title());
    return {};
}

// The caption of the tab page the widget is on.
QString pageCaption(const QWidget& widget) {
    for (const QWidget* w = &widget; w && !w->isWindow(); w = w->parentWidget()) {
        const QWidget* stack = w->parentWidget();
        const auto* tabs = stack ? qobject_cast<const QTabWidget*>(stack->parentWidget()) : nullptr;
        if (tabs && qobject_cast<const QStackedWidget*>(stack)) {
            const int index = tabs->indexOf(const_cast<QWidget*>(w));
            if (index >= 0) return spokenCaption(tabs->tabText(index));
        }
    }
    return {};
}

// A button's own caption is its name already.
bool hasOwnCaption(const QWidget& widget) {
    const auto* button = qobject_cast<const QAbstractButton*>(&widget);
    return button && !spokenCaption(button->text()).isEmpty();
}

void nameControl(QWidget& widget) {
    const QVariant given = widget.property(kDerivedName);
    const bool ours = given.isValid() && given.toString() == widget.accessibleName();
    if ((!widget.accessibleName().isEmpty() && !ours) || hasOwnCaption(widget)) return;
    const Caption beside = layoutCaption(widget);
    if (beside.buddy && !beside.buddy->buddy()) beside.buddy->setBuddy(&widget);
    QString name = beside.text;
    if (name.isEmpty()) name = groupTitle(widget);
    if (name.isEmpty()) name = spokenCaption(widget.toolTip());  // an icon's hint
    if (name.isEmpty()) name = pageCaption(widget);
    if (name.isEmpty()) name = spokenCaption(widget.window()->windowTitle());
    widget.setAccessibleName(name);
    widget.setProperty(kDerivedName, name);
}

// Shows a button's shortcut after its tooltip ("Подключить Comm (Ctrl+L)"); the tooltip itself
// stays as it is.
class ShortcutHint : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (event->type() != QEvent::ToolTip || !button || button->shortcut().isEmpty())
            return false;
        const QString key = button->shortcut().toString(QKeySequence::NativeText);
        const QString tip = button->toolTip().isEmpty()
                                ? key
                                : button->toolTip() + QStringLiteral(" (%1)").arg(key);
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, button);
        return true;
    }
};

// Runs the pass over its window, again after every language change (once the window's own
// texts are retranslated).
class ControlNamer : public QObject {
  public:
    static constexpr const char* kObjectName = "vigilControlNamer";

    explicit ControlNamer(QWidget& window) : QObject(&window), window_(window) {
        setObjectName(QLatin1String(kObjectName));
        window.installEventFilter(this);
    }

    void run() {
        for (QWidget* w : window_.findChildren<QWidget*>()) {
            if (w->window() != &window_ || !isInteractiveControl(*w)) continue;
            nameControl(*w);
            // A list's drop-down is read out under the list's own name.
            if (auto* list = qobject_cast<QComboBox*>(w))
                list->view()->setAccessibleName(list->accessibleName());
            // Read-only fields are read by moving through them with Tab.
            if (w->focusPolicy() == Qt::NoFocus &&
                (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w)))
                w->setFocusPolicy(Qt::StrongFocus);
            if (auto* button = qobject_cast<QAbstractButton*>(w);
                button && !button->shortcut().isEmpty())
                button->installEventFilter(&hint_);  // installing twice keeps one
        }
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::LanguageChange)
            QTimer::singleShot(0, this, [self = QPointer<ControlNamer>(this)] {
                if (self) self->run();
            });
        return false;
    }

  private:
    QWidget& window_;
    ShortcutHint hint_;
};

}  // namespace

QString spokenCaption(const QString& caption) {
    QString text = caption;
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    text = text.simplified();
    while (text.endsWith(QLatin1Char(':'))) text.chop(1);
    return text.trimmed();
}

bool isInteractiveControl(const QWidget& widget) {
    if (widget.isWindow() || widget.objectName().startsWith(QLatin1String("qt_"))) return false;
    for (const QWidget* p = widget.parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p) ||
            qobject_cast<const QAbstractScrollArea*>(p) || qobject_cast<const QTabBar*>(p))
            return false;
    if (qobject_cast<const QAbstractSlider*>(&widget))
        return !qobject_cast<const QScrollBar*>(&widget);
    return qobject_cast<const QAbstractButton*>(&widget) ||
           qobject_cast<const QComboBox*>(&widget) || qobject_cast<const QLineEdit*>(&widget) ||
           qobject_cast<const QAbstractSpinBox*>(&widget) ||
           qobject_cast<const QAbstractItemView*>(&widget) ||
           qobject_cast<const QPlainTextEdit*>(&widget) || qobject_cast<const QTextEdit*>(&widget);
}

void nameControls(QWidget& window) {
    // ControlNamer has no meta-object of its own, so it is found by its name.
    auto* namer = static_cast<ControlNamer*>(window.findChild<QObject*>(
        QLatin1String(ControlNamer::kObjectName), Qt::FindDirectChildrenOnly));
    if (!namer) namer = new ControlNamer(window);
    namer->run();
}

}  // namespace platform
