#include "cli/LineSettings.h"

#include <array>
#include <functional>

#include "platform/RegistryStore.h"

namespace cli {
namespace {

const char* const kSettingsKey = "Quorveth\\ComPort";

struct StoredSetting {
    const char* name;
    int items;  // entries of the window's list
    std::function<void(TCommPort&, int)> apply;
};

}  // namespace

std::vector<std::string> applyStoredLineSettings(TCommPort& port) {
    const std::array<StoredSetting, 5> settings = {{
        {"ComBaud", 15, [](TCommPort& p, int i) { p.SetBaudRate(static_cast<TBaudRate>(i)); }},
        {"StopBits", 3, [](TCommPort& p, int i) { p.SetStopBits(static_cast<TStopBits>(i)); }},
        {"Control", 3, [](TCommPort& p, int i) { p.SetComControl(static_cast<TComControl>(i)); }},
        {"DataBit", 4, [](TCommPort& p, int i) { p.SetDataBits(static_cast<std::uint16_t>(i + 5)); }},
        {"Parity", 5, [](TCommPort& p, int i) { p.SetParity(static_cast<TParity>(i)); }},
    }};
    std::vector<std::string> warnings;
    platform::Registry registry;
    if (!registry.openKey(kSettingsKey, false)) return warnings;
    for (const StoredSetting& s : settings) {
        try {
            const int index = registry.readInteger(s.name);
            if (index < 0 || index >= s.items) {
                warnings.push_back(std::string("registry value \"") + s.name + "\" = " +
                                   std::to_string(index) + " is out of range; the default is used");
                continue;
            }
            s.apply(port, index);
        } catch (const std::exception& e) {
            warnings.push_back(std::string("registry: ") + e.what() + "; the default is used");
        }
    }
    registry.closeKey();
    return warnings;
}

bool isKnownLineRate(int bitsPerSecond) {
    // SetBaud takes only the rates of the component's table and ignores any other.
    TCommPort probe;
    probe.SetBaud(bitsPerSecond);
    return probe.GetBaud() == bitsPerSecond;
}

}  // namespace cli
