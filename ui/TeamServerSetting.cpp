#include "ui/TeamServerSetting.h"

#include "platform/Catalogue.h"
#include "platform/RegistryStore.h"
#include "records/Location.h"

namespace ui {
namespace {

constexpr const char* kRecordsKey = "Quorveth\\Records";
constexpr const char* kTeamServerValue = "TeamServer";

}  // namespace

std::string storedTeamAddress() {
    try {
        platform::Registry registry;
        if (!registry.openKey(kRecordsKey, false) || !registry.valueExists(kTeamServerValue))
            return {};
        const std::string address = registry.readString(kTeamServerValue);
        // One stored by hand with a password in it is not used: it would go to the server's logs.
        return records::unstorableTeamAddress(address).empty() ? address : std::string();
    } catch (const std::exception&) {
        return {};
    }
}

std::string storeTeamAddress(const std::string& address) {
    if (!address.empty()) {
        const std::string refused = records::unstorableTeamAddress(address);
        if (!refused.empty()) return refused;
    }
    try {
        platform::Registry registry;
        if (!registry.openKey(kRecordsKey, true))
            return platform::translated("TeamServerEntry",
                                        "Настройка не сохранена: хранилище настроек недоступно.");
        registry.writeString(kTeamServerValue, address);
        return {};
    } catch (const std::exception& e) {
        return platform::translated("TeamServerEntry", "Настройка не сохранена: ") + e.what();
    }
}

}  // namespace ui
