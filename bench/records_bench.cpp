// Keeping one event (a write's 63 values answered and sent) through the records' store, against
// a plain prepared SQLite insert of the same row into the same kind of file; and the units list of
// 10,000 units with 20 events each, against a bare select of the unit codes.
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "records/FieldText.h"
#include "records/NewEvent.h"
#include "records/SqlStore.h"

namespace {

using Clock = std::chrono::steady_clock;

double micros(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double percentile(std::vector<double> t, double p) {
    std::sort(t.begin(), t.end());
    return t[static_cast<std::size_t>(p * static_cast<double>(t.size() - 1))];
}

void row(const char* figure, double value, const char* unit, const char* baseline, double base,
         const char* target) {
    std::printf("ROW\t%s\t%.1f\t%s\t%s\t%.1f\t%s\n", figure, value, unit, baseline, base, target);
}

records::Event writeEvent(int unit) {
    records::Event e =
        records::newEvent(records::Kind::Write, "vigil", "vigil write --port COM3 a.abt");
    records::setUnit(e, std::to_string(100000 + unit) + " Версия 2.07 Eeprom OK");
    e.port = "COM3";
    e.adapter = "/dev/ttyUSB0";
    for (int i = 0; i < 63; ++i) {
        e.values.emplace_back("Parameter" + std::to_string(i),
                              "+7916123450" + std::to_string(i % 10));
        e.sent.emplace_back("Parameter" + std::to_string(i),
                            "+7916123450" + std::to_string(i % 10));
    }
    return e;
}

void exec(sqlite3* db, const char* sql) {
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// The same row through a prepared statement kept open, one autocommit insert each.
std::vector<double> plainInserts(const std::string& path, int count) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    exec(db, "PRAGMA journal_mode=WAL");
    exec(db, "PRAGMA synchronous=NORMAL");
    exec(db,
         "CREATE TABLE events (uuid TEXT PRIMARY KEY, at_utc TEXT, unit_id TEXT, idcod TEXT,"
         " kind TEXT, result TEXT, unit_values TEXT, sent_values TEXT)");
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO events VALUES (?, ?, ?, ?, ?, ?, ?, ?)", -1, &st, nullptr);
    std::vector<double> t;
    for (int i = 0; i < count; ++i) {
        const records::Event e = writeEvent(i % 100);
        const std::string values = records::encodeValues(e.values),
                          sent = records::encodeValues(e.sent);
        const auto start = Clock::now();
        const std::string fields[] = {e.uuid,  e.atUtc, e.unitId, e.idCodText,
                                      "write", "ok",    values,   sent};
        for (int f = 0; f < 8; ++f)
            sqlite3_bind_text(st, f + 1, fields[f].c_str(), static_cast<int>(fields[f].size()),
                              SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
        t.push_back(micros(start));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return t;
}

// 10,000 units of 20 events each, written in one transaction beside the store's own tables.
void fillUnits(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    exec(db, "BEGIN");
    sqlite3_stmt* ev = nullptr;
    sqlite3_stmt* un = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO events VALUES (?, ?, 'tech', 'pc', 'vigil', 'read', 'COM3',"
                       " 'ttyUSB0', 'read', 'ok', ?, ?, '+79000000000', '2.07', ?, '', '', 0,"
                       " '', '', 0, 0, '')",
                       -1, &ev, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO units VALUES (?, ?, '+79000000000', '2.07', ?, 'ok', 20)",
                       -1, &un, nullptr);
    const std::string values = records::encodeValues(writeEvent(0).values);
    for (int u = 0; u < 10000; ++u) {
        const std::string unit = std::to_string(100000 + u), idcod = unit + " V 2.07 Eeprom OK";
        std::string at;
        for (int k = 0; k < 20; ++k) {
            char time[40];
            std::snprintf(time, sizeof time, "2026-11-%02dT09:00:00.000Z", k + 1);
            at = time;
            const std::string uuid = records::randomUuid();
            const std::string fields[] = {uuid, at, unit, idcod, values};
            for (int f = 0; f < 5; ++f)
                sqlite3_bind_text(ev, f + 1, fields[f].c_str(), static_cast<int>(fields[f].size()),
                                  SQLITE_TRANSIENT);
            sqlite3_step(ev);
            sqlite3_reset(ev);
        }
        const std::string fields[] = {unit, idcod, at};
        for (int f = 0; f < 3; ++f)
            sqlite3_bind_text(un, f + 1, fields[f].c_str(), static_cast<int>(fields[f].size()),
                              SQLITE_TRANSIENT);
        sqlite3_step(un);
        sqlite3_reset(un);
    }
    sqlite3_finalize(ev);
    sqlite3_finalize(un);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

double bareUnitSelect(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_stmt* st = nullptr;
    const auto start = Clock::now();
    sqlite3_prepare_v2(db, "SELECT unit_id FROM units ORDER BY unit_id", -1, &st, nullptr);
    std::vector<std::string> units;
    while (sqlite3_step(st) == SQLITE_ROW)
        units.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    const double t = micros(start);
    sqlite3_close(db);
    return t;
}

}  // namespace

int main() {
    char dir[] = "/tmp/vigil-records-bench-XXXXXX";
    if (!::mkdtemp(dir)) return 1;
    const std::string folder = dir;
    constexpr int kEvents = 1000;

    std::vector<double> kept;
    {
        auto store = records::SqlStore::openSqlite(folder + "/records.sqlite");
        for (int i = 0; i < kEvents; ++i) {
            const records::Event e = writeEvent(i % 100);
            const auto start = Clock::now();
            store->add(e, true);
            kept.push_back(micros(start));
        }
    }
    const std::vector<double> plain = plainInserts(folder + "/plain.sqlite", kEvents);
    row("record one event (63 values), p50", percentile(kept, 0.5), "us",
        "plain SQLite insert of the row, p50", percentile(plain, 0.5), "-");
    row("record one event (63 values), p99", percentile(kept, 0.99), "us",
        "plain SQLite insert of the row, p99", percentile(plain, 0.99), "-");

    const std::string big = folder + "/units.sqlite";
    records::SqlStore::openSqlite(big);
    fillUnits(big);
    auto store = records::SqlStore::openSqlite(big);
    std::vector<double> listing;
    std::size_t units = 0;
    for (int i = 0; i < 7; ++i) {
        const auto start = Clock::now();
        units = store->units().size();
        listing.push_back(micros(start) / 1000.0);
    }
    std::vector<double> bare;
    for (int i = 0; i < 7; ++i) bare.push_back(bareUnitSelect(big) / 1000.0);
    if (units != 10000) std::fprintf(stderr, "listed %zu units\n", units);
    row("units list, 10,000 units x 20 events", percentile(listing, 0.5), "ms",
        "bare select of the unit codes", percentile(bare, 0.5), "<= 50 ms");
    std::filesystem::remove_all(folder);
    return 0;
}
