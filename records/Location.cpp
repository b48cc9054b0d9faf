#include "records/Location.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>

#include "platform/Catalogue.h"

namespace records {

std::string defaultRecordsPath() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = ::getpwuid(::geteuid());
            home = pw ? pw->pw_dir : "/tmp";
        }
        base = std::string(home) + "/.local/share";
    }
    return base + "/vigil/records.sqlite";
}

namespace {

bool isTeamAddress(std::string_view text) {
    return text.starts_with("postgresql://") || text.starts_with("postgres://");
}

// A password in the user part or as a password= parameter in any letter case.
bool holdsPassword(std::string_view address) {
    const std::string_view rest = address.substr(address.find("://") + 3);
    const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    const std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos && authority.substr(0, at).find(':') != std::string_view::npos)
        return true;
    std::string lower(address.substr(std::min(address.size(), address.find('?'))));
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (std::size_t at2 = lower.find("password="); at2 != std::string::npos;
         at2 = lower.find("password=", at2 + 1))
        if (at2 > 0 && (lower[at2 - 1] == '?' || lower[at2 - 1] == '&')) return true;
    return false;
}

}  // namespace

std::string teamServerAddress(std::string& error, const std::string& stored) {
    const char* value = std::getenv("VIGIL_RECORDS");
    const bool fromEnvironment = value && *value;
    const std::string address = fromEnvironment ? value : stored;
    if (address.empty()) return {};
    using platform::translated;
    if (!isTeamAddress(address)) {
        error = fromEnvironment ? translated("vigil",
                                             "VIGIL_RECORDS must be a postgresql:// address; "
                                             "records are kept on this PC only")
                                : translated("vigil",
                                             "the team server setting must be a postgresql:// "
                                             "address; records are kept on this PC only");
        return {};
    }
    // A password in the environment is seen by every program the operator starts and ends up in
    // shell histories, one in the settings by anyone who reads them: it belongs in libpq's
    // password file, so such an address (a setting edited by hand, say) is not used.
    if (holdsPassword(address)) {
        error = fromEnvironment
                    ? translated("vigil",
                                 "VIGIL_RECORDS holds a password: put it in libpq's password file "
                                 "(~/.pgpass, mode 0600) and take it out of the address; records "
                                 "are kept on this PC only")
                    : translated("vigil",
                                 "the team server setting holds a password: put it in libpq's "
                                 "password file (~/.pgpass, mode 0600) and take it out of the "
                                 "address; records are kept on this PC only");
        return {};
    }
    return address;
}

std::string unstorableTeamAddress(std::string_view address) {
    if (!isTeamAddress(address))
        return platform::translated("Location", "Адрес сервера должен начинаться с postgresql://");
    if (holdsPassword(address))
        return platform::translated(
            "Location",
            "Адрес содержит пароль, а пароль не хранится в настройках программы. Уберите его из "
            "адреса и "
            "укажите в файле паролей libpq (~/.pgpass, права 0600).");
    return {};
}

}  // namespace records
