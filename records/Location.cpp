#include "records/Location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

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

std::string teamServerAddress(std::string& error) {
    const char* value = std::getenv("VIGIL_RECORDS");
    if (!value || !*value) return {};
    const std::string_view text(value);
    if (text.starts_with("postgresql://") || text.starts_with("postgres://")) return value;
    error = "VIGIL_RECORDS must be a postgresql:// address; records are kept on this PC only";
    return {};
}

}  // namespace records
