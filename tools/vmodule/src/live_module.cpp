#include "tools/vmodule/src/live_module.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <memory>

#include <poll.h>
#include <unistd.h>

#include "document/file_replacement.h"
#include "tools/vmodule/src/pty_link.h"
#include "tools/vmodule/src/signal_pipe.h"
#include "tools/vmodule/src/state_dump.h"
#include "tools/vmodule/src/state_file.h"
#include "tools/vmodule/src/terminal_view.h"

namespace vmodule {

namespace {

// The editor pauses at most 150 ms inside a transfer; a command still open
// after a full second of silence belongs to a sender that went away.
constexpr int kAbandonAfterMilliseconds = 1000;

class Publisher {
public:
    Publisher(const Options& options, const ModuleInterpreter& module)
        : options_(options), savedRevision_(module.StoreRevision()) {}

    void Publish(const ModuleInterpreter& module) {
        if (options_.state && module.StoreRevision() != savedRevision_) {
            if (SaveStateFile(*options_.state, module.Store(), module.Geometry()))
                savedRevision_ = module.StoreRevision();
            else
                WarnOnce(stateWarned_, "cannot write the state file " + options_.state->string());
        }
        std::string reason;
        if (options_.dumpTo && !WriteFileReplacing(options_.dumpTo->string(), FormatDump(module), reason))
            WarnOnce(dumpWarned_, "cannot write the dump file " + options_.dumpTo->string() + ": " + reason);
    }

private:
    static void WarnOnce(bool& warned, const std::string& message) {
        if (!warned) std::cerr << "vmodule: " << message << "\n";
        warned = true;
    }

    const Options& options_;
    std::uint64_t savedRevision_;
    bool stateWarned_ = false;
    bool dumpWarned_ = false;
};

enum class LineStatus { Data, Nothing, Failed };

LineStatus ReadLine(int descriptor, ModuleInterpreter& module) {
    std::array<unsigned char, 4096> buffer{};
    const ssize_t count = read(descriptor, buffer.data(), buffer.size());
    if (count > 0) {
        module.Feed(std::span(buffer.data(), static_cast<std::size_t>(count)));
        return LineStatus::Data;
    }
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return LineStatus::Nothing;
    return LineStatus::Failed;
}

}  // namespace

int RunLiveModule(const Options& options, ModuleInterpreter& module, FontGlyphs font) {
    std::signal(SIGPIPE, SIG_IGN);
    SignalPipe signals{SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGWINCH};
    if (!signals.Ok()) {
        std::cerr << "vmodule: cannot set up signal handling\n";
        return 1;
    }
    std::string error;
    const std::unique_ptr<PtyLink> link = PtyLink::Open(*options.link, error);
    if (!link) {
        std::cerr << "vmodule: " << error << "\n";
        return 1;
    }
    const std::string caption = "QV5 " + GeometryName(module.Geometry()) + " on " + link->SlaveName();
    std::cerr << "vmodule: " << link->LinkPath().string() << " -> " << link->SlaveName() << "\n";

    Publisher publisher(options, module);
    publisher.Publish(module);
    std::unique_ptr<TerminalView> view;
    if (!options.quiet) {
        view = std::make_unique<TerminalView>(font, options.style, caption, options.note);
        view->Draw(module);
    }

    for (;;) {
        std::array<pollfd, 2> waits{{{link->MasterDescriptor(), POLLIN, 0}, {signals.ReadDescriptor(), POLLIN, 0}}};
        const int ready = poll(waits.data(), waits.size(), module.CommandIncomplete() ? kAbandonAfterMilliseconds : -1);
        if (ready < 0) {
            if (errno == EINTR) continue;
            std::cerr << "vmodule: poll failed: " << std::strerror(errno) << "\n";
            return 1;
        }
        if (ready == 0) {
            module.AbandonIncompleteCommand();
            publisher.Publish(module);
            continue;
        }
        while (const auto signal = signals.TakeSignal()) {
            if (*signal == SIGUSR1) {
                module.PowerCycle();
                publisher.Publish(module);
                if (view) view->Draw(module);
            } else if (*signal == SIGWINCH) {
                if (view) view->Resized(module);
            } else {
                return 0;
            }
        }
        if (waits[0].revents == 0) continue;
        switch (ReadLine(link->MasterDescriptor(), module)) {
            case LineStatus::Data:
                publisher.Publish(module);
                if (view) view->Draw(module);
                break;
            case LineStatus::Nothing:
                break;
            case LineStatus::Failed:
                std::cerr << "vmodule: the serial line failed: " << std::strerror(errno) << "\n";
                return 1;
        }
    }
}

}  // namespace vmodule
