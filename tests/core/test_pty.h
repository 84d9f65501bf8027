#pragma once
// A pseudo-terminal standing for a serial device: the code under test opens `device`, the test
// reads what arrives at the far end and can close that end to make the device go away.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

struct TestPty {
    // Neither end may leak into a program under test, or closing the far end here would not close it.
    TestPty() {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        grantpt(master);
        unlockpt(master);
        device = ptsname(master);
        // Held open, as a real device stays, and raw, so the far end reads nothing but the bytes.
        slave = open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios settings{};
        tcgetattr(slave, &settings);
        cfmakeraw(&settings);
        tcsetattr(slave, TCSANOW, &settings);
    }
    ~TestPty() {
        CloseFarEnd();
        close(slave);
    }
    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;

    void CloseFarEnd() {
        if (master >= 0) close(master);
        master = -1;
    }

    // Up to `count` bytes, as long as they keep coming within the wait.
    std::vector<uint8_t> Read(size_t count, int waitMs = 15000) {
        std::vector<uint8_t> bytes;
        while (bytes.size() < count) {
            pollfd ready{master, POLLIN, 0};
            if (poll(&ready, 1, waitMs) <= 0) break;
            uint8_t chunk[256];
            const size_t wanted = count - bytes.size() < sizeof chunk ? count - bytes.size() : sizeof chunk;
            const ssize_t n = read(master, chunk, wanted);
            if (n <= 0) break;
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
        return bytes;
    }

    int master = -1;
    int slave = -1;
    std::string device;
};
