#pragma once
#include <cstdint>

inline constexpr int32_t kDefaultPortNumber = 3;
inline constexpr int32_t kDefaultBaudRate = 19200;

struct LinkSettings {
    int32_t portNumber = 0;
    int32_t baudRate = 0;
};

inline constexpr LinkSettings kDefaultLinkSettings{kDefaultPortNumber, kDefaultBaudRate};
