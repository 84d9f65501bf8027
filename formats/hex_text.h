#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class HexLetters { Lower, Upper };

// Two digits a byte, with `separator` between bytes unless it is '\0'.
std::string HexText(std::span<const uint8_t> bytes, HexLetters letters, char separator = '\0');

// 0-15 for a digit of either case, -1 for anything else.
int HexDigitValue(char digit);

// Byte pairs laid out as HexText writes them; false, with `out` cleared, for anything else.
bool ParseHex(std::string_view text, std::vector<uint8_t>& out, char separator = '\0');
