#pragma once
// Where events are kept: the local file or the team's server behind one interface, so the
// windows, `vigil` and the outbox's sender do not care which.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "records/Event.h"

namespace records {

// A store that cannot be opened or used, with one sentence an operator can act on (in the
// program's language: whether another program holds the file is asked of locked(), not of it).
class StoreError : public std::runtime_error {
  public:
    explicit StoreError(const std::string& what, bool locked = false)
        : std::runtime_error(what), locked_(locked) {}
    bool locked() const { return locked_; }

  private:
    bool locked_;
};

struct UnitSummary {
    std::string unitId;
    std::string idCodText;  // as last seen
    std::string ownNumber;  // as last seen (a unit may be given a new one)
    std::string firmwareVersion;
    std::string lastSeen;  // UTC time of the newest event
    std::string lastResult;
    std::int64_t events = 0;
};

class Store {
  public:
    virtual ~Store() = default;

    // Keeps the event unless one with its UUID is already kept (a copy sent twice is stored
    // once); true when it was new. Throws StoreError.
    virtual bool add(const Event& event) = 0;
    // Every unit, by identification code.
    virtual std::vector<UnitSummary> units() = 0;
    // The unit's events oldest first; every event when `unitId` is empty.
    virtual std::vector<Event> events(std::string_view unitId) = 0;
    // Where it lives, for messages (a path, or a server without any password).
    virtual std::string description() const = 0;
};

}  // namespace records
