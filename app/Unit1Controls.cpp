#include "app/Unit1Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include "app/TRadioGroup.h"
#include "app/Unit1.h"
#include "protocol/Cp1251.h"

void Unit1Controls::index(QWidget* root) {
    widgets_.clear();
    for (QWidget* w : root->findChildren<QWidget*>())
        if (!w->objectName().isEmpty()) widgets_[w->objectName().toStdString()] = w;
}

QWidget* Unit1Controls::widget(std::string_view control) const {
    const auto it = widgets_.find(std::string(control));
    return it == widgets_.end() ? nullptr : it->second;
}

template <class W>
W* Unit1Controls::find(std::string_view control) const {
    return qobject_cast<W*>(widget(control));
}

std::optional<std::string> Unit1Controls::text(std::string_view control) const {
    auto* edit = find<QLineEdit>(control);
    if (!edit) return std::string();
    return protocol::toCp1251(edit->text().toStdString());
}

void Unit1Controls::setText(std::string_view control, std::string_view cp1251) {
    auto* edit = find<QLineEdit>(control);
    if (!edit) return;
    const QString text = QString::fromStdString(protocol::fromCp1251ForDisplay(cp1251));
    // The same text again runs no change check, as with a typed field.
    if (edit->text() != text) edit->setText(text);
}

bool Unit1Controls::checked(std::string_view control) const {
    auto* box = find<QCheckBox>(control);
    return box && box->isChecked();
}

void Unit1Controls::setChecked(std::string_view control, bool on) {
    if (auto* box = find<QCheckBox>(control)) box->setChecked(on);
}

int Unit1Controls::itemIndex(std::string_view control) const {
    if (auto* combo = find<QComboBox>(control)) return combo->currentIndex();
    if (auto* group = find<TRadioGroup>(control)) return group->itemIndex();
    return -1;
}

void Unit1Controls::setItemIndex(std::string_view control, int index) {
    if (auto* combo = find<QComboBox>(control)) {
        // Past the last item a list shows no selection.
        combo->setCurrentIndex(index < combo->count() ? index : -1);
    } else if (auto* group = find<TRadioGroup>(control)) {
        group->setItemIndex(index);
    }
}

int Unit1Controls::position(std::string_view control) const {
    auto* bar = find<QSlider>(control);
    return bar ? bar->value() : 0;
}

void Unit1Controls::setPosition(std::string_view control, int position) {
    if (auto* bar = find<QSlider>(control)) bar->setValue(position);
}

void Unit1Controls::enableWriteControls() {
    form_.enableWriteControls();
}
