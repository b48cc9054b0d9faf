#pragma once
// The .abt configuration file: 53 items "key=value:" in a fixed order, cp1251, no line breaks.
#include <cstdint>

#include "protocol/ControlAccess.h"
#include "protocol/ItemComposer.h"
#include "protocol/TransmitBuffer.h"

namespace files {

// Composes the file image into `buffer` (length 0 when refused). A text holding ":" or a
// character cp1251 lacks, or an image over 4096 bytes, refuses with a message naming the field.
protocol::ComposeResult composeAbt(const protocol::ControlAccess& controls,
                                   protocol::TransmitBuffer& buffer);

// Applies a loaded image with the reader table; keys match in any letter case and order, but
// only where an item can start. Missing or malformed items leave their controls unchanged.
void readAbt(const std::uint8_t* data, std::uint16_t count, protocol::ControlAccess& controls);

}  // namespace files
