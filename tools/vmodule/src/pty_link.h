#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "tools/vmodule/src/session_keeper.h"

namespace vmodule {

// A pseudo-terminal pair in raw mode whose slave is published as a symlink.
// The slave stays open here too, so the line never hangs up between writers,
// and a session of its own holds it as controlling terminal.
class PtyLink {
public:
    // Null with error set when the pty cannot be made or the path is taken by
    // something other than a symlink.
    static std::unique_ptr<PtyLink> Open(const std::filesystem::path& linkPath, std::string& error);
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

    int MasterDescriptor() const { return master_; }
    const std::string& SlaveName() const { return slaveName_; }
    const std::filesystem::path& LinkPath() const { return linkPath_; }

private:
    PtyLink() = default;

    int master_ = -1;
    int slave_ = -1;
    std::string slaveName_;
    std::filesystem::path linkPath_;
    bool linked_ = false;
    std::unique_ptr<SessionKeeper> keeper_;
};

}  // namespace vmodule
