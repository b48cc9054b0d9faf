#pragma once
// Parameter values without widgets: the command-line program's "controls", and the terminal's
// values read for a comparison without touching the window. Starts as the main window does:
// texts empty, boxes unticked, lists without selection, the track bar at its initial position.
// A value the window's control could not hold (a list index past its items, a position off the
// track bar, a value of another kind) is ignored.
#include <array>
#include <string>

#include "protocol/ControlAccess.h"
#include "protocol/ParameterTable.h"

namespace protocol {

class ValueStore : public ControlAccess {
  public:
    ValueStore();

    std::optional<std::string> text(const Parameter& p) const override;
    void setText(const Parameter& p, std::string_view cp1251) override;
    bool checked(const Parameter& p) const override;
    void setChecked(const Parameter& p, bool on) override;
    int itemIndex(const Parameter& p) const override;
    void setItemIndex(const Parameter& p, int index) override;
    int position(const Parameter& p) const override;
    void setPosition(const Parameter& p, int position) override;
    void enableWriteControls() override { writeControlsEnabled_ = true; }

    bool writeControlsEnabled() const { return writeControlsEnabled_; }

  private:
    // One slot per parameter, in table order: the text, or the number (flag, index, position).
    struct Slot {
        std::string text;
        int number = 0;
    };
    const Slot* slot(const Parameter& p, ControlKind kind, ControlKind orKind) const;
    Slot* slot(const Parameter& p, ControlKind kind, ControlKind orKind);

    std::array<Slot, kParameters.size()> slots_;
    bool writeControlsEnabled_ = false;
};

}  // namespace protocol
