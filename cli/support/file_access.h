#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Far more than any start screen or picture we read; a bigger file is refused, not read.
inline constexpr size_t kMaxInputBytes = 1 << 20;

// "-" names standard input (and standard output for an output).
inline constexpr char kStandardStream[] = "-";

std::vector<uint8_t> ReadInputFile(const std::string& path);

// Written to a temporary file beside the target and renamed over it, so a failure leaves no
// partial output and an existing file stays as it was. "-", or no path while standard output
// is not a terminal, is standard output; no path on a terminal is a usage error, as such bytes
// would only garble it.
void WriteOutputFile(const std::string& path, const std::vector<uint8_t>& bytes);
// The same refusal, before any work is done.
void CheckOutputTarget(const std::string& path);

// To the named file, or to standard output when the path is empty; byte for byte on every system.
void WriteOutput(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteOutput(const std::string& path, const std::string& text);
