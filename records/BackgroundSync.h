#pragma once
// Sends the outbox to the team's server on a thread of its own after each event kept, one send at
// a time, so that a server away never holds the caller (the windows' GUI thread).
#include <atomic>
#include <thread>

#include "records/LinkRecords.h"

namespace records {

class BackgroundSync : public Filing {
  public:
    ~BackgroundSync() override;
    void kept(Recorder& recorder) override { start(recorder); }
    void notKept(const std::string&) override {}  // the window says so on its status bar

    // Starts a send unless one is under way (what was queued meanwhile goes with it or the next).
    void start(Recorder& recorder);
    // Waits for the send under way, if any.
    void finish();

  private:
    std::thread sender_;
    std::atomic<bool> sending_{false};
};

}  // namespace records
