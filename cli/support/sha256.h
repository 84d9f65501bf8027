#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// SHA-256 (FIPS 180-4), fed in pieces.
class Sha256 {
public:
    Sha256();
    void Update(const uint8_t* data, size_t size);
    std::array<uint8_t, 32> Finish();
    // Lower-case hex of Finish().
    std::string FinishHex();

private:
    void Compress(const uint8_t* block);

    std::array<uint32_t, 8> state_;
    std::array<uint8_t, 64> block_{};
    size_t blockUsed_ = 0;
    uint64_t totalBytes_ = 0;
};
