#pragma once
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "cli_run.h"

// A virtual display module on a pseudo-terminal of its own, as a bench of real ones would be.
class VirtualModule {
public:
    VirtualModule(const ScratchFolder& folder, const std::string& name, const std::string& geometry);
    ~VirtualModule();
    VirtualModule(const VirtualModule&) = delete;
    VirtualModule& operator=(const VirtualModule&) = delete;

    const std::string& Port() const { return link_; }
    // Its dump as key and value.
    std::map<std::string, std::string> Dump() const;
    size_t Received() const;
    // Waits, a bounded time, until that many bytes have come in; returns the dump then.
    std::map<std::string, std::string> WaitForBytes(size_t count) const;
    // Switches the module off and on and returns the dump once `key` reads `value`.
    std::map<std::string, std::string> PowerCycleUntil(const std::string& key, const std::string& value) const;
    // Ends the module: its pseudo-terminal closes under whoever writes to it.
    void Unplug();

private:
    std::string link_;
    std::string dump_;
    pid_t pid_ = -1;
};

// brevant-cli running in the background, for what happens while it works.
class CliProcess {
public:
    CliProcess(const ScratchFolder& folder, const std::vector<std::string>& arguments);
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    pid_t Pid() const { return pid_; }
    CliResult Wait();

private:
    std::string out_;
    std::string err_;
    pid_t pid_ = -1;
};

// "48 65 6C", as the dump writes bytes.
std::string Hex(const std::vector<uint8_t>& bytes);
