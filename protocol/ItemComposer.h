#pragma once
// Appends "key", a control's value and ":" to the transmit buffer, and says which field stopped
// it. The request builder, the .abt writer and the export share these value renderings.
#include <optional>
#include <string>
#include <string_view>

#include "protocol/ControlAccess.h"
#include "protocol/ParameterTable.h"
#include "protocol/TransmitBuffer.h"

namespace protocol {

// Outcome of composing a request or a file: ok, or refused with a message (UTF-8, Russian).
struct ComposeResult {
    bool ok = true;
    std::string message;
};

enum class ComposeFault { None, Colon, Unencodable, Overflow };

// The control's value in `form` as it goes on the link; nullopt for a text cp1251 cannot carry.
std::optional<std::string> renderValue(const ControlAccess& controls, const Parameter& p,
                                       ValueForm form);

// Empties a sent control: text "", no selection, unticked. The track bar keeps its position.
void emptyControl(ControlAccess& controls, const Parameter& p);

// Appends key + value + ":"; a text holding ":" is refused (it would split the item).
ComposeFault appendItem(TransmitBuffer& buffer, std::string_view key, const ControlAccess& controls,
                        const Parameter& p, ValueForm form);

// The operator's message for a refusal; `consequence` ends it ("Запрос не отправлен.").
// `field` may be null for an overflow.
std::string refusalMessage(ComposeFault fault, const Parameter* field,
                           std::string_view consequence);

}  // namespace protocol
