#pragma once
// The simulated terminal's settings: one value per parameter of the protocol table, held as the
// Windows-1251 bytes a request carries (the write form). Not thread-safe; the settings mode
// guards it.
#include <array>
#include <string>
#include <string_view>

#include "protocol/ParameterTable.h"

namespace sim {

class ParameterStore {
  public:
    ParameterStore();  // plausible values of a terminal in service

    const std::string& value(const protocol::Parameter& p) const { return values_[indexOf(p)]; }
    void set(const protocol::Parameter& p, std::string cp1251) {
        values_[indexOf(p)] = std::move(cp1251);
    }
    // By parameter name ("Phone1"); empty for an unknown name.
    std::string value(std::string_view name) const;

    // The item the terminal answers with: answer key, value in answer form, ":".
    std::string answerItem(const protocol::Parameter& p) const;

    // An erased EEPROM: every writable value empty or zero; measured values stay.
    void erase();

    // One "Name=value" line per parameter, values as cp1251 bytes. Unknown names are skipped.
    bool load(const std::string& path);
    bool save(const std::string& path) const;

  private:
    static std::size_t indexOf(const protocol::Parameter& p) {
        return static_cast<std::size_t>(&p - protocol::kParameters.data());
    }
    std::array<std::string, protocol::kParameters.size()> values_;
};

}  // namespace sim
