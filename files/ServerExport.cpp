#include "files/ServerExport.h"

#include <string>

#include "files/SaveMessages.h"
#include "platform/Catalogue.h"
#include "protocol/Cp1251.h"
#include "protocol/ParameterTable.h"

namespace files {
namespace {

using protocol::byControl;
using protocol::ComposeFault;
using protocol::Parameter;

// A fixed line (UTF-8 here, cp1251 in the file), or an element holding one control's value.
struct Line {
    std::string_view text;
    const Parameter* value = nullptr;
};

// clang-format off
constexpr Line kLayout[] = {
    {"<?xml version=\"1.0\" encoding=\"windows-1251\"?>"},
    {"<OrvanaGPRSServer>"},
    {"<Settings>"},
    {"<!--Данный файл сгенерирован конфигуратором тревожной кнопки. Не рекомендуется "
     "редактировать его вручную. Заполните поля конфигуратора и сохраните их в файле "
     "конфигурации с расширением abt (меню File\\Save)."},
    {"Одновременно будет создан данный файл с именем SettingsAbt.xml-->"},
    {"<!--Телефоны:-->"},
    {{}, byControl("ETl1")}, {{}, byControl("ETl2")}, {{}, byControl("ETl3")},
    {{}, byControl("ETl4")}, {{}, byControl("ETl5")}, {{}, byControl("ETl6")},
    {{}, byControl("ETl7")}, {{}, byControl("ETl8")}, {{}, byControl("ETl9")},
    {"<!--Разрешения IP (1 - Разрешено, 0 - Запрещено)."},
    {"Если запрещено, то IP адрес, его порт и период связи (см. ниже), не имеют значения-->"},
    {{}, byControl("ChSim1ForIp1")}, {{}, byControl("ChSim1ForIp2")},
    {{}, byControl("ChSim1ForIp3")}, {{}, byControl("ChSim1ForIp4")},
    {"<!--IP адреса-->"},
    {{}, byControl("EditIp1")}, {{}, byControl("EditIp2")},
    {{}, byControl("EditIp3")}, {{}, byControl("EditIp4")},
    {"<!--Порты-->"},
    {{}, byControl("EditPort1")}, {{}, byControl("EditPort2")},
    {{}, byControl("EditPort3")}, {{}, byControl("EditPort4")},
    {"<!--Периоды связи (мин)-->"},
    {{}, byControl("EConnectPeriod1")}, {{}, byControl("EConnectPeriod2")},
    {{}, byControl("EConnectPeriod3")}, {{}, byControl("EConnectPeriod4")},
    {"<!--APN-->"},
    {{}, byControl("EApn1")},
    {"<!--USER-->"},
    {{}, byControl("EAus1")},
    {"<!--Password-->"},
    {{}, byControl("EApas1")},
    {"<!--Баланс (строка, время мин.)-->"},
    {{}, byControl("EBlSt1")},
    {{}, byControl("EBlTm1")},
    {"<!--Разрешения Sms (1 - Разрешено, 0 - Запрещено)."},
    {"Если запрещено, то телефон с данным индексом не будет получать SMS-->"},
    {{}, byControl("ChSim1ForP1")}, {{}, byControl("ChSim1ForP2")},
    {{}, byControl("ChSim1ForP3")}, {{}, byControl("ChSim1ForP4")},
    {{}, byControl("ChSim1ForP5")}, {{}, byControl("ChSim1ForP6")},
    {{}, byControl("ChSim1ForP7")}, {{}, byControl("ChSim1ForP8")},
    {"<!--Разрешения прослушивания (1 - Разрешено, 0 - Запрещено).-->"},
    {{}, byControl("ChSim1ForVoice1")}, {{}, byControl("ChSim1ForVoice2")},
    {{}, byControl("ChSim1ForVoice3")}, {{}, byControl("ChSim1ForVoice4")},
    {{}, byControl("ChSim1ForVoice5")}, {{}, byControl("ChSim1ForVoice6")},
    {{}, byControl("ChSim1ForVoice7")}, {{}, byControl("ChSim1ForVoice8")},
    {"<!--Протокол (0 - UDP, 1 - TCP-->"},
    {{}, byControl("CBGet1")}, {{}, byControl("CBGet2")},
    {{}, byControl("CBGet3")}, {{}, byControl("CBGet4")},
    {"<!--сколько раз нажимать кнопку тревоги(1 или 2 раза)-->"},
    {{}, byControl("CBNmbPress")},
    {"<!--Передавать координаты в АРМ по GPRS: 0-при сеансе связи,"},
    {" 1-при движении, 2-при тревоге, 3-при движении и тревоге-->"},
    {{}, byControl("RadioGroup1")},
    {"<!--Микрофон ('0'-'9', 'A'-'F')-->"},
    {{}, byControl("TrackBar1")},
    {"</Settings>"},
    {"</OrvanaGPRSServer>"},
};
// clang-format on
static_assert(std::size(kLayout) == 78);

constexpr std::string_view kLineEnd = "\r\n";

// Keeps a typed "&", "<" or ">" from breaking the document or adding elements.
std::string escaped(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// XML 1.0 has no place for control characters other than tab and line ends, not even as
// references: one such byte from the line would make the server refuse the whole export.
bool xmlCanCarry(const std::string& value) {
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') return false;
    }
    return true;
}

std::string controlCharacterMessage(const Parameter& p) {
    return platform::translated("ServerExport", "Значение в ") + protocol::fieldName(p) +
           platform::translated("ServerExport",
                                " содержит управляющий символ, который нельзя записать в XML. ") +
           platform::translated("SaveFiles", kNotSaved);
}

// The fixed lines in cp1251, converted once.
const std::string& fixedLine(std::size_t index) {
    static const auto lines = [] {
        std::array<std::string, std::size(kLayout)> cp1251;
        for (std::size_t i = 0; i < cp1251.size(); ++i)
            cp1251[i] = protocol::toCp1251(kLayout[i].text).value();
        return cp1251;
    }();
    return lines[index];
}

std::string element(const Parameter& p, const std::string& value) {
    std::string line;
    line.append("<").append(p.xmlTag).append(">");
    line.append(escaped(value));
    line.append("</").append(p.xmlTag).append(">");
    return line;
}

}  // namespace

protocol::ComposeResult composeServerExport(const protocol::ControlAccess& controls,
                                            protocol::TransmitBuffer& buffer) {
    buffer.clear();
    for (std::size_t i = 0; i < std::size(kLayout); ++i) {
        const Parameter* p = kLayout[i].value;
        std::string line = fixedLine(i);
        ComposeFault fault = ComposeFault::None;
        if (p) {
            std::optional<std::string> value = protocol::renderValue(controls, *p, p->form);
            if (!value) {
                fault = ComposeFault::Unencodable;
            } else if (!xmlCanCarry(*value)) {
                buffer.clear();
                return {false, controlCharacterMessage(*p)};
            } else {
                line = element(*p, *value);
            }
        }
        if (fault == ComposeFault::None && !buffer.append(line + std::string(kLineEnd)))
            fault = ComposeFault::Overflow;
        if (fault != ComposeFault::None) {
            buffer.clear();
            return {false, protocol::refusalMessage(fault, p,
                                                    platform::translated("SaveFiles", kNotSaved))};
        }
    }
    return {};
}

}  // namespace files
