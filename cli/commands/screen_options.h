#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "document/screen_document.h"

// "2x20", "2x16", "4x20": the values --geometry takes.
std::vector<std::string> GeometryChoices();

// A fresh editor's screen of the named geometry; `rows` (2 or 4, 0 for the default) counts for 2x16.
ScreenDocument FreshScreen(const std::string& geometry, uint32_t rows);

// --line N=TEXT: row N (from 1) becomes TEXT, written as in the JSON rows (escapes included).
struct LineOption {
    uint32_t row = 0;
    std::vector<uint8_t> text;
};

// A malformed option is a usage error.
LineOption ParseLineOption(const std::string& option);

// Every row or nothing; `target` names the file being made in the message of a row that does
// not exist or a text that does not fit.
void ApplyLineOptions(ScreenDocument& doc, const std::vector<std::string>& options, const std::string& target);

// --char N=PATTERN: user character N (0-7) becomes 40 dots, '#' lit and '.' dark, top row first.
void ApplyCharOptions(ScreenDocument& doc, const std::vector<std::string>& options);
