#pragma once
// Parameter values without widgets: the command-line program's "controls", and the terminal's
// values read for a comparison without touching the window. Starts as the main window does:
// texts empty, boxes unticked, lists without selection, the track bar at its initial position.
// A name that is no parameter's control, or a value the control could not hold, is ignored.
#include <array>
#include <string>

#include "protocol/ControlAccess.h"
#include "protocol/ParameterTable.h"

namespace protocol {

class ValueStore : public ControlAccess {
  public:
    ValueStore();

    std::optional<std::string> text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view cp1251) override;
    bool checked(std::string_view control) const override;
    void setChecked(std::string_view control, bool on) override;
    int itemIndex(std::string_view control) const override;
    void setItemIndex(std::string_view control, int index) override;
    int position(std::string_view control) const override;
    void setPosition(std::string_view control, int position) override;
    void enableWriteControls() override { writeControlsEnabled_ = true; }

    bool writeControlsEnabled() const { return writeControlsEnabled_; }

  private:
    // One slot per parameter, in table order: the text, or the number (flag, index, position).
    struct Slot {
        std::string text;
        int number = 0;
    };
    const Slot* slot(std::string_view control, ControlKind kind, ControlKind orKind) const;
    Slot* slot(std::string_view control, ControlKind kind, ControlKind orKind);

    std::array<Slot, kParameters.size()> slots_;
    bool writeControlsEnabled_ = false;
};

}  // namespace protocol
