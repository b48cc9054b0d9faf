#pragma once
// What the operator reads beside each parameter's control on its page: the label, with the row
// or column heading it stands under (the main window's layout shows the same words). Messages
// of both the windows and `vigil` name fields by these captions first and the key second.
#include <string>

#include "protocol/ParameterTable.h"

namespace protocol {

// E.g. "Телефон модуля", "Сервер 2: Порт", "Телефон 3: sms" (UTF-8); the key when none is known.
std::string fieldCaption(const Parameter& p);

}  // namespace protocol
