#pragma once
// Checking a write against the terminal's answer, and comparing two sets of values. Values are
// compared in the form they travel on the link (Windows-1251 bytes), so "what was sent" and "what
// came back" mean exactly the bytes of the request and of the answer.
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/ControlAccess.h"
#include "protocol/ParameterTable.h"

namespace protocol {

struct SentValue {
    const Parameter* parameter;
    std::string value;  // as on the link, cp1251
};
using ValueSnapshot = std::vector<SentValue>;

// The values of `params` as they go on the link; a text the code page cannot carry is left out.
ValueSnapshot snapshotValues(const ControlAccess& controls,
                             std::span<const Parameter* const> params);

// Puts a value in its link form back into its control: a text, "0"/"1", an index digit or "/",
// a press count digit, a hex digit. A value the control cannot hold empties it.
void applyValue(ControlAccess& controls, const Parameter& p, std::string_view wire);

// Puts back every snapshot entry whose parameter is not in `keep`.
void restoreValues(ControlAccess& controls, const ValueSnapshot& snapshot,
                   const std::set<const Parameter*>& keep);

struct ValueMismatch {
    const Parameter* parameter;
    std::string expected;               // cp1251
    std::optional<std::string> actual;  // cp1251; nullopt when nothing came back
};

// Each sent value against its control now; a parameter missing from `answered` had no answer.
std::vector<ValueMismatch> verifyValues(const ValueSnapshot& sent, const ControlAccess& now,
                                        const std::set<const Parameter*>& answered);

// The parameters of `params` whose values differ between two sets of controls.
std::vector<ValueMismatch> compareValues(const ControlAccess& expected, const ControlAccess& actual,
                                         std::span<const Parameter* const> params);

// One line of a message, UTF-8, naming the field as refusals do:
//   поле "TL3" на вкладке "Телефоны": отправлено "123", получено "12"
//   поле "TL3" на вкладке "Телефоны": отправлено "123", нет ответа
std::string mismatchLine(const ValueMismatch& m, std::string_view expectedWord = "отправлено",
                         std::string_view actualWord = "получено");

// The parameters a request mask writes, in the order the request sends them.
std::vector<const Parameter*> parametersOfMask(std::uint16_t requestMask);
// The write mask of the groups that send any of `params` (0: none).
std::uint16_t writeMaskOf(std::span<const Parameter* const> params);

}  // namespace protocol
