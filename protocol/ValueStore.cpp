#include "protocol/ValueStore.h"

#include <utility>

namespace protocol {

ValueStore::ValueStore() {
    for (std::size_t i = 0; i < kParameters.size(); ++i) {
        const Parameter& p = kParameters[i];
        if (p.kind == ControlKind::ComboBox || p.kind == ControlKind::RadioGroup)
            slots_[i].number = kNoSelection;
        if (p.kind == ControlKind::TrackBar) slots_[i].number = kTrackBarInitial;
    }
}

const ValueStore::Slot* ValueStore::slot(std::string_view control, ControlKind kind,
                                         ControlKind orKind) const {
    const Parameter* p = findByControl(control);
    if (!p || (p->kind != kind && p->kind != orKind)) return nullptr;
    return &slots_[static_cast<std::size_t>(p - kParameters.data())];
}

ValueStore::Slot* ValueStore::slot(std::string_view control, ControlKind kind, ControlKind orKind) {
    return const_cast<Slot*>(std::as_const(*this).slot(control, kind, orKind));
}

std::optional<std::string> ValueStore::text(std::string_view control) const {
    const Slot* s = slot(control, ControlKind::Edit, ControlKind::Edit);
    return s ? s->text : std::string();
}

void ValueStore::setText(std::string_view control, std::string_view cp1251) {
    if (Slot* s = slot(control, ControlKind::Edit, ControlKind::Edit)) s->text = cp1251;
}

bool ValueStore::checked(std::string_view control) const {
    const Slot* s = slot(control, ControlKind::CheckBox, ControlKind::CheckBox);
    return s && s->number != 0;
}

void ValueStore::setChecked(std::string_view control, bool on) {
    if (Slot* s = slot(control, ControlKind::CheckBox, ControlKind::CheckBox)) s->number = on;
}

int ValueStore::itemIndex(std::string_view control) const {
    const Slot* s = slot(control, ControlKind::ComboBox, ControlKind::RadioGroup);
    return s ? s->number : kNoSelection;
}

void ValueStore::setItemIndex(std::string_view control, int index) {
    const Parameter* p = findByControl(control);
    Slot* s = slot(control, ControlKind::ComboBox, ControlKind::RadioGroup);
    if (s && index >= kNoSelection && index < p->itemCount) s->number = index;
}

int ValueStore::position(std::string_view control) const {
    const Slot* s = slot(control, ControlKind::TrackBar, ControlKind::TrackBar);
    return s ? s->number : kTrackBarInitial;
}

void ValueStore::setPosition(std::string_view control, int position) {
    Slot* s = slot(control, ControlKind::TrackBar, ControlKind::TrackBar);
    if (s && position >= kTrackBarMin && position <= kTrackBarMax) s->number = position;
}

}  // namespace protocol
