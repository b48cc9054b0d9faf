#pragma once
// ControlAccess over maps, for tests of everything that reads or fills the main window's
// controls. Starts as the window does: texts empty, boxes unticked, lists without selection,
// the track bar at 2. Refuses (test failure) what the window's controls could not hold: an
// unknown control, an index outside the list, a position outside the track bar.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/ControlAccess.h"
#include "protocol/Cp1251.h"
#include "protocol/ParameterTable.h"

namespace test {

class MapControls : public protocol::ControlAccess {
public:
    // Called with the control's name whenever setText changes a text (the change checks).
    std::function<void(std::string_view control)> onTextChanged;
    bool writeControlsEnabled = false;

    std::optional<std::string> text(std::string_view control) const override {
        expect(control, protocol::ControlKind::Edit);
        if (unencodable_.count(std::string(control))) return std::nullopt;
        auto it = texts_.find(std::string(control));
        return it == texts_.end() ? std::string() : it->second;
    }
    void setText(std::string_view control, std::string_view cp1251) override {
        expect(control, protocol::ControlKind::Edit);
        std::string& slot = texts_[std::string(control)];
        unencodable_.erase(std::string(control));
        if (slot == cp1251) return;
        slot = std::string(cp1251);
        changed.push_back(std::string(control));
        if (onTextChanged) onTextChanged(control);
    }

    bool checked(std::string_view control) const override {
        expect(control, protocol::ControlKind::CheckBox);
        return checked_.count(std::string(control)) != 0;
    }
    void setChecked(std::string_view control, bool on) override {
        expect(control, protocol::ControlKind::CheckBox);
        if (on)
            checked_.insert(std::string(control));
        else
            checked_.erase(std::string(control));
    }

    int itemIndex(std::string_view control) const override {
        expectList(control);
        auto it = indexes_.find(std::string(control));
        return it == indexes_.end() ? protocol::kNoSelection : it->second;
    }
    void setItemIndex(std::string_view control, int index) override {
        const protocol::Parameter* p = expectList(control);
        if (p) {
            EXPECT_TRUE(index >= -1 && index < p->itemCount) << control << " index " << index;
        }
        indexes_[std::string(control)] = index;
    }

    int position(std::string_view control) const override {
        expect(control, protocol::ControlKind::TrackBar);
        return position_;
    }
    void setPosition(std::string_view control, int position) override {
        expect(control, protocol::ControlKind::TrackBar);
        EXPECT_TRUE(position >= protocol::kTrackBarMin && position <= protocol::kTrackBarMax)
            << "track bar position " << position;
        position_ = position;
    }

    void enableWriteControls() override { writeControlsEnabled = true; }

    // Test set-up helpers.
    void setUtf8(std::string_view control, std::string_view utf8) {
        auto cp = protocol::toCp1251(utf8);
        ASSERT_TRUE(cp) << "not representable in cp1251: " << utf8;
        setText(control, *cp);
    }
    std::string utf8(std::string_view control) const {
        return protocol::fromCp1251(text(control).value_or("")).value_or("<not cp1251>");
    }
    // The edit holds a character cp1251 cannot carry (text() reports it).
    void setUnencodable(std::string_view control) { unencodable_.insert(std::string(control)); }

    // A snapshot of every value, for "nothing changed" checks.
    std::map<std::string, std::string> state() const {
        std::map<std::string, std::string> all;
        for (const protocol::Parameter& p : protocol::kParameters) {
            std::string key(p.control);
            switch (p.kind) {
            case protocol::ControlKind::Edit:
                all[key] = unencodable_.count(key) ? "<unencodable>" : text(p.control).value();
                break;
            case protocol::ControlKind::CheckBox:
                all[key] = checked(p.control) ? "1" : "0";
                break;
            case protocol::ControlKind::ComboBox:
            case protocol::ControlKind::RadioGroup:
                all[key] = std::to_string(itemIndex(p.control));
                break;
            case protocol::ControlKind::TrackBar:
                all[key] = std::to_string(position(p.control));
                break;
            }
        }
        all["<write controls>"] = writeControlsEnabled ? "enabled" : "disabled";
        return all;
    }

    std::vector<std::string> changed;  // edits whose text setText changed, in order

private:
    static const protocol::Parameter* expect(std::string_view control, protocol::ControlKind kind) {
        const protocol::Parameter* p = protocol::findByControl(control);
        EXPECT_TRUE(p && p->kind == kind) << "not a control of this kind: " << control;
        return p;
    }
    static const protocol::Parameter* expectList(std::string_view control) {
        const protocol::Parameter* p = protocol::findByControl(control);
        EXPECT_TRUE(p && (p->kind == protocol::ControlKind::ComboBox ||
                          p->kind == protocol::ControlKind::RadioGroup))
            << "not a list: " << control;
        return p;
    }

    std::map<std::string, std::string, std::less<>> texts_;
    std::set<std::string> checked_;
    std::map<std::string, int> indexes_;
    std::set<std::string> unencodable_;
    int position_ = protocol::kTrackBarInitial;
};

}  // namespace test
