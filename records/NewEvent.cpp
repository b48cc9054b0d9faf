#include "records/NewEvent.h"

#include <pwd.h>
#include <unistd.h>
#include <uuid/uuid.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "protocol/Cp1251.h"
#include "protocol/ItemComposer.h"
#include "protocol/ParameterTable.h"

namespace records {
namespace {

std::string loginName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name) return pw->pw_name;
    if (const char* user = std::getenv("USER")) return user;
    return {};
}

std::string hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

}  // namespace

std::string utcNow() {
    using namespace std::chrono;
    // Events of one program follow each other in time order, also within one millisecond (a
    // snapshot and the erase after it): each takes at least the millisecond after the previous.
    static std::atomic<long long> last{0};
    long long ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    long long previous = last.load();
    do {
        ms = std::max(ms, previous + 1);
    } while (!last.compare_exchange_weak(previous, ms));
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    const auto millis = ms % 1000;
    std::tm utc{};
    ::gmtime_r(&seconds, &utc);
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<int>(millis));
    return text;
}

std::string randomUuid() {
    uuid_t id;
    ::uuid_generate_random(id);
    char text[37];
    ::uuid_unparse_lower(id, text);
    return text;
}

Event newEvent(Kind kind, std::string_view program, std::string_view command) {
    Event e;
    e.uuid = randomUuid();
    e.atUtc = utcNow();
    e.operatorLogin = loginName();
    e.host = hostName();
    e.program = std::string(program);
    e.command = std::string(command);
    e.kind = kind;
    return e;
}

Values valuesOf(const protocol::ControlAccess& controls) {
    Values values;
    values.reserve(protocol::kParameters.size());
    for (const protocol::Parameter& p : protocol::kParameters) {
        const std::string wire = protocol::renderValue(controls, p, p.form).value_or("");
        values.emplace_back(std::string(p.name), protocol::fromCp1251ForDisplay(wire));
    }
    return values;
}

Values valuesOf(const protocol::ValueSnapshot& sent) {
    Values values;
    for (const protocol::SentValue& v : sent)
        values.emplace_back(std::string(v.parameter->name),
                            protocol::fromCp1251ForDisplay(v.value));
    return values;
}

void setTerminalValues(Event& event, const protocol::ControlAccess& terminal) {
    event.values = valuesOf(terminal);
    setUnit(event, valueOf(event.values, "IdCode"));
    event.ownNumber = valueOf(event.values, "ModulePhone");
}

std::vector<Difference> differencesOf(const std::vector<protocol::ValueMismatch>& mismatches) {
    std::vector<Difference> out;
    for (const protocol::ValueMismatch& m : mismatches)
        out.push_back({std::string(m.parameter->name), protocol::fromCp1251ForDisplay(m.expected),
                       m.actual ? protocol::fromCp1251ForDisplay(*m.actual) : std::string()});
    return out;
}

}  // namespace records
