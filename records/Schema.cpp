#include "records/Schema.h"

#include <array>

namespace records {
namespace {

// Times are ISO 8601 UTC texts (they sort as written); lists of values are tab-separated text
// (FieldText.h). `units` is kept beside `events` in the same transaction, so listing ten
// thousand units reads ten thousand rows, not every event.
constexpr std::array<std::string_view, 5> kVersion1 = {
    "CREATE TABLE events ("
    " uuid TEXT PRIMARY KEY, at_utc TEXT NOT NULL, operator TEXT NOT NULL, host TEXT NOT NULL,"
    " program TEXT NOT NULL, command TEXT NOT NULL, port TEXT NOT NULL, adapter TEXT NOT NULL,"
    " kind TEXT NOT NULL, result TEXT NOT NULL, unit_id TEXT NOT NULL, idcod TEXT NOT NULL,"
    " own_number TEXT NOT NULL, firmware TEXT NOT NULL, unit_values TEXT NOT NULL,"
    " sent_values TEXT NOT NULL, differences TEXT NOT NULL, has_upload INTEGER NOT NULL,"
    " upload_file TEXT NOT NULL, upload_sha256 TEXT NOT NULL, upload_size BIGINT NOT NULL,"
    " upload_records BIGINT NOT NULL, upload_outcome TEXT NOT NULL)",
    "CREATE INDEX events_by_unit ON events (unit_id, at_utc)",
    "CREATE TABLE units ("
    " unit_id TEXT PRIMARY KEY, idcod TEXT NOT NULL, own_number TEXT NOT NULL,"
    " firmware TEXT NOT NULL, last_seen TEXT NOT NULL, last_result TEXT NOT NULL,"
    " event_count BIGINT NOT NULL)",
    // Events kept here and not yet on the team's server.
    "CREATE TABLE outbox (uuid TEXT PRIMARY KEY, queued_at TEXT NOT NULL)",
    "CREATE INDEX outbox_by_time ON outbox (queued_at)",
};

constexpr std::array<Migration, 1> kMigrations = {{{1, kVersion1}}};

}  // namespace

std::span<const Migration> migrations() {
    return kMigrations;
}
int latestSchemaVersion() {
    return kMigrations.back().version;
}

}  // namespace records
