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

    std::optional<std::string> text(std::string_view control) const override {
        return target_.text(control);
    }
    void setText(std::string_view control, std::string_view cp1251) override {
        note(control);
        target_.setText(control, cp1251);
    }
    bool checked(std::string_view control) const override { return target_.checked(control); }
    void setChecked(std::string_view control, bool on) override {
        note(control);
        target_.setChecked(control, on);
    }
    int itemIndex(std::string_view control) const override { return target_.itemIndex(control); }
    void setItemIndex(std::string_view control, int index) override {
        note(control);
        target_.setItemIndex(control, index);
    }
    int position(std::string_view control) const override { return target_.position(control); }
    void setPosition(std::string_view control, int position) override {
        note(control);
        target_.setPosition(control, position);
    }
    void enableWriteControls() override { target_.enableWriteControls(); }

  private:
    void note(std::string_view control) {
        if (const Parameter* p = findByControl(control)) assigned_.insert(p);
    }

    ControlAccess& target_;
    std::set<const Parameter*> assigned_;
};

}  // namespace protocol
