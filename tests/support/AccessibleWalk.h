#pragma once
// What a screen reader finds in a window: walks its accessibility tree and lists every control a
// user operates that has no name, or has a tooltip but no description. Widgets hidden on purpose
// (a button the window does not use) are not looked at; hidden pages are.
#include <QAbstractButton>
#include <QAccessible>
#include <QSet>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace testsupport {

inline QStringList unnamedControls(QWidget& window, QSet<QObject*>* visited = nullptr) {
    static const QSet<QAccessible::Role> operated = {
        QAccessible::PushButton, QAccessible::CheckBox,     QAccessible::RadioButton,
        QAccessible::ComboBox,   QAccessible::EditableText, QAccessible::Slider,
        QAccessible::SpinBox,    QAccessible::Table,        QAccessible::Tree,
        QAccessible::List,       QAccessible::PageTab,      QAccessible::ButtonMenu};
    QStringList faults;
    std::function<void(QAccessibleInterface*, int)> walk = [&](QAccessibleInterface* node,
                                                               int depth) {
        if (!node || !node->isValid() || depth > 40) return;
        QObject* object = node->object();
        if (visited && object) visited->insert(object);
        const auto* widget = qobject_cast<QWidget*>(object);
        const bool unused = qobject_cast<QAbstractButton*>(object) &&
                            widget->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
                            widget->isHidden();
        const QString who = (object ? object->objectName() : QString()) + QStringLiteral(" role ") +
                            QString::number(node->role());
        if (operated.contains(node->role()) && !unused) {
            if (node->text(QAccessible::Name).trimmed().isEmpty())
                faults << QStringLiteral("no name: ") + who;
            if (widget && !widget->toolTip().isEmpty() &&
                node->text(QAccessible::Description).isEmpty())
                faults << QStringLiteral("no description: ") + who;
        }
        for (int i = 0; i < node->childCount(); ++i) walk(node->child(i), depth + 1);
    };
    walk(QAccessible::queryAccessibleInterface(&window), 0);
    return faults;
}

}  // namespace testsupport
