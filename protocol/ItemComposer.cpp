#include "protocol/ItemComposer.h"

#include "platform/Catalogue.h"

namespace protocol {
namespace {

char indexDigit(char zero, char none, int index) {
    return index < 0 ? none : static_cast<char>(zero + index);
}

char hexDigit(int position) {
    return "0123456789ABCDEF"[position & 0x0F];
}

}  // namespace

std::optional<std::string> renderValue(const ControlAccess& controls, const Parameter& p,
                                       ValueForm form) {
    switch (form) {
        case ValueForm::Text:
            return controls.text(p);
        case ValueForm::Flag:
            return std::string(1, controls.checked(p) ? '1' : '0');
        case ValueForm::IndexDigit:
            return std::string(1, indexDigit('0', '/', controls.itemIndex(p)));
        case ValueForm::PressCountDigit:
            return std::string(1, indexDigit('1', '0', controls.itemIndex(p)));
        case ValueForm::HexDigit:
            return std::string(1, hexDigit(controls.position(p)));
    }
    return std::nullopt;
}

void emptyControl(ControlAccess& controls, const Parameter& p) {
    switch (p.kind) {
        case ControlKind::Edit:
            controls.setText(p, "");
            break;
        case ControlKind::CheckBox:
            controls.setChecked(p, false);
            break;
        case ControlKind::ComboBox:
        case ControlKind::RadioGroup:
            controls.setItemIndex(p, kNoSelection);
            break;
        case ControlKind::TrackBar:
            break;
    }
}

ComposeFault appendItem(TransmitBuffer& buffer, std::string_view key, const ControlAccess& controls,
                        const Parameter& p, ValueForm form) {
    std::optional<std::string> value = renderValue(controls, p, form);
    if (!value) return ComposeFault::Unencodable;
    if (value->find(':') != std::string::npos) return ComposeFault::Colon;
    std::string item;
    item.reserve(key.size() + value->size() + 1);
    item.append(key).append(*value).push_back(':');
    return buffer.append(item) ? ComposeFault::None : ComposeFault::Overflow;
}

std::string refusalMessage(ComposeFault fault, const Parameter* field,
                           std::string_view consequence) {
    std::string text;
    switch (fault) {
        case ComposeFault::None:
            return "";
        case ComposeFault::Colon:
            text = platform::translated("ItemComposer", "Значение в ");
            text += field ? fieldName(*field) : platform::translated("ItemComposer", "поле");
            text += platform::translated("ItemComposer",
                                         " содержит символ \":\", который разделяет параметры.");
            break;
        case ComposeFault::Unencodable:
            text = platform::translated("ItemComposer", "Значение в ");
            text += field ? fieldName(*field) : platform::translated("ItemComposer", "поле");
            text += platform::translated(
                "ItemComposer", " содержит символ, которого нет в кодировке Windows-1251.");
            break;
        case ComposeFault::Overflow:
            text = platform::translated("ItemComposer",
                                        "Данные не помещаются в буфер передачи (4096 байт).");
            break;
    }
    text += ' ';
    text += consequence;
    return text;
}

}  // namespace protocol
