#include "session/TemplateValues.h"

#include <algorithm>

#include "protocol/Cp1251.h"
#include "protocol/ResponseParser.h"
#include "session/ValueDomain.h"

namespace session {

TemplateValues readTemplateValues(const std::uint8_t* data, std::uint16_t count) {
    TemplateValues result;
    const protocol::ItemScanner file(data, count, protocol::KeyMatch::ItemStart);
    const auto* const end = data + count;
    for (const protocol::Parameter* p : protocol::kFileItems) {
        const std::uint16_t at = file.FindKey(p->answerKey);
        if (at == protocol::kKeyAbsent) {
            result.missing.push_back(p);
            continue;
        }
        const auto* const start = data + std::min<std::size_t>(at + p->answerKey.size(), count);
        const auto* const stop = std::find(start, end, ':');
        const std::string_view value(reinterpret_cast<const char*>(start),
                                     static_cast<std::size_t>(stop - start));
        if (stop == end) {
            result.invalid.push_back(std::string(fileKeyName(*p)) +
                                     ": the item does not end with \":\"");
            result.invalidParameters.push_back(p);
            continue;
        }
        const protocol::ValueForm form = protocol::fileForm(*p);
        if (std::optional<std::string> wire = linkValue(*p, form, value))
            result.values.push_back({p, std::move(*wire)});
        else {
            result.invalid.push_back(
                invalidValueMessage(*p, form, protocol::fromCp1251ForDisplay(value)));
            result.invalidParameters.push_back(p);
        }
    }
    return result;
}

std::string fileKeyList(const std::vector<const protocol::Parameter*>& parameters) {
    std::string list;
    for (const protocol::Parameter* p : parameters) {
        if (!list.empty()) list += ", ";
        list += fileKeyName(*p);
    }
    return list;
}

}  // namespace session
