#pragma once
// "SettingsAbt.xml" for the monitoring server: 78 lines, CR LF, Windows-1251.
#include <string_view>

#include "protocol/ControlAccess.h"
#include "protocol/ItemComposer.h"
#include "protocol/TransmitBuffer.h"

namespace files {

inline constexpr std::string_view kExportFileName = "SettingsAbt.xml";

// Composes the export into `buffer` (length 0 when refused). "&", "<" and ">" in texts become
// entities; a text cp1251 cannot carry, a text holding a control character XML forbids, or an
// export over 4096 bytes refuses with a message.
protocol::ComposeResult composeServerExport(const protocol::ControlAccess& controls,
                                            protocol::TransmitBuffer& buffer);

}  // namespace files
