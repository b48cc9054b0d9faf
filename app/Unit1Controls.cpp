#include "app/Unit1Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include "app/Unit1.h"
#include "protocol/Cp1251.h"
#include "ui/TRadioGroup.h"

void Unit1Controls::index(QWidget* root) {
    for (std::size_t i = 0; i < protocol::kParameters.size(); ++i) {
        const std::string_view name = protocol::kParameters[i].control;
        widgets_[i] = root->findChild<QWidget*>(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
}

template <class W>
W* Unit1Controls::find(const protocol::Parameter& p) const {
    return qobject_cast<W*>(widgets_[static_cast<std::size_t>(&p - protocol::kParameters.data())]);
}

std::optional<std::string> Unit1Controls::text(const protocol::Parameter& p) const {
    auto* edit = find<QLineEdit>(p);
    if (!edit) return std::string();
    return protocol::toCp1251(edit->text().toStdString());
}

void Unit1Controls::setText(const protocol::Parameter& p, std::string_view cp1251) {
    auto* edit = find<QLineEdit>(p);
    if (!edit) return;
    const QString text = QString::fromStdString(protocol::fromCp1251ForDisplay(cp1251));
    // The same text again runs no change check, as with a typed field.
    if (edit->text() != text) edit->setText(text);
}

bool Unit1Controls::checked(const protocol::Parameter& p) const {
    auto* box = find<QCheckBox>(p);
    return box && box->isChecked();
}

void Unit1Controls::setChecked(const protocol::Parameter& p, bool on) {
    if (auto* box = find<QCheckBox>(p)) box->setChecked(on);
}

int Unit1Controls::itemIndex(const protocol::Parameter& p) const {
    if (auto* combo = find<QComboBox>(p)) return combo->currentIndex();
    if (auto* group = find<TRadioGroup>(p)) return group->itemIndex();
    return -1;
}

void Unit1Controls::setItemIndex(const protocol::Parameter& p, int index) {
    if (auto* combo = find<QComboBox>(p)) {
        // Past the last item a list shows no selection.
        combo->setCurrentIndex(index < combo->count() ? index : -1);
    } else if (auto* group = find<TRadioGroup>(p)) {
        group->setItemIndex(index);
    }
}

int Unit1Controls::position(const protocol::Parameter& p) const {
    auto* bar = find<QSlider>(p);
    return bar ? bar->value() : 0;
}

void Unit1Controls::setPosition(const protocol::Parameter& p, int position) {
    if (auto* bar = find<QSlider>(p)) bar->setValue(position);
}

void Unit1Controls::enableWriteControls() {
    form_.enableWriteControls();
}
