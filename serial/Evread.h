#pragma once
// TReadEventThread: hands each data-received notification to the main thread (OnDataReceived).
#include "platform/Thread.h"
#include "serial/Commport.h"

class TReadEventThread : public platform::Thread {
  public:
    explicit TReadEventThread(TCommPort* port);
    ~TReadEventThread() override;

  protected:
    void Execute() override;

  private:
    void deliver();
    TCommPort* port_;
};
