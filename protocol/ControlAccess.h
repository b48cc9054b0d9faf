#pragma once
// The parameter values live only in the main window's controls. The core (requests, answers,
// configuration files, the server export, the records, vigil) reaches them through this
// interface, keyed by the parameter's entry in the table; the main window maps each entry to its
// control (Parameter::control), vigil and the tests keep the values by table place.
//
// Texts cross this interface as Windows-1251 bytes, the form they have on the link and in files.
#include <optional>
#include <string>
#include <string_view>

#include "protocol/ParameterTable.h"

namespace protocol {

class ControlAccess {
  public:
    virtual ~ControlAccess() = default;

    // Edit text as Windows-1251 bytes; nullopt when the text holds a character that code page
    // cannot carry (the caller refuses to send or save it, naming the field).
    virtual std::optional<std::string> text(const Parameter& p) const = 0;
    // Sets the edit's text from Windows-1251 bytes. Setting a different text runs the field's
    // change check (address and port fields), exactly as typing would.
    virtual void setText(const Parameter& p, std::string_view cp1251) = 0;

    virtual bool checked(const Parameter& p) const = 0;
    virtual void setChecked(const Parameter& p, bool on) = 0;

    // Combo box or radio group item index, -1 for no selection. Callers pass only -1 or an index
    // inside the list (the list rules are applied before, from the parameter table).
    virtual int itemIndex(const Parameter& p) const = 0;
    virtual void setItemIndex(const Parameter& p, int index) = 0;

    // Track bar position; callers pass positions already clamped into the bar's range.
    virtual int position(const Parameter& p) const = 0;
    virtual void setPosition(const Parameter& p, int position) = 0;

    // The first text value taken from an answer or a file enables ToolButton6, WriteMicB,
    // WriteInternetB, WriteApnB and WriteTLB; nothing disables them again.
    virtual void enableWriteControls() = 0;
};

}  // namespace protocol
