#pragma once
// What a front end holds to keep records: the local store (or why there is none), the team
// server's address, and one call per event that never throws. Records are never a reason to
// refuse an exchange with a terminal: a store that fails is reported once and the work goes on.
#include <chrono>
#include <deque>
#include <memory>
#include <string>

#include "records/Outbox.h"
#include "records/SqlStore.h"

namespace records {

class Recorder {
  public:
    // The default file and VIGIL_RECORDS, else `storedTeamAddress` (the windows' setting).
    static Recorder fromEnvironment(const std::string& storedTeamAddress = {});
    Recorder(std::string localPath, std::string teamAddress, const SqliteOptions& options = {});

    // Whether events are being kept; when not, problem() says why.
    bool keeping() const { return local_ != nullptr; }
    const std::string& problem() const { return problem_; }
    // A setting that was not taken (VIGIL_RECORDS not a postgresql:// address); records are
    // still kept here.
    const std::string& notice() const { return notice_; }

    // Commits the event here (queued for the team's server when one is set). False, with
    // problem() set, when it could not be kept: then it is held in memory and committed before
    // the next one that can be (a lock or a full disk passes; a file that would not open is
    // tried again after `reopenPause`).
    bool record(const Event& event);
    // Events held because they could not yet be committed.
    std::size_t held() const { return held_.size(); }

    // Sends what waits for the team's server (a network call: not on a GUI thread).
    SyncResult sync();

    SqlStore* local() { return local_.get(); }
    const std::string& teamAddress() const { return team_; }

    // A file that would not open is tried again, at an event, after this long.
    std::chrono::seconds reopenPause{60};

  private:
    void open();

    std::string path_;
    SqliteOptions options_;
    std::chrono::steady_clock::time_point lastOpen_;
    std::deque<Event> held_;
    std::unique_ptr<SqlStore> local_;
    std::string team_;
    std::string problem_;
    std::string notice_;
};

}  // namespace records
