#pragma once
// The main window's edits hold characters, not bytes: a received byte that windows-1251 leaves
// undefined (0x98) shows as U+FFFD, and such a text cannot be given back as cp1251. The map-backed
// controls keep bytes, so the harnesses mark those texts as the window would hold them.
#include "protocol/ParameterTable.h"
#include "support/MapControls.h"

namespace fuzz {

inline void holdAsTheWindowDoes(test::MapControls& controls) {
    for (const protocol::Parameter& p : protocol::kParameters) {
        if (p.kind != protocol::ControlKind::Edit) continue;
        if (controls.text(p).value().find('\x98') != std::string::npos) controls.setUnencodable(p);
    }
}

}  // namespace fuzz
