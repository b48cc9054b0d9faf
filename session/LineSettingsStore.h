#pragma once
// The line settings in the registry store, key "Quorveth\ComPort", each value a dword: the port
// window reads and saves them, vigil reads and checks them.
#include <array>
#include <string>
#include <vector>

#include "platform/RegistryStore.h"
#include "session/LineSettings.h"

namespace session {

struct StoredLineSettings {
    bool keyExists = false;  // false: nothing was ever saved (the windows never ran)
    LineSettings values;     // what was read; the default where a value could not be
    // The store's reason per field (kLineFields order) where it could not be read, else empty.
    std::array<std::string, kLineFields.size()> failures;

    // The values as the port takes them: the default for each line value that could not be read
    // or is outside its list, each such value reported in `problems`. The port number is not
    // checked: any number may be mapped to a device.
    LineSettings checked(std::vector<LineProblem>& problems) const;
};

class LineSettingsStore {
  public:
    explicit LineSettingsStore(std::string storePath = platform::registryPath());

    StoredLineSettings read() const;
    // Writes every value, creating the key; throws platform::ERegistryException when the store
    // cannot be written (the values written before stay).
    void save(const LineSettings& settings) const;

  private:
    std::string storePath_;
};

}  // namespace session
