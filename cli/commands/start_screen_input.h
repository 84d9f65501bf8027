#pragma once
#include <string>

#include "document/exact_start_screen.h"

// The file read as a freshly started editor reads it, with everything needed to write it back.
ExactStartScreen LoadStartScreenFile(const std::string& path);

// What `new` and `logo` start from: the screen of --from when given, else a fresh one of
// --geometry (and --rows for 2x16).
ScreenDocument StartingScreen(const std::string& from, const std::string& geometry, uint32_t rows);

// The screen as the editor saves it, replacing the file.
void SaveStartScreenFile(const std::string& path, const ScreenDocument& doc);
