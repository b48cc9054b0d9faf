#include "files/ServerExport.h"

#include <string>

#include "files/SaveMessages.h"
#include "platform/Catalogue.h"
#include "protocol/Cp1251.h"
#include "protocol/ParameterTable.h"

namespace files {
namespace {

using protocol::byName;
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
    {{}, byName("Phone1")}, {{}, byName("Phone2")}, {{}, byName("Phone3")},
    {{}, byName("Phone4")}, {{}, byName("Phone5")}, {{}, byName("Phone6")},
    {{}, byName("Phone7")}, {{}, byName("Phone8")}, {{}, byName("ModulePhone")},
    {"<!--Разрешения IP (1 - Разрешено, 0 - Запрещено)."},
    {"Если запрещено, то IP адрес, его порт и период связи (см. ниже), не имеют значения-->"},
    {{}, byName("ServerEnable1")}, {{}, byName("ServerEnable2")},
    {{}, byName("ServerEnable3")}, {{}, byName("ServerEnable4")},
    {"<!--IP адреса-->"},
    {{}, byName("ServerIp1")}, {{}, byName("ServerIp2")},
    {{}, byName("ServerIp3")}, {{}, byName("ServerIp4")},
    {"<!--Порты-->"},
    {{}, byName("ServerPort1")}, {{}, byName("ServerPort2")},
    {{}, byName("ServerPort3")}, {{}, byName("ServerPort4")},
    {"<!--Периоды связи (мин)-->"},
    {{}, byName("ConnectPeriod1")}, {{}, byName("ConnectPeriod2")},
    {{}, byName("ConnectPeriod3")}, {{}, byName("ConnectPeriod4")},
    {"<!--APN-->"},
    {{}, byName("Apn")},
    {"<!--USER-->"},
    {{}, byName("ApnUser")},
    {"<!--Password-->"},
    {{}, byName("ApnPassword")},
    {"<!--Баланс (строка, время мин.)-->"},
    {{}, byName("BalanceUssd")},
    {{}, byName("BalancePeriod")},
    {"<!--Разрешения Sms (1 - Разрешено, 0 - Запрещено)."},
    {"Если запрещено, то телефон с данным индексом не будет получать SMS-->"},
    {{}, byName("SmsEnable1")}, {{}, byName("SmsEnable2")},
    {{}, byName("SmsEnable3")}, {{}, byName("SmsEnable4")},
    {{}, byName("SmsEnable5")}, {{}, byName("SmsEnable6")},
    {{}, byName("SmsEnable7")}, {{}, byName("SmsEnable8")},
    {"<!--Разрешения прослушивания (1 - Разрешено, 0 - Запрещено).-->"},
    {{}, byName("VoiceEnable1")}, {{}, byName("VoiceEnable2")},
    {{}, byName("VoiceEnable3")}, {{}, byName("VoiceEnable4")},
    {{}, byName("VoiceEnable5")}, {{}, byName("VoiceEnable6")},
    {{}, byName("VoiceEnable7")}, {{}, byName("VoiceEnable8")},
    {"<!--Протокол (0 - UDP, 1 - TCP-->"},
    {{}, byName("ServerProtocol1")}, {{}, byName("ServerProtocol2")},
    {{}, byName("ServerProtocol3")}, {{}, byName("ServerProtocol4")},
    {"<!--сколько раз нажимать кнопку тревоги(1 или 2 раза)-->"},
    {{}, byName("AlarmPressCount")},
    {"<!--Передавать координаты в АРМ по GPRS: 0-при сеансе связи,"},
    {" 1-при движении, 2-при тревоге, 3-при движении и тревоге-->"},
    {{}, byName("GpsSleepMode")},
    {"<!--Микрофон ('0'-'9', 'A'-'F')-->"},
    {{}, byName("MicSensitivity")},
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
