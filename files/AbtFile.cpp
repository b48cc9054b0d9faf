#include "files/AbtFile.h"

#include "files/SaveMessages.h"
#include "platform/Catalogue.h"
#include "protocol/ParameterTable.h"
#include "protocol/ResponseParser.h"

namespace files {

using protocol::ComposeFault;
using protocol::ComposeResult;
using protocol::ValueForm;

ComposeResult composeAbt(const protocol::ControlAccess& controls,
                         protocol::TransmitBuffer& buffer) {
    buffer.clear();
    for (const protocol::Parameter* p : protocol::kFileItems) {
        ComposeFault fault =
            protocol::appendItem(buffer, p->fileKey, controls, *p, protocol::fileForm(*p));
        if (fault != ComposeFault::None) {
            buffer.clear();
            return {false, protocol::refusalMessage(fault, p,
                                                    platform::translated("SaveFiles", kNotSaved))};
        }
    }
    return {};
}

void readAbt(const std::uint8_t* data, std::uint16_t count, protocol::ControlAccess& controls) {
    protocol::ItemScanner file(data, count, protocol::KeyMatch::ItemStart);
    for (const protocol::Parameter* p : protocol::kFileReader) {
        std::string_view key = p->answerKey;
        switch (protocol::fileForm(*p)) {
            case ValueForm::Text:
                file.ExtractText(key, key.size(), controls, *p);
                break;
            case ValueForm::IndexDigit:
            case ValueForm::PressCountDigit:
                file.ExtractNumber(key, key.size(), controls, *p);
                break;
            case ValueForm::HexDigit:
                file.ExtractHexDigit(key, key.size(), controls, *p);
                break;
            case ValueForm::Flag:
                file.ExtractFlag(key, key.size(), controls, *p);
                break;
        }
    }
}

}  // namespace files
