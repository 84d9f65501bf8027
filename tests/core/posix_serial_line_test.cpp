#include "link/posix_serial_line.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/core/test_pty.h"

namespace {

int DeviceExclusive(const std::string& device) {
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY);
    int exclusive = -1;
    ioctl(fd, TIOCGEXCL, &exclusive);
    close(fd);
    return exclusive;
}

TEST(PosixSerialLine, SendsEveryByteRawAtTheRequestedSpeed) {
    TestPty pty;
    PosixSerialLine line;
    ASSERT_EQ(line.Open(pty.device.c_str(), 19200, ParityMode::None), kOpenOk);

    termios settings{};
    const int probe = open(pty.device.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(tcgetattr(probe, &settings), 0);
    close(probe);
    EXPECT_EQ(cfgetospeed(&settings), B19200);
    EXPECT_EQ(settings.c_cflag & (CSIZE | CSTOPB | PARENB | CRTSCTS | CLOCAL), tcflag_t{CS8 | CLOCAL});
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), 0u);

    // Bytes a cooked line would change: CR, LF, the flow-control characters, the command prefix.
    const std::vector<uint8_t> sent{0x0D, 0x0A, 0x11, 0x13, 0xFE, 0x00, 0xFF, 0x7F, 0x03, 0x04};
    line.WriteByte(0x1FE);
    line.Write(sent.data(), static_cast<uint32_t>(sent.size()));
    EXPECT_TRUE(line.Drain());
    std::vector<uint8_t> expected{0xFE};
    expected.insert(expected.end(), sent.begin(), sent.end());
    EXPECT_EQ(pty.Read(expected.size()), expected);
    EXPECT_EQ(line.BytesWritten(), 11u);
    EXPECT_FALSE(line.Failed());
}

TEST(PosixSerialLine, HoldsTheDeviceExclusivelyAndLetsGoOnClose) {
    TestPty pty;
    PosixSerialLine first;
    ASSERT_EQ(first.Open(pty.device.c_str(), 19200, ParityMode::None), kOpenOk);
    EXPECT_EQ(DeviceExclusive(pty.device), 1);

    PosixSerialLine second;
    EXPECT_EQ(second.Open(pty.device.c_str(), 19200, ParityMode::None), kOpenPortFailed);
    EXPECT_EQ(DescribeFailure(second.Failure()), "busy");
    EXPECT_FALSE(second.IsOpen());
    // The refused open left the holder's hold as it was.
    EXPECT_EQ(DeviceExclusive(pty.device), 1);
    first.WriteByte('A');
    EXPECT_EQ(pty.Read(1), std::vector<uint8_t>{'A'});

    first.Close();
    EXPECT_EQ(DeviceExclusive(pty.device), 0);
    ASSERT_EQ(second.Open(pty.device.c_str(), 19200, ParityMode::None), kOpenOk);
    second.WriteByte('B');
    EXPECT_EQ(pty.Read(1), std::vector<uint8_t>{'B'});
}

TEST(PosixSerialLine, RefusesWhatIsNotASerialDeviceWithTheReason) {
    PosixSerialLine line;
    EXPECT_EQ(line.Open("/nonexistent/ttyUSB9", 19200, ParityMode::None), kOpenPortFailed);
    EXPECT_EQ(DescribeFailure(line.Failure()), "cannot open: No such file or directory");

    EXPECT_EQ(line.Open("/dev/null", 19200, ParityMode::None), kOpenPortFailed);
    EXPECT_EQ(DescribeFailure(line.Failure()), "cannot open: not a serial device");

    char folder[] = "/tmp/brevant-line-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/plain";
    close(open(file.c_str(), O_CREAT | O_WRONLY, 0600));
    EXPECT_EQ(line.Open(file.c_str(), 19200, ParityMode::None), kOpenPortFailed);
    EXPECT_EQ(DescribeFailure(line.Failure()), "cannot open: not a serial device");
    EXPECT_EQ(line.Open(folder, 19200, ParityMode::None), kOpenPortFailed);
    EXPECT_EQ(DescribeFailure(line.Failure()), "cannot open: Is a directory");
    EXPECT_STREQ(line.FailureReason(), "cannot open: Is a directory");
    unlink(file.c_str());
    rmdir(folder);

    EXPECT_EQ(line.Open(nullptr, 19200, ParityMode::None), kOpenNoName);
    EXPECT_FALSE(line.IsOpen());
    EXPECT_FALSE(line.WriteByte('x'));
    EXPECT_EQ(line.BytesWritten(), 0u);
}

TEST(PosixSerialLine, RefusesASpeedByNameWithoutTouchingTheDevice) {
    TestPty pty;
    PosixSerialLine holder;
    ASSERT_EQ(holder.Open(pty.device.c_str(), 9600, ParityMode::None), kOpenOk);
    PosixSerialLine line;
    for (int32_t speed : {12345, 0, -19200, 19201}) {
        EXPECT_EQ(line.Open(pty.device.c_str(), speed, ParityMode::None), kOpenStateFailed);
        EXPECT_EQ(DescribeFailure(line.Failure()), "unsupported speed " + std::to_string(speed));
    }
    EXPECT_EQ(DeviceExclusive(pty.device), 1);
    for (int32_t speed : {1200, 9600, 38400, 115200}) {
        holder.Close();
        EXPECT_EQ(holder.Open(pty.device.c_str(), speed, ParityMode::None), kOpenOk) << speed;
    }
}

TEST(PosixSerialLine, DeviceThatGoesAwayFailsTheWriteAndNothingFollows) {
    TestPty pty;
    PosixSerialLine line;
    ASSERT_EQ(line.Open(pty.device.c_str(), 19200, ParityMode::None), kOpenOk);
    const uint8_t head[3] = {0xFE, 0xC2, 0x00};
    EXPECT_EQ(line.Write(head, 3), 3u);
    EXPECT_STREQ(line.FailureReason(), "");
    EXPECT_EQ(pty.Read(3), std::vector<uint8_t>(head, head + 3));
    pty.CloseFarEnd();

    EXPECT_FALSE(line.WriteByte(0x1F));
    EXPECT_TRUE(line.Failed());
    EXPECT_EQ(DescribeFailure(line.Failure()), "device gone: Input/output error");
    EXPECT_STREQ(line.FailureReason(), "device gone: Input/output error");
    EXPECT_EQ(line.BytesWritten(), 3u);
    EXPECT_EQ(line.Write(head, 3), 0u);
    EXPECT_FALSE(line.Drain());
    EXPECT_EQ(line.BytesWritten(), 3u);
    line.Close();
    EXPECT_FALSE(line.IsOpen());
}

void Interrupted(int) {}

// Far more than a pseudo-terminal buffers, written while signals keep interrupting the
// writer: the kernel then takes part of a write, or none of it, and every byte must still
// arrive once and in order.
TEST(PosixSerialLine, PartialAndInterruptedWritesLoseNoByte) {
    TestPty pty;
    PosixSerialLine line;
    ASSERT_EQ(line.Open(pty.device.c_str(), 115200, ParityMode::None), kOpenOk);
    struct sigaction action {};
    action.sa_handler = Interrupted;  // no SA_RESTART: the write returns early
    struct sigaction previous {};
    sigaction(SIGUSR2, &action, &previous);

    std::vector<uint8_t> sent(256 * 1024);
    for (size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<uint8_t>(i * 7 + i / 251);
    std::atomic<bool> done{false};
    std::thread writer([&] {
        line.Write(sent.data(), static_cast<uint32_t>(sent.size()));
        done = true;
    });
    const pthread_t writerThread = writer.native_handle();
    std::vector<uint8_t> received;
    while (received.size() < sent.size()) {
        if (!done) pthread_kill(writerThread, SIGUSR2);
        pollfd ready{pty.master, POLLIN, 0};
        if (poll(&ready, 1, 5000) <= 0) break;
        uint8_t chunk[512];
        const ssize_t n = read(pty.master, chunk, sizeof chunk);
        if (n <= 0) break;
        received.insert(received.end(), chunk, chunk + n);
    }
    writer.join();
    sigaction(SIGUSR2, &previous, nullptr);
    EXPECT_FALSE(line.Failed()) << DescribeFailure(line.Failure());
    EXPECT_EQ(line.BytesWritten(), sent.size());
    ASSERT_EQ(received.size(), sent.size());
    EXPECT_TRUE(received == sent);
}

}  // namespace
