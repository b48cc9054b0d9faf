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

const ValueStore::Slot* ValueStore::slot(const Parameter& p, ControlKind kind,
                                         ControlKind orKind) const {
    if (p.kind != kind && p.kind != orKind) return nullptr;
    return &slots_[static_cast<std::size_t>(&p - kParameters.data())];
}

ValueStore::Slot* ValueStore::slot(const Parameter& p, ControlKind kind, ControlKind orKind) {
    return const_cast<Slot*>(std::as_const(*this).slot(p, kind, orKind));
}

std::optional<std::string> ValueStore::text(const Parameter& p) const {
    const Slot* s = slot(p, ControlKind::Edit, ControlKind::Edit);
    return s ? s->text : std::string();
}

void ValueStore::setText(const Parameter& p, std::string_view cp1251) {
    if (Slot* s = slot(p, ControlKind::Edit, ControlKind::Edit)) s->text = cp1251;
}

bool ValueStore::checked(const Parameter& p) const {
    const Slot* s = slot(p, ControlKind::CheckBox, ControlKind::CheckBox);
    return s && s->number != 0;
}

void ValueStore::setChecked(const Parameter& p, bool on) {
    if (Slot* s = slot(p, ControlKind::CheckBox, ControlKind::CheckBox)) s->number = on;
}

int ValueStore::itemIndex(const Parameter& p) const {
    const Slot* s = slot(p, ControlKind::ComboBox, ControlKind::RadioGroup);
    return s ? s->number : kNoSelection;
}

void ValueStore::setItemIndex(const Parameter& p, int index) {
    Slot* s = slot(p, ControlKind::ComboBox, ControlKind::RadioGroup);
    if (s && index >= kNoSelection && index < p.itemCount) s->number = index;
}

int ValueStore::position(const Parameter& p) const {
    const Slot* s = slot(p, ControlKind::TrackBar, ControlKind::TrackBar);
    return s ? s->number : kTrackBarInitial;
}

void ValueStore::setPosition(const Parameter& p, int position) {
    Slot* s = slot(p, ControlKind::TrackBar, ControlKind::TrackBar);
    if (s && position >= kTrackBarMin && position <= kTrackBarMax) s->number = position;
}

}  // namespace protocol
