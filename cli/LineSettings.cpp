#include "cli/LineSettings.h"

#include "cli/Texts.h"
#include "platform/Catalogue.h"
#include "serial/LineRates.h"
#include "session/LineSettingsStore.h"

namespace cli {

std::vector<std::string> applyStoredLineSettings(TCommPort& port) {
    const session::StoredLineSettings stored = session::LineSettingsStore().read();
    if (!stored.keyExists) return {};
    std::vector<session::LineProblem> problems;
    session::applyLine(stored.checked(problems), port);
    std::vector<std::string> warnings;
    for (const session::LineProblem& p : problems) {
        const char* name = session::kLineFields[static_cast<std::size_t>(p.field)].storedName;
        warnings.push_back(
            p.failure.empty()
                ? withArgs(platform::translated("vigil",
                                                "registry value \"%1\" = %2 is out of range; the "
                                                "default is used"),
                           {name, std::to_string(p.value)})
                : withArgs(platform::translated("vigil", "registry: %1; the default is used"),
                           {p.failure}));
    }
    return warnings;
}

bool isKnownLineRate(int bitsPerSecond) {
    return serial::lineRateIndex(bitsPerSecond).has_value();
}

}  // namespace cli
