#include "link/posix_serial_line.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

struct Speed {
    int32_t baud;
    speed_t constant;
};

constexpr Speed kSpeeds[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400},
#ifdef B460800
    {460800, B460800}, {500000, B500000}, {576000, B576000}, {921600, B921600}, {1000000, B1000000},
    {1152000, B1152000}, {1500000, B1500000}, {2000000, B2000000},
#endif
};

bool FindSpeed(int32_t baud, speed_t& constant) {
    for (const Speed& speed : kSpeeds) {
        if (speed.baud == baud) {
            constant = speed.constant;
            return true;
        }
    }
    return false;
}

// A device that vanished answers writes with one of these.
bool MeansGone(int error) { return error == EIO || error == ENXIO || error == ENODEV || error == EPIPE; }

void MakeRaw(termios& settings, speed_t speed, ParityMode parity) {
    cfmakeraw(&settings);
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    if (parity == ParityMode::Odd) settings.c_cflag |= PARENB | PARODD;
    if (parity == ParityMode::Even) settings.c_cflag |= PARENB;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
}

}  // namespace

std::string DescribeFailure(const LineFailure& failure) {
    switch (failure.kind) {
        case LineFailure::None: return "ok";
        case LineFailure::CannotOpen: return std::string("cannot open: ") + std::strerror(failure.error);
        case LineFailure::Busy: return "busy";
        case LineFailure::NotATerminal: return "cannot open: not a serial device";
        case LineFailure::UnsupportedSpeed:
            return "unsupported speed " + std::to_string(failure.baudRate);
        case LineFailure::SetupFailed: return std::string("cannot set up the line: ") + std::strerror(failure.error);
        case LineFailure::WriteFailed: return std::string("write failed: ") + std::strerror(failure.error);
        case LineFailure::Gone: return std::string("device gone: ") + std::strerror(failure.error);
    }
    return "failed";
}

int32_t PosixSerialLine::Refuse(LineFailure::Kind kind, int error, int32_t result) {
    failure_.kind = kind;
    failure_.error = error;
    reason_ = DescribeFailure(failure_);
    Close();
    return result;
}

int32_t PosixSerialLine::Open(const char* name, int32_t baudRate, ParityMode parity) {
    Close();
    failure_ = {};
    failure_.baudRate = baudRate;
    reason_.clear();
    written_ = 0;
    if (name == nullptr) {
        reason_ = "no port name";
        return kOpenNoName;
    }
    speed_t speed;
    if (!FindSpeed(baudRate, speed)) return Refuse(LineFailure::UnsupportedSpeed, 0, kOpenStateFailed);

    // Non-blocking only for the open itself, which could otherwise wait for a carrier.
    fd_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        return Refuse(error == EBUSY ? LineFailure::Busy : LineFailure::CannotOpen, error, kOpenPortFailed);
    }
    if (!isatty(fd_)) return Refuse(LineFailure::NotATerminal, ENOTTY, kOpenPortFailed);
    // Locked before TIOCEXCL: whoever holds the lock owns that flag too, and Close clears it.
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        return Refuse(error == EWOULDBLOCK ? LineFailure::Busy : LineFailure::CannotOpen, error, kOpenPortFailed);
    }
    if (ioctl(fd_, TIOCEXCL) != 0) return Refuse(LineFailure::SetupFailed, errno, kOpenStateFailed);
    exclusive_ = true;

    termios settings{};
    if (tcgetattr(fd_, &settings) != 0) return Refuse(LineFailure::SetupFailed, errno, kOpenStateFailed);
    MakeRaw(settings, speed, parity);
    if (tcsetattr(fd_, TCSANOW, &settings) != 0) return Refuse(LineFailure::SetupFailed, errno, kOpenStateFailed);
    // tcsetattr succeeds when any part of the change took; a driver may keep its old speed.
    termios applied{};
    if (tcgetattr(fd_, &applied) != 0) return Refuse(LineFailure::SetupFailed, errno, kOpenStateFailed);
    if (cfgetospeed(&applied) != speed || (applied.c_cflag & CSIZE) != CS8) {
        return Refuse(LineFailure::UnsupportedSpeed, 0, kOpenStateFailed);
    }
    const int flags = fcntl(fd_, F_GETFL);
    if (flags < 0 || fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return Refuse(LineFailure::SetupFailed, errno, kOpenStateFailed);
    }
    return kOpenOk;
}

void PosixSerialLine::Fail(int error) {
    if (Failed()) return;
    failure_.kind = MeansGone(error) ? LineFailure::Gone : LineFailure::WriteFailed;
    failure_.error = error;
    reason_ = DescribeFailure(failure_);
}

size_t PosixSerialLine::WriteAll(const uint8_t* bytes, size_t count) {
    // After one failure nothing more goes out: a byte after a gap would be read as part of a command.
    if (fd_ < 0 || Failed()) return 0;
    const size_t asked = count;
    while (count > 0) {
        const ssize_t n = ::write(fd_, bytes, count);
        if (n > 0) {
            bytes += n;
            count -= static_cast<size_t>(n);
            written_ += static_cast<uint64_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            Fail(errno);
            return asked - count;
        }
        pollfd ready{fd_, POLLOUT, 0};
        if (poll(&ready, 1, -1) < 0 && errno != EINTR) {
            Fail(errno);
            return asked - count;
        }
        if (ready.revents & (POLLHUP | POLLERR | POLLNVAL)) {
            Fail(EIO);
            return asked - count;
        }
    }
    return asked;
}

bool PosixSerialLine::WriteByte(uint32_t value) {
    const uint8_t byte = static_cast<uint8_t>(value);
    return WriteAll(&byte, 1) == 1;
}

uint32_t PosixSerialLine::Write(const uint8_t* bytes, uint32_t count) {
    return static_cast<uint32_t>(WriteAll(bytes, count));
}

bool PosixSerialLine::Drain() {
    if (fd_ < 0 || Failed()) return false;
    while (tcdrain(fd_) != 0) {
        if (errno == EINTR) continue;
        Fail(errno);
        return false;
    }
    return true;
}

void PosixSerialLine::Close() {
    if (fd_ < 0) return;
    if (!Failed()) Drain();
    // The flag belongs to the device, not to this descriptor: it would outlive us while
    // another program keeps the device open.
    if (exclusive_) ioctl(fd_, TIOCNXCL);
    exclusive_ = false;
    ::close(fd_);
    fd_ = -1;
}
