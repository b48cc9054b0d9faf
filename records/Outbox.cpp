#include "records/Outbox.h"

namespace records {

SyncResult sendOutbox(SqlStore& local, Store& team) {
    SyncResult result;
    constexpr int kBatch = 200;
    try {
        for (;;) {
            const std::vector<Event> batch = local.queued(kBatch);
            if (batch.empty()) break;
            for (const Event& e : batch) {
                team.add(e);
                local.unqueue(e.uuid);
                ++result.sent;
            }
        }
    } catch (const StoreError& e) {
        result.problem = e.what();
    }
    try {
        result.pending = local.pending();
    } catch (const StoreError& e) {
        if (result.problem.empty()) result.problem = e.what();
    }
    return result;
}

}  // namespace records
