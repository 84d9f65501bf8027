#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "tools/vmodule/src/hex_text.h"
#include "tools/vmodule/src/state_file.h"
#include "tools/vmodule/tests/editor_sequences.h"
#include "tools/vmodule/tests/temporary_directory.h"

extern char** environ;

namespace vmodule::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Generous, because sanitizer builds on a loaded machine can be slow; the
// waits end as soon as the condition holds.
constexpr auto kPatience = 30s;

bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

class RunningModule {
public:
    explicit RunningModule(const std::vector<std::string>& arguments) {
        std::vector<char*> argv;
        std::vector<std::string> owned = arguments;
        owned.insert(owned.begin(), VMODULE_BINARY);
        for (std::string& argument : owned) argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, VMODULE_BINARY, nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
    }
    ~RunningModule() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    pid_t Pid() const { return pid_; }
    bool Running() {
        if (exited_) return false;
        exited_ = waitpid(pid_, &status_, WNOHANG) == pid_;
        return !exited_;
    }
    // The exit status, or -1 when it did not end normally.
    int Stop(int signal) {
        kill(pid_, signal);
        if (!exited_) exited_ = waitpid(pid_, &status_, 0) == pid_;
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }
    int ExitStatus() {
        if (!exited_) exited_ = waitpid(pid_, &status_, 0) == pid_;
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool exited_ = false;
};

// Like the editor: open the port, write, close it again.
void SendOverLine(const fs::path& line, const Bytes& bytes, std::size_t pieceSize) {
    const int descriptor = open(line.c_str(), O_WRONLY | O_NOCTTY);
    ASSERT_GE(descriptor, 0) << "cannot open " << line;
    for (std::size_t offset = 0; offset < bytes.size(); offset += pieceSize) {
        const std::size_t count = std::min(pieceSize, bytes.size() - offset);
        ASSERT_EQ(write(descriptor, bytes.data() + offset, count), static_cast<ssize_t>(count));
    }
    close(descriptor);
}

std::string HexLine(const std::string& key, const EditorScreen& screen, int first, int count) {
    return "\n" + key + ": " +
           HexBytes(std::span(screen.cells).subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(count))) +
           "\n";
}

bool FileContains(const fs::path& path, const std::string& text) {
    return ReadWholeFile(path).find(text) != std::string::npos;
}

std::string RunDump(const std::vector<std::string>& arguments) {
    std::string command = VMODULE_BINARY;
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {};
    std::string output;
    char buffer[4096];
    while (const std::size_t count = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, count);
    pclose(pipe);
    return output;
}

TEST(LinkIntegration, EditorTransfersReachTheDumpAndTheStateFile) {
    TemporaryDirectory directory;
    const fs::path line = directory.Path() / "COM3";
    const fs::path dump = directory.Path() / "module.txt";
    const fs::path state = directory.Path() / "module.state";
    RunningModule module({"--geometry", "2x20", "--link", line.string(), "--dump-to", dump.string(), "--state",
                          state.string(), "--quiet"});
    ASSERT_GT(module.Pid(), 0);
    ASSERT_TRUE(WaitFor([&] { return fs::exists(dump) || !module.Running(); }));
    ASSERT_TRUE(module.Running());
    ASSERT_TRUE(fs::is_symlink(line));
    EXPECT_TRUE(fs::read_symlink(line).string().starts_with("/dev/pts/")) << fs::read_symlink(line);

    const EditorScreen mirrored = SampleScreen(31);
    SendOverLine(line, MirrorSequence(mirrored), 136);
    ASSERT_TRUE(WaitFor([&] { return FileContains(dump, "\nreceived: 136\n"); })) << ReadWholeFile(dump);
    std::string shown = ReadWholeFile(dump);
    EXPECT_NE(shown.find(HexLine("row1.hex", mirrored, 0, 20)), std::string::npos) << shown;
    EXPECT_NE(shown.find(HexLine("row2.hex", mirrored, 20, 20)), std::string::npos) << shown;
    EXPECT_NE(shown.find("\nchar7: " + HexBytes(mirrored.characters[7]) + "\n"), std::string::npos) << shown;

    // A second writer after the first closed the line, in small pieces as the editor's store arrives.
    const EditorScreen stored = SampleScreen(32);
    SendOverLine(line, StoreSequence(stored, kGeometry2x20), 8);
    ASSERT_TRUE(WaitFor([&] { return FileContains(dump, "\nreceived: 266\n"); })) << ReadWholeFile(dump);
    shown = ReadWholeFile(dump);
    EXPECT_NE(shown.find(HexLine("stored.row2.hex", stored, 20, 20)), std::string::npos) << shown;
    EXPECT_NE(shown.find(HexLine("row1.hex", mirrored, 0, 20)), std::string::npos) << "the display is unchanged";

    ASSERT_EQ(kill(module.Pid(), SIGUSR1), 0);
    ASSERT_TRUE(WaitFor([&] { return FileContains(dump, HexLine("row1.hex", stored, 0, 20)); })) << ReadWholeFile(dump);
    EXPECT_TRUE(FileContains(dump, "\nchar0: " + HexBytes(stored.characters[0]) + "\n"));

    EXPECT_EQ(module.Stop(SIGTERM), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(line))) << "the link is removed";

    std::string error;
    const auto saved = ParseStateText(ReadWholeFile(state), kGeometry2x20, error);
    ASSERT_TRUE(saved) << error;
    const std::string nextPowerOn = RunDump({"--state", state.string(), "--power-cycle", "--dump"});
    EXPECT_NE(nextPowerOn.find(HexLine("row2.hex", stored, 20, 20)), std::string::npos) << nextPowerOn;
    EXPECT_NE(nextPowerOn.find("\ncursor: column 1 row 1\n"), std::string::npos) << nextPowerOn;
}

TEST(LinkIntegration, SilenceAbandonsABrokenCommand) {
    TemporaryDirectory directory;
    const fs::path line = directory.Path() / "COM3";
    const fs::path dump = directory.Path() / "module.txt";
    RunningModule module({"--geometry", "2x16", "--link", line.string(), "--dump-to", dump.string(), "--quiet"});
    ASSERT_TRUE(WaitFor([&] { return fs::exists(dump) || !module.Running(); }));

    SendOverLine(line, Bytes{0xFE, 0x4E, 0x03, 0x1F}, 4);
    ASSERT_TRUE(WaitFor([&] { return FileContains(dump, "\nreceived: 4\nincomplete-command: no\n"); }))
        << ReadWholeFile(dump);
    SendOverLine(line, Bytes{'o', 'k'}, 2);
    ASSERT_TRUE(WaitFor([&] { return FileContains(dump, "\nreceived: 6\n"); })) << ReadWholeFile(dump);
    EXPECT_TRUE(FileContains(dump, "\nrow1: |ok              |\n")) << ReadWholeFile(dump);
    EXPECT_TRUE(FileContains(dump, "\nchar3: 00 00 00 00 00 00 00 00\n"));
    EXPECT_EQ(module.Stop(SIGINT), 0);
}

// Wine's server opens the port like this; it must not adopt the line as its
// controlling terminal, or it would be hung up when the module stops.
TEST(LinkIntegration, ASessionLeaderOpeningTheLineIsNotTiedToIt) {
    TemporaryDirectory directory;
    const fs::path line = directory.Path() / "COM3";
    const fs::path dump = directory.Path() / "module.txt";
    RunningModule module({"--link", line.string(), "--dump-to", dump.string(), "--quiet"});
    ASSERT_TRUE(WaitFor([&] { return fs::exists(dump) || !module.Running(); }));

    int report[2], release[2];
    ASSERT_EQ(pipe(report), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        close(report[0]);
        close(release[1]);
        char adopted = 1;
        const int descriptor = (setsid() >= 0) ? open(line.c_str(), O_RDWR) : -1;
        if (descriptor >= 0) {
            adopted = tcgetsid(descriptor) == getsid(0) ? 1 : 0;
            if (write(descriptor, "ok", 2) != 2) adopted = 1;
        }
        if (write(report[1], &adopted, 1) != 1) _exit(3);
        char ignored = 0;
        while (read(release[0], &ignored, 1) > 0) {
        }
        _exit(0);
    }
    close(report[1]);
    close(release[0]);
    char adopted = 1;
    ASSERT_EQ(read(report[0], &adopted, 1), 1);
    EXPECT_EQ(adopted, 0) << "the line became the writer's controlling terminal";
    EXPECT_TRUE(WaitFor([&] { return FileContains(dump, "\nrow1: |ok                  |\n"); })) << ReadWholeFile(dump);

    EXPECT_EQ(module.Stop(SIGTERM), 0);
    close(release[1]);
    close(report[0]);
    int status = 0;
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the writer was hung up, status " << status;
}

TEST(LinkIntegration, AStaleLinkIsReplacedButAFileIsNot) {
    TemporaryDirectory directory;
    const fs::path line = directory.Path() / "COM3";
    fs::create_symlink("/nonexistent/tty", line);
    {
        const fs::path dump = directory.Path() / "module.txt";
        RunningModule module({"--link", line.string(), "--dump-to", dump.string(), "--quiet"});
        ASSERT_TRUE(WaitFor([&] { return fs::exists(dump) || !module.Running(); }));
        EXPECT_TRUE(fs::read_symlink(line).string().starts_with("/dev/pts/"));
        EXPECT_EQ(module.Stop(SIGTERM), 0);
    }

    const fs::path file = directory.Path() / "precious";
    { std::ofstream(file) << "keep me"; }
    RunningModule refused({"--link", file.string(), "--quiet"});
    EXPECT_EQ(refused.ExitStatus(), 1);
    EXPECT_EQ(ReadWholeFile(file), "keep me");
}

TEST(LinkIntegration, DamagedStateFileStopsTheStart) {
    TemporaryDirectory directory;
    const fs::path state = directory.Path() / "module.state";
    { std::ofstream(state) << "something else\n"; }
    RunningModule module({"--link", (directory.Path() / "COM3").string(), "--state", state.string(), "--quiet"});
    EXPECT_EQ(module.ExitStatus(), 1);
    EXPECT_FALSE(fs::exists(fs::symlink_status(directory.Path() / "COM3")));
}

}  // namespace
}  // namespace vmodule::testing
