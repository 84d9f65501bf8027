#pragma once
#include <cstdint>
#include <string>
#include <vector>

inline constexpr char kSerialField[] = "{serial}";

// The --line options for the module at `index` in --port order: every {serial} in a text
// becomes first + index, as wide as `first` was written (00042 gives 00042, 00043, ...).
std::vector<std::string> LinesForModule(const std::vector<std::string>& lines, const std::string& first,
                                        size_t index);
// Every {serial} in a text becomes `serial`, as wide as `width` digits at least.
std::vector<std::string> LinesWithSerial(const std::vector<std::string>& lines, uint64_t serial, size_t width);

// Whether the text of a `N=TEXT` line holds the field.
bool HoldsSerial(const std::string& line);
