#include "tools/ParameterStore.h"

#include <fstream>
#include <utility>

#include "protocol/Cp1251.h"

namespace sim {

namespace {

// Defaults by parameter name, in UTF-8 (stored as cp1251); parameters not listed start at "0".
const std::pair<std::string_view, std::string_view> kDefaults[] = {
    {"Phone1", "+79161234501"},
    {"Phone2", "+79161234502"},
    {"Phone3", "+79035550103"},
    {"Phone4", ""},
    {"Phone5", ""},
    {"Phone6", ""},
    {"Phone7", ""},
    {"Phone8", ""},
    {"ModulePhone", "+79031112233"},
    {"SmsEnable1", "1"},
    {"SmsEnable2", "1"},
    {"VoiceEnable1", "1"},
    {"ServerIp1", "194.85.12.40"},
    {"ServerIp2", "194.85.12.41"},
    {"ServerIp3", "10.0.0.1"},
    {"ServerIp4", "0.0.0.0"},
    {"ServerPort1", "5000"},
    {"ServerPort2", "5001"},
    {"ServerPort3", "5002"},
    {"ServerPort4", "0"},
    {"ConnectPeriod1", "10"},
    {"ConnectPeriod2", "15"},
    {"ConnectPeriod3", "30"},
    {"ConnectPeriod4", "60"},
    {"ServerProtocol1", "1"},
    {"ServerEnable1", "1"},
    {"ServerEnable2", "1"},
    {"Apn", "internet.mts.ru"},
    {"ApnUser", "mts"},
    {"ApnPassword", "mts"},
    {"BalanceUssd", "*100#"},
    {"BalancePeriod", "1440"},
    {"BalanceValue", "125.40 руб."},
    {"BalanceLimit", "50 руб."},
    {"IdCode", "004512 Версия 2.07 Eeprom OK"},
    {"MicSensitivity", "8"},
    {"AlarmPressCount", "2"},
    {"GpsSleepMode", "1"},
    {"MotionSensor", "0123"},
    {"GpsTime", "123519"},
    {"GpsDate", "081226"},
    {"GpsSpeed", "0.5"},
    {"GpsCourse", "54.7"},
    {"GpsLatitude", "5545.1234N"},
    {"GpsLongitude", "03737.5678E"},
};

const protocol::Parameter* byName(std::string_view name) {
    for (const protocol::Parameter& p : protocol::kParameters)
        if (p.name == name) return &p;
    return nullptr;
}

}  // namespace

ParameterStore::ParameterStore() {
    values_.fill("0");
    for (const protocol::Parameter& p : protocol::kParameters)
        if (p.form == protocol::ValueForm::Text) values_[indexOf(p)].clear();
    for (const auto& [name, utf8] : kDefaults)
        if (const protocol::Parameter* p = byName(name))
            set(*p, protocol::toCp1251(utf8).value_or(""));
}

std::string ParameterStore::value(std::string_view name) const {
    const protocol::Parameter* p = byName(name);
    return p ? value(*p) : std::string();
}

std::string ParameterStore::answerItem(const protocol::Parameter& p) const {
    std::string v = value(p);
    // A request carries the press count itself ("1", "2"); the answer carries its item index.
    if (p.form == protocol::ValueForm::PressCountDigit)
        v = (v.size() == 1 && v[0] >= '1' && v[0] <= '9')
                ? std::string(1, static_cast<char>(v[0] - 1))
                : "0";
    std::string item(p.answerKey);
    item.append(v).push_back(':');
    return item;
}

void ParameterStore::erase() {
    for (const protocol::Parameter& p : protocol::kParameters) {
        if (p.group == protocol::WriteGroup::None) continue;
        std::string& v = values_[indexOf(p)];
        if (p.form == protocol::ValueForm::Text)
            v.clear();
        else
            v.assign(1, '0');
    }
    set(*byName("AlarmPressCount"), "1");
}

bool ParameterStore::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (const protocol::Parameter* p = byName(std::string_view(line).substr(0, eq)))
            set(*p, line.substr(eq + 1));
    }
    return true;
}

bool ParameterStore::save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const protocol::Parameter& p : protocol::kParameters)
        out << p.name << '=' << value(p) << '\n';
    return static_cast<bool>(out.flush());
}

}  // namespace sim
