#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <thread>

#include "cli/provisioning/interrupt_watch.h"

namespace {

sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

// The signals are blocked in every thread and taken by one that waits for them, so no handler
// runs in the middle of a write.
struct InterruptWatch::State {
    sigset_t previous;
    std::atomic<bool> finished{false};
    std::thread waiter;
};

InterruptWatch::InterruptWatch(StopFlag& flag) : state_(std::make_unique<State>()) {
    const sigset_t signals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, &state_->previous);
    state_->waiter = std::thread([state = state_.get(), &flag, signals] {
        for (;;) {
            int signal = 0;
            if (sigwait(&signals, &signal) != 0) continue;
            if (state->finished) return;
            flag.Raise();
        }
    });
}

InterruptWatch::~InterruptWatch() {
    state_->finished = true;
    pthread_kill(state_->waiter.native_handle(), SIGTERM);
    state_->waiter.join();
    // A signal that came in meanwhile is dropped, not delivered on unblocking: the work is done.
    const sigset_t signals = StopSignals();
    timespec none{0, 0};
    while (sigtimedwait(&signals, nullptr, &none) > 0) {
    }
    pthread_sigmask(SIG_SETMASK, &state_->previous, nullptr);
}
