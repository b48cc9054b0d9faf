#pragma once
// TStatusEventThread: dispatches the last line-event mask to the handlers on the main thread, in a
// fixed order, and tells the owner once that the device has gone.
#include "platform/Thread.h"
#include "serial/Commport.h"

class TStatusEventThread : public platform::Thread {
  public:
    explicit TStatusEventThread(TCommPort* port);
    ~TStatusEventThread() override;

  protected:
    void Execute() override;

  private:
    void dispatch();
    TCommPort* port_;
};
