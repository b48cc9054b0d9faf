#include "cli/Overrides.h"

#include <algorithm>
#include <cctype>

#include "files/AbtFile.h"
#include "protocol/AssignmentRecorder.h"
#include "protocol/Cp1251.h"
#include "protocol/ValueStore.h"
#include "protocol/WriteCheck.h"

namespace cli {
namespace {

using protocol::ValueForm;

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// Whether `wire` is a value the parameter's request form can carry.
bool validWire(const protocol::Parameter& p, std::string_view wire) {
    if (p.form == ValueForm::Text) return wire.find(':') == std::string_view::npos;
    if (wire.size() != 1) return false;
    const char c = wire[0];
    switch (p.form) {
    case ValueForm::Flag: return c == '0' || c == '1';
    case ValueForm::IndexDigit: return c >= '0' && c < '0' + p.itemCount;
    case ValueForm::PressCountDigit: return c >= '1' && c <= '0' + p.itemCount;
    case ValueForm::HexDigit: return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    default: return false;
    }
}

std::string formHint(const protocol::Parameter& p, bool abtKey) {
    switch (abtKey ? protocol::fileForm(p) : p.form) {
    case ValueForm::Text: return "a text without \":\"";
    case ValueForm::Flag: return "0 or 1";
    case ValueForm::IndexDigit: return "0 to " + std::to_string(p.itemCount - 1);
    case ValueForm::PressCountDigit: return "1 to " + std::to_string(p.itemCount);
    case ValueForm::HexDigit: return "one hex digit 0 to F";
    }
    return {};
}

}  // namespace

std::optional<OverrideKey> resolveOverrideKey(std::string_view key, std::string& error) {
    for (const protocol::Parameter& p : protocol::kParameters) {
        const bool byName = sameLetters(key, p.name);
        const bool byFileKey =
            !p.fileKey.empty() && sameLetters(key, p.fileKey.substr(0, p.fileKey.size() - 1));
        if (!byName && !byFileKey) continue;
        if (p.group == protocol::WriteGroup::None) {
            error = std::string(key) + " is reported by the terminal and cannot be written";
            return std::nullopt;
        }
        return OverrideKey{&p, !byName};
    }
    error = "unknown parameter " + std::string(key) + " (a parameter name or an .abt key)";
    return std::nullopt;
}

std::optional<Override> makeOverride(const OverrideKey& key, std::string_view utf8Value,
                                     std::string& error) {
    const protocol::Parameter& p = *key.parameter;
    const auto invalid = [&] {
        error = "invalid value \"" + std::string(utf8Value) + "\" for " + std::string(p.name) +
                ": expected " + formHint(p, key.abtKey);
        return std::nullopt;
    };
    const std::optional<std::string> cp1251 = protocol::toCp1251(utf8Value);
    if (!cp1251) {
        error = "the value for " + std::string(p.name) + " has characters Windows-1251 lacks";
        return std::nullopt;
    }
    if (cp1251->find(':') != std::string::npos) return invalid();
    if (!key.abtKey) {
        std::string wire = *cp1251;
        if (p.form == ValueForm::HexDigit && wire.size() == 1)
            wire[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(wire[0])));
        if (!validWire(p, wire)) return invalid();
        return Override{&p, wire};
    }
    // As if the item stood in a configuration file: the file reader decides what it means.
    const std::string item = std::string(p.fileKey) + *cp1251 + ":";
    protocol::ValueStore scratch;
    protocol::AssignmentRecorder recorder(scratch);
    files::readAbt(reinterpret_cast<const std::uint8_t*>(item.data()),
                   static_cast<std::uint16_t>(std::min<std::size_t>(item.size(), 4096)), recorder);
    if (!recorder.assigned().count(&p)) return invalid();
    const protocol::Parameter* const one[] = {&p};
    const protocol::ValueSnapshot value = protocol::snapshotValues(scratch, one);
    // A list the value leaves without a selection would be sent as "no selection".
    if (value.empty() || !validWire(p, value.front().value)) return invalid();
    return Override{&p, value.front().value};
}

std::optional<Override> parseOverride(std::string_view keyEqualsValue, std::string& error) {
    const std::size_t eq = keyEqualsValue.find('=');
    if (eq == std::string_view::npos || eq == 0) {
        error = "--set needs KEY=VALUE, got \"" + std::string(keyEqualsValue) + "\"";
        return std::nullopt;
    }
    const auto key = resolveOverrideKey(keyEqualsValue.substr(0, eq), error);
    if (!key) return std::nullopt;
    return makeOverride(*key, keyEqualsValue.substr(eq + 1), error);
}

void applyOverride(protocol::ControlAccess& values, const Override& override) {
    protocol::applyValue(values, *override.parameter, override.wire);
}

}  // namespace cli
