#include "records/SqlStore.h"

#include <fcntl.h>
#include <soci/postgresql/soci-postgresql.h>
#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <regex>
#include <thread>

#include "platform/Catalogue.h"
#include "records/FieldText.h"
#include "records/Schema.h"

namespace records {
namespace {

// One sentence for a file SQLite would not use, by what the operator can do about it.
StoreError sqliteProblem(const std::string& path, const std::string& error) {
    const auto has = [&](const char* text) { return error.find(text) != std::string::npos; };
    const auto told = [&](const std::string& text, bool locked = false) {
        return StoreError(platform::withArgs(text, {path, error}), locked);
    };
    using platform::translated;
    if (has("readonly") || has("read-only") || has("read only"))
        return told(translated("vigil", "the records file %1 is read-only"));
    if (has("locked") || has("busy"))
        return told(translated("vigil", "the records file %1 is locked by another program"), true);
    if (has("full") || has("disk I/O"))
        return told(translated(
            "vigil", "the records file %1 cannot be written: the disk is full or failing"));
    if (has("not a database") || has("malformed") || has("corrupt"))
        return told(translated("vigil",
                               "the records file %1 is damaged (not a records database); move it "
                               "aside to start new records"));
    return told(translated("vigil", "the records file %1 cannot be used: %2"));
}

// The file with owner-only access before SQLite sees it: it holds APN passwords and access
// values. SQLite gives its -wal and -shm files the same mode.
void prepareFile(const std::string& path) {
    const std::filesystem::path file(path);
    if (file.has_parent_path()) {
        // The folder of its own is the user's alone; folders above it are made as usual.
        std::error_code ec;
        const auto folder = file.parent_path();
        if (folder.has_parent_path()) std::filesystem::create_directories(folder.parent_path(), ec);
        if (!ec && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            ec = std::error_code(errno, std::generic_category());
        if (!ec && !std::filesystem::is_directory(folder, ec) && !ec)
            ec = std::make_error_code(std::errc::not_a_directory);
        if (ec)
            throw StoreError(platform::withArgs(
                platform::translated("vigil", "the records folder %1 cannot be made: %2"),
                {file.parent_path().string(), ec.message()}));
    }
    // Not blocking: a FIFO put in the file's place must not hang the program.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) {
        if (errno == EACCES || errno == EROFS || errno == EPERM)
            throw sqliteProblem(path, "read-only");
        throw StoreError(platform::withArgs(
            platform::translated("vigil", "the records file %1 cannot be opened: %2"),
            {path, std::strerror(errno)}));
    }
    // Only a records file (or a new, empty one) is made the user's alone: a link put in its place
    // may name some other file of the user's, which is then refused as damaged, its mode as it was.
    struct stat st {};
    char head[16] = {};
    const bool ours = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                      (st.st_size == 0 || (::pread(fd, head, sizeof head, 0) == sizeof head &&
                                           std::memcmp(head, "SQLite format 3", 16) == 0));
    if (ours && (st.st_mode & 077) != 0) (void)::fchmod(fd, 0600);
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    if (!regular)
        throw StoreError(platform::withArgs(
            platform::translated("vigil", "the records file %1 is not a regular file"), {path}));
}

// A server away (a technician on site) costs a few seconds, not the TCP time-out's minutes; one
// that stops answering in the middle of a send is given up after 15 s of silence.
std::string withConnectTimeout(const std::string& connection) {
    const bool address =
        connection.starts_with("postgres://") || connection.starts_with("postgresql://");
    std::string out = connection;
    for (const char* setting : {"connect_timeout=5", "tcp_user_timeout=15000"}) {
        const std::string_view name(setting, std::string_view(setting).find('='));
        if (connection.find(name) != std::string::npos) continue;
        if (!address)
            out += std::string(" ") + setting;
        else
            out += std::string(out.find('?') == std::string::npos ? "?" : "&") + setting;
    }
    return out;
}

UnitSummary summaryRow(const soci::row& r) {
    UnitSummary u;
    u.unitId = r.get<std::string>(0);
    u.idCodText = r.get<std::string>(1);
    u.ownNumber = r.get<std::string>(2);
    u.firmwareVersion = r.get<std::string>(3);
    u.lastSeen = r.get<std::string>(4);
    u.lastResult = r.get<std::string>(5);
    u.events = std::stoll(r.get<std::string>(6));
    return u;
}

// The database's own words, first line only: SOCI adds the statement and its bound values, which
// hold the terminal's APN passwords and access values and must not reach a console or a log.
std::string plainMessage(const std::exception& error) {
    const auto* soci = dynamic_cast<const soci::soci_error*>(&error);
    std::string text = soci ? soci->get_error_message() : error.what();
    if (const auto end = text.find('\n'); end != std::string::npos) text.resize(end);
    return text;
}

}  // namespace

SqlStore::SqlStore(Backend backend, std::unique_ptr<soci::session> sql, std::string description)
    : backend_(backend), sql_(std::move(sql)), description_(std::move(description)) {}

SqlStore::~SqlStore() = default;

std::unique_ptr<SqlStore> SqlStore::openSqlite(const std::string& path,
                                               const SqliteOptions& options) {
    prepareFile(path);
    // Two programs opening a new file at once can meet SQLite's lock where it does not wait (the
    // switch to WAL, the WAL's first recovery): the opening is tried again for the busy time.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(options.busyTimeoutSeconds);
    for (;;) {
        try {
            return openSqliteOnce(path, options);
        } catch (const StoreError& e) {
            if (!e.locked() || std::chrono::steady_clock::now() >= deadline) throw;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

std::unique_ptr<SqlStore> SqlStore::openSqliteOnce(const std::string& path,
                                                   const SqliteOptions& options) {
    try {
        // The path goes in quotes: SOCI splits its connection text at blanks.
        std::string quoted;
        for (char c : path) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        std::string connect = "db=\"" + quoted +
                              "\" timeout=" + std::to_string(options.busyTimeoutSeconds) +
                              " shared_cache=false";
        if (options.readOnly) connect += " readonly=true";
        auto sql = std::make_unique<soci::session>(*soci::factory_sqlite3(), connect);
        std::unique_ptr<SqlStore> store(new SqlStore(Backend::Sqlite, std::move(sql), path));
        *store->sql_ << "PRAGMA journal_mode=WAL";
        // A commit survives a killed program; NORMAL keeps the WAL's order without an fsync per
        // event, which a power cut may cost the last one of.
        *store->sql_ << "PRAGMA synchronous=NORMAL";
        store->migrate();
        store->probeWrite();
        return store;
    } catch (const StoreError&) {
        throw;
    } catch (const std::exception& e) {
        throw sqliteProblem(path, plainMessage(e));
    }
}

std::unique_ptr<SqlStore> SqlStore::openPostgres(const std::string& connection) {
    const std::string shown = withoutPassword(connection);
    try {
        auto sql = std::make_unique<soci::session>(*soci::factory_postgresql(),
                                                   withConnectTimeout(connection));
        std::unique_ptr<SqlStore> store(new SqlStore(Backend::Postgres, std::move(sql), shown));
        *store->sql_ << "SET client_min_messages TO WARNING";  // no notices on the console
        // A table locked by someone else's open transaction must not hold an event (and the
        // command or window behind it) for as long as that lasts: the statement gives up, the
        // event stays in the outbox.
        *store->sql_ << "SET statement_timeout = '15s'";
        // Two PCs meeting an empty server at once may both create its tables; the loser of
        // that race finds them made on its second try.
        for (int attempt = 0;; ++attempt) {
            try {
                store->migrate();
                break;
            } catch (const soci::soci_error&) {
                if (attempt == 1) throw;
            }
        }
        return store;
    } catch (const StoreError&) {
        throw;
    } catch (const std::exception& e) {
        // libpq's text can quote the connection: no password in it.
        throw StoreError(platform::withArgs(
            platform::translated("vigil", "the team records server %1 cannot be used: %2"),
            {shown, withoutPassword(plainMessage(e))}));
    }
}

void SqlStore::migrate() {
    *sql_ << "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)";
    // Two programs opening a new file at once: the second waits, then finds it up to date.
    if (backend_ == Backend::Sqlite)
        *sql_ << "BEGIN IMMEDIATE";
    else {
        *sql_ << "BEGIN";
        *sql_ << "LOCK TABLE schema_version IN EXCLUSIVE MODE";
    }
    try {
        int version = 0;
        soci::indicator ind = soci::i_null;
        *sql_ << "SELECT MAX(version) FROM schema_version", soci::into(version, ind);
        if (ind == soci::i_null) version = 0;
        if (version > latestSchemaVersion())
            throw StoreError(platform::withArgs(
                platform::translated("vigil",
                                     "the records in %1 were written by a newer version "
                                     "of the program (schema %2)"),
                {description_, std::to_string(version)}));
        for (const Migration& m : migrations()) {
            if (m.version <= version) continue;
            for (const std::string_view statement : m.statements) *sql_ << std::string(statement);
            *sql_ << "DELETE FROM schema_version";
            *sql_ << "INSERT INTO schema_version (version) VALUES (:v)", soci::use(m.version);
        }
        *sql_ << "COMMIT";
    } catch (...) {
        try {
            *sql_ << "ROLLBACK";
        } catch (const std::exception&) {
        }
        throw;
    }
}

void SqlStore::probeWrite() {
    // A file that opens but cannot take a write is found now, not at the first event.
    *sql_ << "BEGIN IMMEDIATE";
    try {
        *sql_ << "UPDATE schema_version SET version = version";
    } catch (...) {
        *sql_ << "ROLLBACK";
        throw;
    }
    *sql_ << "ROLLBACK";
}

bool SqlStore::insert(const Event& e) {
    const std::string kind(kindName(e.kind)), result(resultName(e.result));
    const std::string values = encodeValues(e.values), sent = encodeValues(e.sent),
                      differences = encodeDifferences(e.differences);
    const UploadFacts upload = e.upload.value_or(UploadFacts{});
    const int hasUpload = e.upload ? 1 : 0;
    const long long uploadSize = upload.size, uploadRecords = upload.records;
    soci::statement st =
        (sql_->prepare << "INSERT INTO events (uuid, at_utc, operator, host, program, command,"
                          " port, adapter, kind, result, unit_id, idcod, own_number, firmware,"
                          " unit_values, sent_values, differences, has_upload, upload_file,"
                          " upload_sha256, upload_size, upload_records, upload_outcome)"
                          " VALUES (:uuid, :at, :op, :host, :program, :command, :port, :adapter,"
                          " :kind, :result, :unit, :idcod, :own, :firmware, :vals, :sent, :diffs,"
                          " :hasup, :upfile, :upsha, :upsize, :uprecords, :upoutcome)"
                          " ON CONFLICT (uuid) DO NOTHING",
         soci::use(e.uuid), soci::use(e.atUtc), soci::use(e.operatorLogin), soci::use(e.host),
         soci::use(e.program), soci::use(e.command), soci::use(e.port), soci::use(e.adapter),
         soci::use(kind), soci::use(result), soci::use(e.unitId), soci::use(e.idCodText),
         soci::use(e.ownNumber), soci::use(e.firmwareVersion), soci::use(values), soci::use(sent),
         soci::use(differences), soci::use(hasUpload), soci::use(upload.fileName),
         soci::use(upload.sha256), soci::use(uploadSize), soci::use(uploadRecords),
         soci::use(upload.outcome));
    st.execute(true);
    if (st.get_affected_rows() == 0) return false;
    if (e.unitId.empty()) return true;  // a silent terminal said no code: no unit to file it under
    // The newest event names the unit's number, version and result; an older one arriving late
    // (from the outbox) only adds to the count.
    *sql_ << "INSERT INTO units (unit_id, idcod, own_number, firmware, last_seen, last_result,"
             " event_count) VALUES (:unit, :idcod, :own, :firmware, :at, :result, 1)"
             " ON CONFLICT (unit_id) DO UPDATE SET"
             " event_count = units.event_count + 1,"
             " idcod = CASE WHEN excluded.last_seen >= units.last_seen AND excluded.idcod <> ''"
             "   THEN excluded.idcod ELSE units.idcod END,"
             " own_number = CASE WHEN excluded.last_seen >= units.last_seen"
             "   AND excluded.own_number <> '' THEN excluded.own_number ELSE units.own_number END,"
             " firmware = CASE WHEN excluded.last_seen >= units.last_seen"
             "   AND excluded.firmware <> '' THEN excluded.firmware ELSE units.firmware END,"
             " last_result = CASE WHEN excluded.last_seen >= units.last_seen"
             "   THEN excluded.last_result ELSE units.last_result END,"
             " last_seen = CASE WHEN excluded.last_seen >= units.last_seen"
             "   THEN excluded.last_seen ELSE units.last_seen END",
        soci::use(e.unitId), soci::use(e.idCodText), soci::use(e.ownNumber),
        soci::use(e.firmwareVersion), soci::use(e.atUtc), soci::use(result);
    return true;
}

bool SqlStore::add(const Event& event) {
    return add(event, false);
}

bool SqlStore::add(const Event& event, bool queue) {
    try {
        soci::transaction tx(*sql_);
        const bool added = insert(event);
        if (added && queue)
            *sql_ << "INSERT INTO outbox (uuid, queued_at) VALUES (:uuid, :at)"
                     " ON CONFLICT (uuid) DO NOTHING",
                soci::use(event.uuid), soci::use(event.atUtc);
        tx.commit();
        return added;
    } catch (const std::exception& e) {
        throw failure(e);
    }
}

namespace {
constexpr const char* kUnitColumns =
    "SELECT unit_id, idcod, own_number, firmware, last_seen, last_result,"
    " CAST(event_count AS TEXT) FROM units";
}  // namespace

std::vector<UnitSummary> SqlStore::units() {
    std::vector<UnitSummary> out;
    try {
        soci::rowset<soci::row> rows =
            (sql_->prepare << std::string(kUnitColumns) + " ORDER BY unit_id");
        for (const soci::row& r : rows) out.push_back(summaryRow(r));
    } catch (const std::exception& e) {
        throw failure(e);
    }
    return out;
}

std::optional<UnitSummary> SqlStore::unit(std::string_view unitId) {
    const std::string id(unitId);
    try {
        soci::rowset<soci::row> rows =
            (sql_->prepare << std::string(kUnitColumns) + " WHERE unit_id = :id", soci::use(id));
        for (const soci::row& r : rows) return summaryRow(r);
    } catch (const std::exception& e) {
        throw failure(e);
    }
    return std::nullopt;
}

std::vector<Event> SqlStore::selectEvents(const std::string& where, const std::string* argument,
                                          int limit) {
    std::vector<Event> out;
    const std::string query =
        "SELECT e.uuid, e.at_utc, e.operator, e.host, e.program, e.command, e.port, e.adapter,"
        " e.kind, e.result, e.unit_id, e.idcod, e.own_number, e.firmware, e.unit_values,"
        " e.sent_values, e.differences, CAST(e.has_upload AS TEXT), e.upload_file,"
        " e.upload_sha256, CAST(e.upload_size AS TEXT), CAST(e.upload_records AS TEXT),"
        " e.upload_outcome FROM " +
        where + (limit >= 0 ? " LIMIT " + std::to_string(limit) : std::string());
    try {
        soci::rowset<soci::row> rows =
            argument ? (sql_->prepare << query, soci::use(*argument)) : (sql_->prepare << query);
        for (const soci::row& r : rows) {
            Event e;
            const auto text = [&](int i) {
                return r.get<std::string>(static_cast<std::size_t>(i));
            };
            e.uuid = text(0);
            e.atUtc = text(1);
            e.operatorLogin = text(2);
            e.host = text(3);
            e.program = text(4);
            e.command = text(5);
            e.port = text(6);
            e.adapter = text(7);
            e.kind = kindFromName(text(8)).value_or(Kind::Read);
            e.result = resultFromName(text(9)).value_or(Result::Failed);
            e.unitId = text(10);
            e.idCodText = text(11);
            e.ownNumber = text(12);
            e.firmwareVersion = text(13);
            e.values = decodeValues(text(14));
            e.sent = decodeValues(text(15));
            e.differences = decodeDifferences(text(16));
            if (text(17) == "1")
                e.upload = UploadFacts{text(18), text(19), std::stoll(text(20)),
                                       std::stoll(text(21)), text(22)};
            out.push_back(std::move(e));
        }
    } catch (const std::exception& e) {
        throw failure(e);
    }
    return out;
}

std::vector<Event> SqlStore::events(std::string_view unitId) {
    if (unitId.empty()) return selectEvents("events e ORDER BY e.at_utc, e.uuid", nullptr, -1);
    const std::string unit(unitId);
    return selectEvents("events e WHERE e.unit_id = :unit ORDER BY e.at_utc, e.uuid", &unit, -1);
}

std::int64_t SqlStore::pending() {
    long long count = 0;
    try {
        *sql_ << "SELECT COUNT(*) FROM outbox", soci::into(count);
    } catch (const std::exception& e) {
        throw failure(e);
    }
    return count;
}

std::map<std::string, std::int64_t> SqlStore::pendingPerUnit() {
    std::map<std::string, std::int64_t> out;
    try {
        soci::rowset<soci::row> rows =
            (sql_->prepare << "SELECT e.unit_id, CAST(COUNT(*) AS TEXT) FROM outbox o"
                              " JOIN events e ON e.uuid = o.uuid GROUP BY e.unit_id");
        for (const soci::row& r : rows)
            out[r.get<std::string>(0)] = std::stoll(r.get<std::string>(1));
    } catch (const std::exception& e) {
        throw failure(e);
    }
    return out;
}

std::vector<Event> SqlStore::queued(int limit) {
    return selectEvents("outbox o JOIN events e ON e.uuid = o.uuid ORDER BY o.queued_at, o.uuid",
                        nullptr, limit);
}

void SqlStore::unqueue(const std::string& uuid) {
    try {
        *sql_ << "DELETE FROM outbox WHERE uuid = :uuid", soci::use(uuid);
    } catch (const std::exception& e) {
        throw failure(e);
    }
}

StoreError SqlStore::failure(const std::exception& error) const {
    // A file damaged after it opened is told as at opening, not as SQLite's statement text.
    if (backend_ == Backend::Sqlite) return sqliteProblem(description_, plainMessage(error));
    return StoreError(
        platform::withArgs(platform::translated("vigil", "the team records server %1: %2"),
                           {description_, withoutPassword(plainMessage(error))}));
}

std::string withoutPassword(const std::string& connection) {
    static const std::regex inAddress(R"(((?:postgres|postgresql)://[^:/@\s]*):[^@\s]*@)");
    static const std::regex asKey(R"(password\s*=\s*('[^']*'|\S*))", std::regex::icase);
    static const std::regex asParameter(R"(([?&])password=[^&\s]*&?)", std::regex::icase);
    std::string out = std::regex_replace(connection, inAddress, "$1@");
    out = std::regex_replace(out, asParameter, "$1");
    return std::regex_replace(out, asKey, "password=***");
}

}  // namespace records
