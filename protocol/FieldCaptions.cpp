#include "protocol/FieldCaptions.h"

#include <algorithm>
#include <utility>

namespace protocol {
namespace {

using Caption = std::pair<std::string_view, std::string_view>;  // control, caption

constexpr Caption kSingles[] = {
    {"ETl9", "Телефон модуля"},
    {"EApn1", "APN"},
    {"EAus1", "Пользователь"},
    {"EApas1", "Пароль"},
    {"EBlSt1", "Баланс SIM-карты: USSD"},
    {"EBlTm1", "Баланс SIM-карты: Период(мин)"},
    {"EBlVl1", "Баланс SIM-карты: Значение"},
    {"ELim1", "Баланс SIM-карты: Лимит"},
    {"EIdCod", "Код ид."},
    {"TrackBar1", "Чувствительность микрофона"},
    {"CBNmbPress", "Нажатий кнопки \"Тревога\""},
    {"RadioGroup1", "Режимы сна модуля GPS"},
    {"EAdcCod", "Датчик движения"},
    {"EGpsTime", "Время по Гринвичу (ч, м, с)"},
    {"EGpsDate", "Дата (д, м, г)"},
    {"EGpsSpeed", "Скорость (узлы)"},
    {"EGpsCog", "Курс (град)"},
    {"EGpsLatitude", "Широта (гр, мин)"},
    {"EGpsLongitude", "Долгота (гр, мин)"},
};

// Numbered rows of a grid: the row's heading with the number, then the column's.
struct Family {
    std::string_view prefix;  // of the controls' names, before the number
    std::string_view row;
    std::string_view column;
};
constexpr Family kFamilies[] = {
    {"ETl", "Телефон ", ": Номер"},
    {"ChSim1ForP", "Телефон ", ": sms"},
    {"ChSim1ForVoice", "Телефон ", ": voice"},
    {"EditIp", "Сервер ", ": IP адрес"},
    {"EditPort", "Сервер ", ": Порт"},
    {"CBGet", "Сервер ", ": Протокол"},
    {"ChSim1ForIp", "Сервер ", ": Разрешить"},
    {"EConnectPeriod", "Период связи GPRS: Сервер ", ""},
};

bool isNumber(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::string fieldCaption(const Parameter& p) {
    for (const auto& [control, caption] : kSingles)
        if (control == p.control) return std::string(caption);
    for (const Family& f : kFamilies) {
        const std::string_view number =
            p.control.substr(std::min(f.prefix.size(), p.control.size()));
        if (p.control.starts_with(f.prefix) && isNumber(number))
            return std::string(f.row).append(number).append(f.column);
    }
    return std::string(p.answerKey.substr(0, p.answerKey.size() - 1));
}

}  // namespace protocol
