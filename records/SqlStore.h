#pragma once
// The store on SQL through SOCI: an SQLite file on this PC or a PostgreSQL server, one schema,
// every value a bound parameter. The local file also keeps the outbox: the events the team's
// server has not yet received.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "records/Store.h"

namespace soci {
class session;
}

namespace records {

struct SqliteOptions {
    int busyTimeoutSeconds = 5;  // the windows and a running batch write at once
    bool readOnly = false;       // opens as a read-only file does (for the tests run as root)
};

class SqlStore : public Store {
  public:
    enum class Backend { Sqlite, Postgres };

    // Creates the file (mode 0600, its folder 0700) when missing; WAL, busy time-out, schema
    // brought up to date. Throws StoreError for a locked, read-only, damaged or newer file.
    static std::unique_ptr<SqlStore> openSqlite(const std::string& path,
                                                const SqliteOptions& options = {});
    // A libpq connection string or postgresql:// address; the password comes from libpq's
    // password file. Throws StoreError when the server cannot be reached or used.
    static std::unique_ptr<SqlStore> openPostgres(const std::string& connection);

    ~SqlStore() override;

    bool add(const Event& event) override;
    std::vector<UnitSummary> units() override;
    // One unit's row of units() (its key, not a scan); nothing when no event names it.
    std::optional<UnitSummary> unit(std::string_view unitId);
    std::vector<Event> events(std::string_view unitId) override;
    std::string description() const override { return description_; }

    // The outbox (local file only): add() with `queue` also notes the event for the server.
    bool add(const Event& event, bool queue);
    std::int64_t pending();
    // The waiting events per unit (a unit with none is absent).
    std::map<std::string, std::int64_t> pendingPerUnit();
    // The oldest queued events, at most `limit`.
    std::vector<Event> queued(int limit);
    void unqueue(const std::string& uuid);

  private:
    SqlStore(Backend backend, std::unique_ptr<soci::session> sql, std::string description);
    static std::unique_ptr<SqlStore> openSqliteOnce(const std::string& path,
                                                    const SqliteOptions& options);
    // The error of a statement as one sentence an operator can act on.
    StoreError failure(const std::exception& error) const;
    void migrate();
    void probeWrite();
    bool insert(const Event& event);
    std::vector<Event> selectEvents(const std::string& where, const std::string* argument,
                                    int limit);

    Backend backend_;
    std::unique_ptr<soci::session> sql_;
    std::string description_;
};

// Hides a password written into a connection text ("postgresql://u:secret@h/db" ->
// "postgresql://u@h/db", "password=x" dropped) so it is never shown or logged.
std::string withoutPassword(const std::string& connection);

}  // namespace records
