#include "tools/vmodule/src/signal_pipe.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace vmodule {

namespace {

volatile sig_atomic_t writeEnd = -1;

void ForwardSignal(int signal) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    if (writeEnd >= 0) {
        const ssize_t written = write(writeEnd, &byte, 1);
        static_cast<void>(written);
    }
    errno = savedErrno;
}

bool MakeNonBlocking(int descriptor) {
    const int flags = fcntl(descriptor, F_GETFL);
    return flags >= 0 && fcntl(descriptor, F_SETFL, flags | O_NONBLOCK) == 0 &&
           fcntl(descriptor, F_SETFD, FD_CLOEXEC) == 0;
}

}  // namespace

SignalPipe::SignalPipe(std::initializer_list<int> signals) {
    int ends[2];
    if (pipe(ends) != 0) return;
    if (!MakeNonBlocking(ends[0]) || !MakeNonBlocking(ends[1])) {
        close(ends[0]);
        close(ends[1]);
        return;
    }
    readEnd_ = ends[0];
    writeEnd = ends[1];
    struct sigaction action {};
    action.sa_handler = ForwardSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : signals) sigaction(signal, &action, nullptr);
}

SignalPipe::~SignalPipe() {
    if (readEnd_ < 0) return;
    const int oldWriteEnd = writeEnd;
    writeEnd = -1;
    close(oldWriteEnd);
    close(readEnd_);
}

std::optional<int> SignalPipe::TakeSignal() {
    unsigned char byte = 0;
    if (readEnd_ >= 0 && read(readEnd_, &byte, 1) == 1) return byte;
    return std::nullopt;
}

}  // namespace vmodule
