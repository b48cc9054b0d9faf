#include "cli/Interrupt.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "cli/ExitCodes.h"
#include "platform/MainThread.h"

namespace cli {
namespace {

std::atomic<bool> requested{false};

sigset_t stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

void installInterruptHandling() {
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread([set] {
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0) continue;
            if (requested.exchange(true)) _exit(kExitInterrupted);
            platform::MainThread::notify();
        }
    }).detach();
}

bool interruptRequested() {
    return requested.load();
}

}  // namespace cli
