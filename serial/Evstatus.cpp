#include "serial/Evstatus.h"

namespace ev = platform::lineEvent;

TStatusEventThread::TStatusEventThread(TCommPort* port) : port_(port) {
    Start("Evstatus");
}

TStatusEventThread::~TStatusEventThread() {
    WaitFor();
}

void TStatusEventThread::Execute() {
    while (!Terminated()) {
        port_->status_.wait();
        // Also after the wake at close: one more dispatch of the (then empty) last mask.
        Synchronize([this] { dispatch(); });
    }
}

// Main thread. Several waits before one dispatch coalesce into the last mask.
void TStatusEventThread::dispatch() {
    TCommPort* p = port_;
    const std::uint32_t mask = p->lastEventMask_;
    const auto fire = [p, mask](std::uint32_t bit, const TNotifyEvent& handler) {
        if ((mask & bit) && handler) handler(p);
    };
    fire(ev::Cts, p->OnCTSSignal);
    fire(ev::Rlsd, p->OnDCDSignal);
    fire(ev::Dsr, p->OnDSRSignal);
    fire(ev::Ring, p->OnRingSignal);
    fire(ev::RxChar, p->OnRxDSignal);
    fire(ev::RxFlag, p->OnRxEventSignal);
    fire(ev::TxEmpty, p->OnTxDSignal);
    fire(ev::Break, p->OnBreakSignal);
    if ((mask & ev::Err) && p->OnErrorSignal)
        p->OnErrorSignal(p, static_cast<int>(p->lastLineErrors_.load()));
    if (p->deviceLostPending_.exchange(false) && p->OnDeviceLost) p->OnDeviceLost(p);
}
