#include "tools/vmodule/src/pty_link.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace vmodule {

namespace {

std::string SystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

void MakeRaw(termios& settings) {
    settings.c_iflag &=
        ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
    settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | HUPCL);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
}

bool PointsTo(const std::filesystem::path& link, const std::string& target) {
    std::error_code error;
    return std::filesystem::is_symlink(std::filesystem::symlink_status(link, error)) &&
           std::filesystem::read_symlink(link, error).string() == target && !error;
}

// Replaces an existing symlink in one step, so a reader never finds the path missing.
bool PublishSymlink(const std::filesystem::path& link, const std::string& target, std::string& error) {
    std::error_code status;
    const auto existing = std::filesystem::symlink_status(link, status);
    if (std::filesystem::exists(existing) && !std::filesystem::is_symlink(existing)) {
        error = link.string() + " exists and is not a symlink; not replacing it";
        return false;
    }
    std::filesystem::path temporary = link;
    temporary += ".vmodule" + std::to_string(getpid());
    std::filesystem::remove(temporary, status);
    if (symlink(target.c_str(), temporary.c_str()) != 0) {
        error = SystemError("cannot create a symlink beside " + link.string());
        return false;
    }
    if (rename(temporary.c_str(), link.c_str()) != 0) {
        error = SystemError("cannot place the symlink " + link.string());
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<PtyLink> PtyLink::Open(const std::filesystem::path& linkPath, std::string& error) {
    std::unique_ptr<PtyLink> link(new PtyLink);
    link->linkPath_ = linkPath;
    link->master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (link->master_ < 0 || grantpt(link->master_) != 0 || unlockpt(link->master_) != 0) {
        error = SystemError("cannot open a pseudo-terminal");
        return nullptr;
    }
    const char* name = ptsname(link->master_);
    if (name == nullptr) {
        error = SystemError("cannot name the pseudo-terminal");
        return nullptr;
    }
    link->slaveName_ = name;
    link->slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (link->slave_ < 0) {
        error = SystemError("cannot open " + link->slaveName_);
        return nullptr;
    }
    termios settings{};
    if (tcgetattr(link->slave_, &settings) != 0) {
        error = SystemError("cannot read the line settings");
        return nullptr;
    }
    MakeRaw(settings);
    if (tcsetattr(link->slave_, TCSANOW, &settings) != 0) {
        error = SystemError("cannot set the line to raw mode");
        return nullptr;
    }
    const int flags = fcntl(link->master_, F_GETFL);
    if (flags < 0 || fcntl(link->master_, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = SystemError("cannot make the pseudo-terminal non-blocking");
        return nullptr;
    }
    link->keeper_ = SessionKeeper::Start(link->slaveName_, error);
    if (!link->keeper_) return nullptr;
    if (!PublishSymlink(linkPath, link->slaveName_, error)) return nullptr;
    link->linked_ = true;
    return link;
}

PtyLink::~PtyLink() {
    // Someone else may have taken the path over meanwhile; leave theirs alone.
    if (linked_ && PointsTo(linkPath_, slaveName_)) unlink(linkPath_.c_str());
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
}

}  // namespace vmodule
