#include "records/Recorder.h"

#include "platform/Catalogue.h"
#include "records/Location.h"

namespace records {

Recorder Recorder::fromEnvironment(const std::string& storedTeamAddress) {
    std::string error;
    const std::string team = teamServerAddress(error, storedTeamAddress);
    Recorder recorder(defaultRecordsPath(), team);
    recorder.notice_ = error;
    return recorder;
}

namespace {

// Events held while the file cannot take them; past this the oldest goes, so that a file that
// never comes back cannot take the program's memory.
constexpr std::size_t kMostHeld = 1000;

}  // namespace

Recorder::Recorder(std::string localPath, std::string teamAddress, const SqliteOptions& options)
    : path_(std::move(localPath)), options_(options), team_(std::move(teamAddress)) {
    open();
}

void Recorder::open() {
    lastOpen_ = std::chrono::steady_clock::now();
    try {
        local_ = SqlStore::openSqlite(path_, options_);
    } catch (const StoreError& e) {
        problem_ = e.what();
    }
}

bool Recorder::record(const Event& event) {
    if (held_.size() == kMostHeld) held_.pop_front();
    held_.push_back(event);
    if (!local_ && std::chrono::steady_clock::now() - lastOpen_ >= reopenPause) open();
    if (!local_) return false;
    try {
        // Oldest first, each in its own transaction: one kept stays kept whatever follows.
        while (!held_.empty()) {
            local_->add(held_.front(), !team_.empty());
            held_.pop_front();
        }
        return true;
    } catch (const StoreError& e) {
        problem_ = e.what();
        return false;
    }
}

SyncResult Recorder::sync() {
    SyncResult result;
    if (!local_) {
        result.problem = problem_;
        return result;
    }
    if (team_.empty()) {
        result.problem = platform::translated("vigil", "no team server is set (VIGIL_RECORDS)");
        return result;
    }
    try {
        const auto team = SqlStore::openPostgres(team_);
        return sendOutbox(*local_, *team);
    } catch (const StoreError& e) {
        result.problem = e.what();
        try {
            result.pending = local_->pending();
        } catch (const StoreError&) {
        }
        return result;
    }
}

}  // namespace records
