#include "session/LineSettingsStore.h"

namespace session {

namespace {
const char* const kSettingsKey = "Quorveth\\ComPort";
}  // namespace

LineSettings StoredLineSettings::checked(std::vector<LineProblem>& problems) const {
    const LineSettings defaults;
    LineSettings result = values;
    for (std::size_t i = 0; i < kLineFields.size(); ++i) {
        const LineFieldInfo& info = kLineFields[i];
        if (info.listSize == 0) continue;
        int& value = result.*info.member;
        if (!failures[i].empty())
            problems.push_back({info.field, failures[i]});
        else if (value < 0 || value >= info.listSize)
            problems.push_back({info.field, "", value});
        else
            continue;
        value = defaults.*info.member;
    }
    return result;
}

LineSettingsStore::LineSettingsStore(std::string storePath) : storePath_(std::move(storePath)) {}

StoredLineSettings LineSettingsStore::read() const {
    StoredLineSettings stored;
    platform::Registry registry(storePath_);
    stored.keyExists = registry.openKey(kSettingsKey, false);
    if (!stored.keyExists) return stored;
    for (std::size_t i = 0; i < kLineFields.size(); ++i) {
        try {
            stored.values.*kLineFields[i].member = registry.readInteger(kLineFields[i].storedName);
        } catch (const platform::ERegistryException& e) {
            stored.failures[i] = e.what();
        }
    }
    registry.closeKey();
    return stored;
}

void LineSettingsStore::save(const LineSettings& settings) const {
    platform::Registry registry(storePath_);
    registry.openKey(kSettingsKey, true);
    for (const LineFieldInfo& info : kLineFields)
        registry.writeInteger(info.storedName, settings.*info.member);
    registry.closeKey();
}

}  // namespace session
