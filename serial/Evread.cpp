#include "serial/Evread.h"

TReadEventThread::TReadEventThread(TCommPort* port) : port_(port) {
    Start("Evread");
}

TReadEventThread::~TReadEventThread() {
    WaitFor();
}

void TReadEventThread::Execute() {
    while (!Terminated()) {
        port_->dataReceived_.wait();
        if (Terminated()) break;
        Synchronize([this] { deliver(); });
    }
}

// Main thread. The count is what the ring holds now, which may be 0.
void TReadEventThread::deliver() {
    if (!port_->OnDataReceived) return;
    port_->OnDataReceived(port_, port_->rxRing_.used());
}
