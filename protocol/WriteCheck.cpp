#include "protocol/WriteCheck.h"

#include <algorithm>

#include "platform/Catalogue.h"
#include "protocol/Cp1251.h"
#include "protocol/ItemComposer.h"
#include "protocol/RequestBuilder.h"

namespace protocol {
namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The item index a one-character list value stands for; kNoSelection for anything else.
int listIndex(const Parameter& p, std::string_view wire) {
    if (wire.size() != 1) return kNoSelection;
    const int digit = digitValue(wire[0]);
    if (digit < 0 || digit > 9) return kNoSelection;
    const int index = p.form == ValueForm::PressCountDigit ? digit - 1 : digit;
    return index >= 0 && index < p.itemCount ? index : kNoSelection;
}

std::string quoted(std::string_view cp1251) {
    return "\"" + fromCp1251ForDisplay(cp1251) + "\"";
}

}  // namespace

ValueSnapshot snapshotValues(const ControlAccess& controls,
                             std::span<const Parameter* const> params) {
    ValueSnapshot snapshot;
    snapshot.reserve(params.size());
    for (const Parameter* p : params)
        if (std::optional<std::string> v = renderValue(controls, *p, p->form))
            snapshot.push_back({p, std::move(*v)});
    return snapshot;
}

void applyValue(ControlAccess& controls, const Parameter& p, std::string_view wire) {
    switch (p.form) {
        case ValueForm::Text:
            controls.setText(p, wire);
            break;
        case ValueForm::Flag:
            controls.setChecked(p, wire == "1");
            break;
        case ValueForm::IndexDigit:
        case ValueForm::PressCountDigit:
            controls.setItemIndex(p, listIndex(p, wire));
            break;
        case ValueForm::HexDigit:
            if (wire.size() == 1 && digitValue(wire[0]) >= 0)
                controls.setPosition(p, digitValue(wire[0]));
            break;
    }
}

void restoreValues(ControlAccess& controls, const ValueSnapshot& snapshot,
                   const std::set<const Parameter*>& keep) {
    for (const SentValue& v : snapshot)
        if (!keep.count(v.parameter)) applyValue(controls, *v.parameter, v.value);
}

std::vector<ValueMismatch> verifyValues(const ValueSnapshot& sent, const ControlAccess& now,
                                        const std::set<const Parameter*>& answered) {
    std::vector<ValueMismatch> out;
    for (const SentValue& v : sent) {
        if (!answered.count(v.parameter)) {
            out.push_back({v.parameter, v.value, std::nullopt});
            continue;
        }
        std::optional<std::string> actual = renderValue(now, *v.parameter, v.parameter->form);
        if (actual != v.value) out.push_back({v.parameter, v.value, std::move(actual)});
    }
    return out;
}

std::vector<ValueMismatch> compareValues(const ControlAccess& expected, const ControlAccess& actual,
                                         std::span<const Parameter* const> params) {
    std::vector<ValueMismatch> out;
    for (const Parameter* p : params) {
        std::optional<std::string> a = renderValue(expected, *p, p->form);
        std::optional<std::string> b = renderValue(actual, *p, p->form);
        if (a != b) out.push_back({p, a.value_or(""), std::move(b)});
    }
    return out;
}

std::string mismatchLine(const ValueMismatch& m, std::string_view expectedWord,
                         std::string_view actualWord) {
    std::string line = fieldName(*m.parameter);
    line.append(": ").append(expectedWord).append(" ").append(quoted(m.expected)).append(", ");
    if (m.actual)
        line.append(actualWord).append(" ").append(quoted(*m.actual));
    else
        line.append(platform::translated("WriteCheck", "нет ответа"));
    return line;
}

std::vector<const Parameter*> parametersOfMask(std::uint16_t requestMask) {
    std::vector<const Parameter*> out;
    for (const WriteGroupItems& g : kWriteGroupsInRequestOrder)
        if (requestMask & g.bit) out.insert(out.end(), g.items.begin(), g.items.end());
    return out;
}

std::uint16_t writeMaskOf(std::span<const Parameter* const> params) {
    std::uint16_t mask = 0;
    for (const Parameter* p : params)
        for (const WriteGroupItems& g : kWriteGroupsInRequestOrder)
            if (std::find(g.items.begin(), g.items.end(), p) != g.items.end()) mask |= g.bit;
    return mask;
}

}  // namespace protocol
