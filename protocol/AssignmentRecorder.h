#pragma once
// Forwards every call to another ControlAccess and records which parameters were assigned. Wrapped
// around the controls while answers are parsed, it tells which values an answer refilled: the
// controls alone cannot (a flag answered "0" leaves an emptied box unticked).
#include <set>

#include "protocol/ControlAccess.h"
#include "protocol/ParameterTable.h"

namespace protocol {

class AssignmentRecorder : public ControlAccess {
  public:
    explicit AssignmentRecorder(ControlAccess& target) : target_(target) {}

    const std::set<const Parameter*>& assigned() const { return assigned_; }
    void clear() { assigned_.clear(); }

    std::optional<std::string> text(const Parameter& p) const override { return target_.text(p); }
    void setText(const Parameter& p, std::string_view cp1251) override {
        set(&ControlAccess::setText, p, cp1251);
    }
    bool checked(const Parameter& p) const override { return target_.checked(p); }
    void setChecked(const Parameter& p, bool on) override {
        set(&ControlAccess::setChecked, p, on);
    }
    int itemIndex(const Parameter& p) const override { return target_.itemIndex(p); }
    void setItemIndex(const Parameter& p, int index) override {
        set(&ControlAccess::setItemIndex, p, index);
    }
    int position(const Parameter& p) const override { return target_.position(p); }
    void setPosition(const Parameter& p, int position) override {
        set(&ControlAccess::setPosition, p, position);
    }
    void enableWriteControls() override { target_.enableWriteControls(); }

  private:
    template <class Value>
    void set(void (ControlAccess::*setter)(const Parameter&, Value), const Parameter& p,
             Value value) {
        assigned_.insert(&p);
        (target_.*setter)(p, value);
    }

    ControlAccess& target_;
    std::set<const Parameter*> assigned_;
};

}  // namespace protocol
