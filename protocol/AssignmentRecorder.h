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
        note(p);
        target_.setText(p, cp1251);
    }
    bool checked(const Parameter& p) const override { return target_.checked(p); }
    void setChecked(const Parameter& p, bool on) override {
        note(p);
        target_.setChecked(p, on);
    }
    int itemIndex(const Parameter& p) const override { return target_.itemIndex(p); }
    void setItemIndex(const Parameter& p, int index) override {
        note(p);
        target_.setItemIndex(p, index);
    }
    int position(const Parameter& p) const override { return target_.position(p); }
    void setPosition(const Parameter& p, int position) override {
        note(p);
        target_.setPosition(p, position);
    }
    void enableWriteControls() override { target_.enableWriteControls(); }

  private:
    void note(const Parameter& p) { assigned_.insert(&p); }

    ControlAccess& target_;
    std::set<const Parameter*> assigned_;
};

}  // namespace protocol
