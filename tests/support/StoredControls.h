#pragma once
// ControlAccess over maps, without a test framework (fuzz targets and benchmarks use it; tests use
// MapControls). Starts as the window does: texts empty, boxes unticked, lists without selection,
// the track bar at 2. What the window's controls could not hold (an unknown control, an index
// outside the list, a position outside the track bar) goes to refuse(), which aborts here.
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
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
        expect(control, Kind::Edit);
        if (unencodable_.count(std::string(control))) return std::nullopt;
        auto it = texts_.find(std::string(control));
        return it == texts_.end() ? std::string() : it->second;
    }
    void setText(std::string_view control, std::string_view cp1251) override {
        expect(control, Kind::Edit);
        std::string& slot = texts_[std::string(control)];
        unencodable_.erase(std::string(control));
        if (slot == cp1251) return;
        slot = std::string(cp1251);
        changed.push_back(std::string(control));
        if (onTextChanged) onTextChanged(control);
    }
    bool checked(std::string_view control) const override {
        expect(control, Kind::CheckBox);
        return checked_.count(std::string(control)) != 0;
    }
    void setChecked(std::string_view control, bool on) override {
        expect(control, Kind::CheckBox);
        if (on) checked_.insert(std::string(control));
        else checked_.erase(std::string(control));
    }
    int itemIndex(std::string_view control) const override {
        expect(control, Kind::ComboBox, Kind::RadioGroup);
        auto it = indexes_.find(std::string(control));
        return it == indexes_.end() ? protocol::kNoSelection : it->second;
    }
    void setItemIndex(std::string_view control, int index) override {
        const protocol::Parameter* p = expect(control, Kind::ComboBox, Kind::RadioGroup);
        if (p && (index < -1 || index >= p->itemCount))
            refuse(std::string(control) + " index " + std::to_string(index));
        indexes_[std::string(control)] = index;
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
    void setUnencodable(std::string_view control) { unencodable_.insert(std::string(control)); }

    // A snapshot of every value, for "nothing changed" checks.
    std::map<std::string, std::string> state() const {
        std::map<std::string, std::string> all;
        for (const protocol::Parameter& p : protocol::kParameters) {
            std::string& v = all[std::string(p.control)];
            switch (p.kind) {
            case Kind::Edit: v = text(p.control).value_or("<unencodable>"); break;
            case Kind::CheckBox: v = checked(p.control) ? "1" : "0"; break;
            case Kind::TrackBar: v = std::to_string(position(p.control)); break;
            default: v = std::to_string(itemIndex(p.control));
            }
        }
        all["<write controls>"] = writeControlsEnabled ? "enabled" : "disabled";
        return all;
    }

protected:
    virtual void refuse(const std::string&) const { std::abort(); }

private:
    const protocol::Parameter* expect(std::string_view control, Kind kind, Kind orKind) const {
        const protocol::Parameter* p = protocol::findByControl(control);
        if (!p || (p->kind != kind && p->kind != orKind))
            refuse("not a control of this kind: " + std::string(control));
        return p;
    }
    const protocol::Parameter* expect(std::string_view control, Kind kind) const {
        return expect(control, kind, kind);
    }

    std::map<std::string, std::string> texts_;
    std::set<std::string> checked_;
    std::map<std::string, int> indexes_;
    std::set<std::string> unencodable_;
    int position_ = protocol::kTrackBarInitial;
};

}  // namespace test
