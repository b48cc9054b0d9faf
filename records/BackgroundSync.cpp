#include "records/BackgroundSync.h"

namespace records {

BackgroundSync::~BackgroundSync() {
    finish();
}

void BackgroundSync::finish() {
    if (sender_.joinable()) sender_.join();
}

void BackgroundSync::start(Recorder& recorder) {
    if (recorder.teamAddress().empty() || !recorder.keeping()) return;
    if (sending_) return;
    finish();  // finished: it cleared sending_ as its last step
    sending_ = true;
    // The sender opens the file itself: a store's connection is not shared between threads.
    sender_ =
        std::thread([this, path = recorder.local()->description(), team = recorder.teamAddress()] {
            Recorder own(path, team);
            own.sync();
            sending_ = false;
        });
}

}  // namespace records
