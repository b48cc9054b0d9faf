#include "ui/TRadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
    auto* column = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], this);
        buttons_->addButton(item, i);
        column->addWidget(item);
    }
}

int TRadioGroup::itemIndex() const {
    return buttons_->checkedId();
}

int TRadioGroup::count() const {
    return static_cast<int>(buttons_->buttons().size());
}

void TRadioGroup::setItemIndex(int index) {
    if (QAbstractButton* item = buttons_->button(index)) {
        item->setChecked(true);
        return;
    }
    // An exclusive group refuses to untick its last ticked button; lift that for a moment.
    buttons_->setExclusive(false);
    for (QAbstractButton* item : buttons_->buttons()) item->setChecked(false);
    buttons_->setExclusive(true);
}
