#pragma once
// Sends the events kept on this PC to the team's server. An event leaves the outbox only once
// the server has committed it, and the server keeps a UUID once: a send cut half way is simply
// sent again, nothing is lost and nothing is doubled. Never call it on a GUI thread.
#include <cstdint>
#include <string>

#include "records/SqlStore.h"

namespace records {

struct SyncResult {
    std::int64_t sent = 0;     // now on the server (already there counts too)
    std::int64_t pending = 0;  // still waiting here
    std::string problem;       // empty when every waiting event went
};

SyncResult sendOutbox(SqlStore& local, Store& team);

}  // namespace records
