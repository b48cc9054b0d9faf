#pragma once
// ControlAccess over the table's places, without a test framework (fuzz targets and benchmarks use
// it; tests use MapControls). Starts as the window does: texts empty, boxes unticked, lists without
// selection, the track bar at 2. What the window's controls could not hold (a value of another
// kind, an index outside the list, a position outside the track bar) goes to refuse(), which
// aborts here. Tests may name a parameter by its window control ("ETl1"), as the cases read best.
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/ControlAccess.h"
#include "protocol/ParameterTable.h"

namespace test {

class StoredControls : public protocol::ControlAccess {
  public:
    using Kind = protocol::ControlKind;
    using Parameter = protocol::Parameter;
    // Called with the control's name whenever setText changes a text (the change checks).
    std::function<void(std::string_view control)> onTextChanged;
    bool writeControlsEnabled = false;
    std::vector<std::string> changed;  // edits whose text setText changed, in order

    std::optional<std::string> text(const Parameter& p) const override {
        const Slot& s = slot(p, Kind::Edit);
        if (s.unencodable) return std::nullopt;
        return s.text;
    }
    void setText(const Parameter& p, std::string_view cp1251) override {
        Slot& s = slot(p, Kind::Edit);
        s.unencodable = false;
        if (s.text == cp1251) return;
        s.text = std::string(cp1251);
        changed.push_back(std::string(p.control));
        if (onTextChanged) onTextChanged(p.control);
    }
    bool checked(const Parameter& p) const override { return slot(p, Kind::CheckBox).checked; }
    void setChecked(const Parameter& p, bool on) override { slot(p, Kind::CheckBox).checked = on; }
    int itemIndex(const Parameter& p) const override {
        return slot(p, Kind::ComboBox, Kind::RadioGroup).index;
    }
    void setItemIndex(const Parameter& p, int index) override {
        Slot& s = slot(p, Kind::ComboBox, Kind::RadioGroup);
        if (index < -1 || index >= p.itemCount)
            refuse(std::string(p.control) + " index " + std::to_string(index));
        s.index = index;
    }
    int position(const Parameter& p) const override {
        slot(p, Kind::TrackBar);
        return position_;
    }
    void setPosition(const Parameter& p, int position) override {
        slot(p, Kind::TrackBar);
        if (position < protocol::kTrackBarMin || position > protocol::kTrackBarMax)
            refuse("track bar position " + std::to_string(position));
        position_ = position;
    }
    void enableWriteControls() override { writeControlsEnabled = true; }

    // The same, by the window control's name.
    std::optional<std::string> text(std::string_view control) const { return text(at(control)); }
    void setText(std::string_view control, std::string_view cp1251) {
        setText(at(control), cp1251);
    }
    bool checked(std::string_view control) const { return checked(at(control)); }
    void setChecked(std::string_view control, bool on) { setChecked(at(control), on); }
    int itemIndex(std::string_view control) const { return itemIndex(at(control)); }
    void setItemIndex(std::string_view control, int index) { setItemIndex(at(control), index); }
    int position(std::string_view control) const { return position(at(control)); }
    void setPosition(std::string_view control, int position) { setPosition(at(control), position); }

    // The edit holds a character cp1251 cannot carry (text() reports it).
    void setUnencodable(const Parameter& p) { slot(p, Kind::Edit).unencodable = true; }
    void setUnencodable(std::string_view control) { setUnencodable(at(control)); }

    // One parameter's value as text, for comparisons.
    std::string value(const Parameter& p) const {
        switch (p.kind) {
            case Kind::Edit:
                return text(p).value_or("<unencodable>");
            case Kind::CheckBox:
                return checked(p) ? "1" : "0";
            case Kind::TrackBar:
                return std::to_string(position(p));
            default:
                return std::to_string(itemIndex(p));
        }
    }

    // A snapshot of every value, for "nothing changed" checks.
    std::map<std::string, std::string> state() const {
        std::map<std::string, std::string> all;
        for (const Parameter& p : protocol::kParameters) all[std::string(p.control)] = value(p);
        all["<write controls>"] = writeControlsEnabled ? "enabled" : "disabled";
        return all;
    }

  protected:
    virtual void refuse(const std::string&) const { std::abort(); }

  private:
    // Values by the parameter's place in the table (the fuzz targets look them up thousands of
    // times a second); a misnamed control or a value of another kind still gets a slot of its
    // own after its refusal.
    struct Slot {
        std::string text;
        bool unencodable = false;
        bool checked = false;
        int index = protocol::kNoSelection;
    };

    const Parameter& at(std::string_view control) const {
        if (const Parameter* p = protocol::findByControl(control)) return *p;
        refuse("no parameter has the control " + std::string(control));
        return misnamed_;
    }
    Slot& slot(const Parameter& p, Kind kind, Kind orKind) const {
        if (&p == &misnamed_ || (p.kind != kind && p.kind != orKind)) {
            refuse("not a control of this kind: " + std::string(p.control));
            return spare_;
        }
        return slots_[static_cast<std::size_t>(&p - protocol::kParameters.data())];
    }
    Slot& slot(const Parameter& p, Kind kind) const { return slot(p, kind, kind); }

    inline static const Parameter misnamed_{"", "", "", "", "", "", {}, {}, {}, 0, 0};
    mutable std::vector<Slot> slots_ = std::vector<Slot>(protocol::kParameters.size());
    mutable Slot spare_;
    int position_ = protocol::kTrackBarInitial;
};

}  // namespace test
