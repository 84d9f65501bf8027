#pragma once
#include <stdexcept>
#include <string>

// What scripts may rely on.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// The work could not be done; the message names the file and what is wrong with it.
class CommandFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An argument that no file could make right.
class UsageFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
