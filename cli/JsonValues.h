#pragma once
// Every parameter by its name with its value as text (UTF-8), as one JSON object in table order.
// Values take the form a request or an answer carries: texts as they are, "0"/"1" for flags, the
// item index digit for lists ("/" with none selected), the press count for AlarmPressCount, one
// hex digit for MicSensitivity.
#include <string>

#include "protocol/ControlAccess.h"

namespace cli {

std::string valuesAsJson(const protocol::ControlAccess& values);

}  // namespace cli
