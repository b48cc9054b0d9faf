#include "protocol/ParameterTable.h"

#include "platform/Catalogue.h"
#include "protocol/FieldCaptions.h"

namespace protocol {

std::string tabCaption(int tab) {
    return platform::translated("TForm1", kTabCaptions[static_cast<std::size_t>(tab)].data());
}

const Parameter* findByControl(std::string_view control) {
    for (const Parameter& p : kParameters)
        if (p.control == control) return &p;
    return nullptr;
}

const Parameter* findByAnswerKey(std::string_view answerKey) {
    for (const Parameter& p : kParameters)
        if (p.answerKey == answerKey) return &p;
    return nullptr;
}

std::string fieldName(const Parameter& p) {
    std::string_view key = p.answerKey.substr(0, p.answerKey.size() - 1);  // without "="
    std::string name = platform::translated("ParameterTable", "поле \"") + fieldCaption(p) + "\" (";
    name.append(key);
    name.append(platform::translated("ParameterTable", ") на вкладке \""));
    name.append(tabCaption(p.tab));
    name.append("\"");
    return name;
}

}  // namespace protocol
