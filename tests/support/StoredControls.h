#pragma once
// ControlAccess over maps, without a test framework (fuzz targets and benchmarks use it; tests use
// MapControls). Starts as the window does: texts empty, boxes unticked, lists without selection,
// the track bar at 2. What the window's controls could not hold (an unknown control, an index
// outside the list, a position outside the track bar) goes to refuse(), which aborts here.
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "protocol/ControlAccess.h"
#include "protocol/ParameterTable.h"

namespace test {

class StoredControls : public protocol::ControlAccess {
  public:
    using Kind = protocol::ControlKind;
    // Called with the control's name whenever setText changes a text (the change checks).
    std::function<void(std::string_view control)> onTextChanged;
    bool writeControlsEnabled = false;
    std::vector<std::string> changed;  // edits whose text setText changed, in order

    std::optional<std::string> text(std::string_view control) const override {
        const Slot& s = slot(control, Kind::Edit);
        if (s.unencodable) return std::nullopt;
        return s.text;
    }
    void setText(std::string_view control, std::string_view cp1251) override {
        Slot& s = slot(control, Kind::Edit);
        s.unencodable = false;
        if (s.text == cp1251) return;
        s.text = std::string(cp1251);
        changed.push_back(std::string(control));
        if (onTextChanged) onTextChanged(control);
    }
    bool checked(std::string_view control) const override {
        return slot(control, Kind::CheckBox).checked;
    }
    void setChecked(std::string_view control, bool on) override {
        slot(control, Kind::CheckBox).checked = on;
    }
    int itemIndex(std::string_view control) const override {
        return slot(control, Kind::ComboBox, Kind::RadioGroup).index;
    }
    void setItemIndex(std::string_view control, int index) override {
        const protocol::Parameter* p = expect(control, Kind::ComboBox, Kind::RadioGroup);
        if (p && (index < -1 || index >= p->itemCount))
            refuse(std::string(control) + " index " + std::to_string(index));
        slot(p, control).index = index;
    }
    int position(std::string_view control) const override {
        expect(control, Kind::TrackBar);
        return position_;
    }
    void setPosition(std::string_view control, int position) override {
        expect(control, Kind::TrackBar);
        if (position < protocol::kTrackBarMin || position > protocol::kTrackBarMax)
            refuse("track bar position " + std::to_string(position));
        position_ = position;
    }
    void enableWriteControls() override { writeControlsEnabled = true; }

    // The edit holds a character cp1251 cannot carry (text() reports it).
    void setUnencodable(std::string_view control) { slot(control, Kind::Edit).unencodable = true; }

    // One parameter's value as text, for comparisons.
    std::string value(const protocol::Parameter& p) const {
        switch (p.kind) {
            case Kind::Edit:
                return text(p.control).value_or("<unencodable>");
            case Kind::CheckBox:
                return checked(p.control) ? "1" : "0";
            case Kind::TrackBar:
                return std::to_string(position(p.control));
            default:
                return std::to_string(itemIndex(p.control));
        }
    }

    // A snapshot of every value, for "nothing changed" checks.
    std::map<std::string, std::string> state() const {
        std::map<std::string, std::string> all;
        for (const protocol::Parameter& p : protocol::kParameters)
            all[std::string(p.control)] = value(p);
        all["<write controls>"] = writeControlsEnabled ? "enabled" : "disabled";
        return all;
    }

  protected:
    virtual void refuse(const std::string&) const { std::abort(); }

  private:
    // Values by the parameter's place in the table (the fuzz targets look them up thousands of
    // times a second); a name the table lacks still gets a slot of its own after its refusal.
    struct Slot {
        std::string text;
        bool unencodable = false;
        bool checked = false;
        int index = protocol::kNoSelection;
    };

    // The core passes the table's own names, found by address; other names by their text.
    static const protocol::Parameter* find(std::string_view control) {
        static const auto byAddress = [] {
            std::unordered_map<const char*, const protocol::Parameter*> m;
            for (const protocol::Parameter& p : protocol::kParameters)
                m.emplace(p.control.data(), &p);
            return m;
        }();
        static const auto byName = [] {
            std::unordered_map<std::string_view, const protocol::Parameter*> m;
            for (const protocol::Parameter& p : protocol::kParameters) m.emplace(p.control, &p);
            return m;
        }();
        if (auto it = byAddress.find(control.data());
            it != byAddress.end() && it->second->control.size() == control.size())
            return it->second;
        auto it = byName.find(control);
        return it == byName.end() ? nullptr : it->second;
    }
    const protocol::Parameter* expect(std::string_view control, Kind kind, Kind orKind) const {
        const protocol::Parameter* p = find(control);
        if (!p || (p->kind != kind && p->kind != orKind))
            refuse("not a control of this kind: " + std::string(control));
        return p;
    }
    const protocol::Parameter* expect(std::string_view control, Kind kind) const {
        return expect(control, kind, kind);
    }
    Slot& slot(const protocol::Parameter* p, std::string_view control) const {
        if (p) return slots_[static_cast<std::size_t>(p - protocol::kParameters.data())];
        return unknown_[std::string(control)];
    }
    Slot& slot(std::string_view control, Kind kind, Kind orKind) const {
        return slot(expect(control, kind, orKind), control);
    }
    Slot& slot(std::string_view control, Kind kind) const { return slot(control, kind, kind); }

    mutable std::vector<Slot> slots_ = std::vector<Slot>(protocol::kParameters.size());
    mutable std::map<std::string, Slot> unknown_;
    int position_ = protocol::kTrackBarInitial;
};

}  // namespace test
