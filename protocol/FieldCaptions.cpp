#include "protocol/FieldCaptions.h"

#include <algorithm>
#include <utility>

#include "platform/Catalogue.h"

namespace protocol {
namespace {

using Caption = std::pair<std::string_view, std::string_view>;  // control, caption

constexpr Caption kSingles[] = {
    {"ETl9", VIGIL_TRANSLATABLE("FieldCaptions", "Телефон модуля")},
    {"EApn1", "APN"},
    {"EAus1", VIGIL_TRANSLATABLE("FieldCaptions", "Пользователь")},
    {"EApas1", VIGIL_TRANSLATABLE("FieldCaptions", "Пароль")},
    {"EBlSt1", VIGIL_TRANSLATABLE("FieldCaptions", "Баланс SIM-карты: USSD")},
    {"EBlTm1", VIGIL_TRANSLATABLE("FieldCaptions", "Баланс SIM-карты: Период(мин)")},
    {"EBlVl1", VIGIL_TRANSLATABLE("FieldCaptions", "Баланс SIM-карты: Значение")},
    {"ELim1", VIGIL_TRANSLATABLE("FieldCaptions", "Баланс SIM-карты: Лимит")},
    {"EIdCod", VIGIL_TRANSLATABLE("FieldCaptions", "Код ид.")},
    {"TrackBar1", VIGIL_TRANSLATABLE("FieldCaptions", "Чувствительность микрофона")},
    {"CBNmbPress", VIGIL_TRANSLATABLE("FieldCaptions", "Нажатий кнопки \"Тревога\"")},
    {"RadioGroup1", VIGIL_TRANSLATABLE("FieldCaptions", "Режимы сна модуля GPS")},
    {"EAdcCod", VIGIL_TRANSLATABLE("FieldCaptions", "Датчик движения")},
    {"EGpsTime", VIGIL_TRANSLATABLE("FieldCaptions", "Время по Гринвичу (ч, м, с)")},
    {"EGpsDate", VIGIL_TRANSLATABLE("FieldCaptions", "Дата (д, м, г)")},
    {"EGpsSpeed", VIGIL_TRANSLATABLE("FieldCaptions", "Скорость (узлы)")},
    {"EGpsCog", VIGIL_TRANSLATABLE("FieldCaptions", "Курс (град)")},
    {"EGpsLatitude", VIGIL_TRANSLATABLE("FieldCaptions", "Широта (гр, мин)")},
    {"EGpsLongitude", VIGIL_TRANSLATABLE("FieldCaptions", "Долгота (гр, мин)")},
};

// Numbered rows of a grid: the row's heading with the number, then the column's.
struct Family {
    std::string_view prefix;  // of the controls' names, before the number
    std::string_view row;
    std::string_view column;
};
constexpr Family kFamilies[] = {
    {"ETl", VIGIL_TRANSLATABLE("FieldCaptions", "Телефон "),
     VIGIL_TRANSLATABLE("FieldCaptions", ": Номер")},
    {"ChSim1ForP", VIGIL_TRANSLATABLE("FieldCaptions", "Телефон "),
     VIGIL_TRANSLATABLE("FieldCaptions", ": sms")},
    {"ChSim1ForVoice", VIGIL_TRANSLATABLE("FieldCaptions", "Телефон "),
     VIGIL_TRANSLATABLE("FieldCaptions", ": voice")},
    {"EditIp", VIGIL_TRANSLATABLE("FieldCaptions", "Сервер "),
     VIGIL_TRANSLATABLE("FieldCaptions", ": IP адрес")},
    {"EditPort", VIGIL_TRANSLATABLE("FieldCaptions", "Сервер "),
     VIGIL_TRANSLATABLE("FieldCaptions", ": Порт")},
    {"CBGet", VIGIL_TRANSLATABLE("FieldCaptions", "Сервер "),
     VIGIL_TRANSLATABLE("FieldCaptions", ": Протокол")},
    {"ChSim1ForIp", VIGIL_TRANSLATABLE("FieldCaptions", "Сервер "),
     VIGIL_TRANSLATABLE("FieldCaptions", ": Разрешить")},
    {"EConnectPeriod", VIGIL_TRANSLATABLE("FieldCaptions", "Период связи GPRS: Сервер "), ""},
};

// The tables hold literals, so their views end in a NUL that the catalogue lookup needs.
std::string shown(std::string_view caption) {
    return caption.empty() ? std::string() : platform::translated("FieldCaptions", caption.data());
}

bool isNumber(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::string fieldCaption(const Parameter& p) {
    for (const auto& [control, caption] : kSingles)
        if (control == p.control) return shown(caption);
    for (const Family& f : kFamilies) {
        const std::string_view number =
            p.control.substr(std::min(f.prefix.size(), p.control.size()));
        if (p.control.starts_with(f.prefix) && isNumber(number))
            return shown(f.row).append(number).append(shown(f.column));
    }
    return std::string(p.answerKey.substr(0, p.answerKey.size() - 1));
}

}  // namespace protocol
