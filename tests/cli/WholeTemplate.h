#pragma once
// A configuration file for a test: the items it names, completed with every writable item it
// lacks (an empty text, an unticked box, the first item of a list, REG=0), since a write refuses
// a file that would leave values to be blanked.
#include <string>

#include "session/TemplateValues.h"
#include "session/ValueDomain.h"

namespace testsupport {

inline std::string wholeTemplate(std::string items) {
    const auto found =
        session::readTemplateValues(reinterpret_cast<const std::uint8_t*>(items.data()),
                                    static_cast<std::uint16_t>(items.size()));
    for (const protocol::Parameter* p : found.missing)
        items += std::string(p->fileKey) + (p->form == protocol::ValueForm::Text ? "" : "0") + ":";
    return items;
}

}  // namespace testsupport
