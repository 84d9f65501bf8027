#include "tools/vmodule/src/session_keeper.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace vmodule {

namespace {

[[noreturn]] void KeepSession(const std::string& slaveName, int lifeline, int ready) {
    for (int descriptor = 3; descriptor < 1024; ++descriptor)
        if (descriptor != lifeline && descriptor != ready) close(descriptor);
    const int nowhere = open("/dev/null", O_RDWR);
    for (int standard = 0; standard <= 2; ++standard) dup2(nowhere, standard);
    if (nowhere > 2) close(nowhere);
    signal(SIGINT, SIG_IGN);
    signal(SIGUSR1, SIG_IGN);
    char status = 0;
    if (setsid() >= 0) {
        const int slave = open(slaveName.c_str(), O_RDWR);
        if (slave >= 0 && ioctl(slave, TIOCSCTTY, 0) == 0 && tcgetsid(slave) == getsid(0)) status = 1;
    }
    if (write(ready, &status, 1) != 1 || status == 0) _exit(1);
    close(ready);
    char ignored = 0;
    for (;;) {
        const ssize_t got = read(lifeline, &ignored, 1);
        if (got < 0 && errno == EINTR) continue;
        _exit(0);
    }
}

}  // namespace

std::unique_ptr<SessionKeeper> SessionKeeper::Start(const std::string& slaveName, std::string& error) {
    int lifeline[2];
    int ready[2];
    if (pipe(lifeline) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return nullptr;
    }
    if (pipe(ready) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        close(lifeline[0]);
        close(lifeline[1]);
        return nullptr;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(lifeline[1]);
        close(ready[0]);
        KeepSession(slaveName, lifeline[0], ready[1]);
    }
    close(lifeline[0]);
    close(ready[1]);
    char status = 0;
    ssize_t got = -1;
    if (child > 0) {
        do got = read(ready[0], &status, 1);
        while (got < 0 && errno == EINTR);
    }
    close(ready[0]);
    if (child < 0 || got != 1 || status != 1) {
        error = child < 0 ? std::string("cannot fork: ") + std::strerror(errno)
                          : "cannot make " + slaveName + " the controlling terminal of its own session";
        close(lifeline[1]);
        if (child > 0) waitpid(child, nullptr, 0);
        return nullptr;
    }
    fcntl(lifeline[1], F_SETFD, FD_CLOEXEC);
    return std::unique_ptr<SessionKeeper>(new SessionKeeper(child, lifeline[1]));
}

SessionKeeper::~SessionKeeper() {
    close(lifeline_);
    while (waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace vmodule
