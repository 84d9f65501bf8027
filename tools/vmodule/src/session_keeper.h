#pragma once

#include <memory>
#include <string>

#include <sys/types.h>

namespace vmodule {

// A child process that makes the pty slave the controlling terminal of its
// own session and holds it until this process ends. Wine's server opens
// serial devices without O_NOCTTY and would otherwise adopt the slave as its
// controlling terminal, and then die of the hangup when vmodule exits.
class SessionKeeper {
public:
    static std::unique_ptr<SessionKeeper> Start(const std::string& slaveName, std::string& error);
    ~SessionKeeper();
    SessionKeeper(const SessionKeeper&) = delete;
    SessionKeeper& operator=(const SessionKeeper&) = delete;

private:
    SessionKeeper(pid_t child, int lifeline) : child_(child), lifeline_(lifeline) {}

    pid_t child_;
    int lifeline_;
};

}  // namespace vmodule
