#include "module_bench.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

constexpr auto kPatience = std::chrono::seconds(15);

pid_t Spawn(const std::vector<std::string>& arguments, const std::string& out, const std::string& err) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error("cannot start " + arguments[0]);
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int WaitExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

template <typename Condition>
bool WaitUntil(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace

VirtualModule::VirtualModule(const ScratchFolder& folder, const std::string& name, const std::string& geometry)
    : link_(folder.Path(name)), dump_(folder.Path(name + ".dump")) {
    pid_ = Spawn({VMODULE, "--geometry", geometry, "--link", link_, "--dump-to", dump_, "--quiet"}, "/dev/null",
                 folder.Path(name + ".err"));
    if (!WaitUntil([this] { return std::filesystem::exists(dump_); })) {
        throw std::runtime_error("vmodule " + name + " did not come up");
    }
}

VirtualModule::~VirtualModule() { Unplug(); }

void VirtualModule::Unplug() {
    if (pid_ < 0) return;
    kill(pid_, SIGTERM);
    WaitExit(pid_);
    pid_ = -1;
}

std::map<std::string, std::string> VirtualModule::Dump() const {
    std::map<std::string, std::string> values;
    std::istringstream lines(ReadText(dump_));
    for (std::string line; std::getline(lines, line);) {
        const size_t colon = line.find(": ");
        if (colon != std::string::npos) values[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return values;
}

size_t VirtualModule::Received() const {
    const auto dump = Dump();
    const auto found = dump.find("received");
    return found == dump.end() ? 0 : std::stoul(found->second);
}

std::map<std::string, std::string> VirtualModule::WaitForBytes(size_t count) const {
    WaitUntil([&] { return Received() >= count; });
    return Dump();
}

std::map<std::string, std::string> VirtualModule::PowerCycleUntil(const std::string& key,
                                                                   const std::string& value) const {
    kill(pid_, SIGUSR1);
    WaitUntil([&] { return Dump()[key] == value; });
    return Dump();
}

CliProcess::CliProcess(const ScratchFolder& folder, const std::vector<std::string>& arguments)
    : out_(folder.Path("cli.out")), err_(folder.Path("cli.err")) {
    std::vector<std::string> command{BREVANT_CLI};
    command.insert(command.end(), arguments.begin(), arguments.end());
    pid_ = Spawn(command, out_, err_);
}

CliProcess::~CliProcess() {
    if (pid_ < 0) return;
    kill(pid_, SIGKILL);
    WaitExit(pid_);
}

CliResult CliProcess::Wait() {
    CliResult result;
    result.exitCode = WaitExit(pid_);
    pid_ = -1;
    result.out = ReadText(out_);
    result.err = ReadText(err_);
    return result;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : bytes) {
        if (!text.empty()) text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}
