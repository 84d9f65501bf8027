#pragma once
#include <memory>

#include "cli/provisioning/stop_flag.h"

// While it lives, Ctrl-C (and a polite kill) raise the flag instead of ending the process, so
// that every port can say how far it got. Create it before the threads it is to cover.
class InterruptWatch {
public:
    explicit InterruptWatch(StopFlag& flag);
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};
