#include "app/FieldMarks.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSlider>
#include <QVariant>
#include <QWidget>

#include "ui/TRadioGroup.h"

namespace app {
namespace {

using protocol::Parameter;

QString editedTip() {
    return QCoreApplication::translate("FieldMarks", "Изменено, в терминал ещё не записано");
}
// Frames by objectName, so a group's own items keep their look. Both frames stand out against a
// light and a dark field; the pale red field brings its own dark text, or a dark palette's light
// text would vanish on it.
const QString kEditedStyle = QStringLiteral("#%1 { border: 2px solid #e69500; }");
const QString kMismatchStyle =
    QStringLiteral("#%1 { border: 2px solid #e53935; background: #fdecea; color: #1b1b1b; }");

}  // namespace

FieldMarks::FieldMarks(QWidget& window, std::function<void(const Parameter*)> onEdited)
    : window_(window), onEdited_(std::move(onEdited)) {
    for (const Parameter& p : protocol::kParameters)
        if (p.group != protocol::WriteGroup::None)
            if (QWidget* w = widgetOf(&p)) watch(&p, w);
}

QWidget* FieldMarks::widgetOf(const Parameter* p) const {
    return window_.findChild<QWidget*>(
        QString::fromLatin1(p->control.data(), static_cast<qsizetype>(p->control.size())));
}

// Only what the operator does: signals that programmatic changes do not raise.
void FieldMarks::watch(const Parameter* p, QWidget* w) {
    auto mark = [this, p] {
        edited(p);
        if (onEdited_) onEdited_(p);
    };
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QObject::connect(edit, &QLineEdit::textEdited, edit, mark);
    } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
        QObject::connect(box, &QCheckBox::clicked, box, mark);
    } else if (auto* list = qobject_cast<QComboBox*>(w)) {
        QObject::connect(list, &QComboBox::activated, list, mark);
    } else if (auto* bar = qobject_cast<QSlider*>(w)) {
        QObject::connect(bar, &QSlider::actionTriggered, bar, mark);
    } else if (auto* group = qobject_cast<TRadioGroup*>(w)) {
        for (QAbstractButton* item : group->findChildren<QAbstractButton*>())
            QObject::connect(item, &QAbstractButton::clicked, group, mark);
    }
}

// Retyped after a value not taken: the old tooltip no longer tells what is on screen.
void FieldMarks::edited(const Parameter* p) {
    marks_[p].edited = true;
    marks_[p].mismatch.clear();
    show(p);
}

std::vector<const Parameter*> FieldMarks::editedOf(std::span<const Parameter* const> params) const {
    std::vector<const Parameter*> out;
    for (const Parameter* p : params)
        if (const auto it = marks_.find(p); it != marks_.end() && it->second.edited)
            out.push_back(p);
    return out;
}

void FieldMarks::settled(const session::ParameterSet& assigned) {
    for (const Parameter* p : assigned) {
        const auto it = marks_.find(p);
        if (it == marks_.end()) continue;
        it->second.edited = false;
        it->second.mismatch.clear();
        show(p);
    }
}

void FieldMarks::sent(const std::vector<const Parameter*>& emptied) {
    for (const Parameter* p : emptied) {
        const auto it = marks_.find(p);
        if (it == marks_.end() || it->second.mismatch.isEmpty()) continue;
        it->second.mismatch.clear();
        show(p);
    }
}

void FieldMarks::notTaken(const protocol::ValueMismatch& m) {
    marks_[m.parameter].mismatch = QString::fromStdString(protocol::mismatchLine(m));
    show(m.parameter);
}

void FieldMarks::show(const Parameter* p) {
    QWidget* w = widgetOf(p);
    if (!w) return;
    Mark& mark = marks_[p];
    const char* kind = !mark.mismatch.isEmpty() ? "mismatch" : mark.edited ? "edited" : "";
    const QString before = w->property(kProperty).toString();
    if (before.isEmpty() && *kind) mark.ownToolTip = w->toolTip();
    w->setProperty(kProperty, QString::fromLatin1(kind));
    if (!mark.mismatch.isEmpty()) {
        w->setStyleSheet(kMismatchStyle.arg(w->objectName()));
        w->setToolTip(mark.mismatch);
    } else if (mark.edited) {
        w->setStyleSheet(kEditedStyle.arg(w->objectName()));
        w->setToolTip(editedTip());
    } else {
        w->setStyleSheet(QString());
        w->setToolTip(mark.ownToolTip);
    }
}

}  // namespace app
