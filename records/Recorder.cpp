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

Recorder::Recorder(std::string localPath, std::string teamAddress, const SqliteOptions& options)
    : team_(std::move(teamAddress)) {
    try {
        local_ = SqlStore::openSqlite(localPath, options);
    } catch (const StoreError& e) {
        problem_ = e.what();
    }
}

bool Recorder::record(const Event& event) {
    if (!local_) return false;
    try {
        local_->add(event, !team_.empty());
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
