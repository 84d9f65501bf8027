#pragma once

#include <initializer_list>
#include <optional>

namespace vmodule {

// Turns the given signals into bytes on a pipe, so one poll() waits for
// both the serial line and the signals without a race.
class SignalPipe {
public:
    explicit SignalPipe(std::initializer_list<int> signals);
    ~SignalPipe();
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    bool Ok() const { return readEnd_ >= 0; }
    int ReadDescriptor() const { return readEnd_; }
    // The next signal that arrived, if any; never blocks.
    std::optional<int> TakeSignal();

private:
    int readEnd_ = -1;
};

}  // namespace vmodule
