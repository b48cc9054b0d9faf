#pragma once
// The parameter values live only in the main window's controls. The protocol code (requests,
// answers, configuration files, the server export) reaches them through this interface, keyed by
// the control's name ("ETl1", "CBGet1", "ChSim1ForIp1", "TrackBar1", "RadioGroup1"...). The main
// window implements it over its widgets, tests over a map.
//
// Texts cross this interface as Windows-1251 bytes, the form they have on the link and in files.
#include <optional>
#include <string>
#include <string_view>

namespace protocol {

class ControlAccess {
  public:
    virtual ~ControlAccess() = default;

    // Edit text as Windows-1251 bytes; nullopt when the text holds a character that code page
    // cannot carry (the caller refuses to send or save it, naming the field).
    virtual std::optional<std::string> text(std::string_view control) const = 0;
    // Sets the edit's text from Windows-1251 bytes. Setting a different text runs the field's
    // change check (address and port fields), exactly as typing would.
    virtual void setText(std::string_view control, std::string_view cp1251) = 0;

    virtual bool checked(std::string_view control) const = 0;
    virtual void setChecked(std::string_view control, bool on) = 0;

    // Combo box or radio group item index, -1 for no selection. Callers pass only -1 or an index
    // inside the list (the list rules are applied before, from the parameter table).
    virtual int itemIndex(std::string_view control) const = 0;
    virtual void setItemIndex(std::string_view control, int index) = 0;

    // Track bar position; callers pass positions already clamped into the bar's range.
    virtual int position(std::string_view control) const = 0;
    virtual void setPosition(std::string_view control, int position) = 0;

    // The first text value taken from an answer or a file enables ToolButton6, WriteMicB,
    // WriteInternetB, WriteApnB and WriteTLB; nothing disables them again.
    virtual void enableWriteControls() = 0;
};

}  // namespace protocol
