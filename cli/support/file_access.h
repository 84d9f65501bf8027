#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Far more than any start screen or picture we read; a bigger file is refused, not read.
inline constexpr size_t kMaxInputBytes = 1 << 20;

std::vector<uint8_t> ReadInputFile(const std::string& path);

// Written to a temporary file beside the target and renamed over it, so a failure leaves no
// partial output and an existing file stays as it was.
void WriteOutputFile(const std::string& path, const std::vector<uint8_t>& bytes);

// To the named file, or to standard output when the path is empty; byte for byte on every system.
void WriteOutput(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteOutput(const std::string& path, const std::string& text);
