#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "document/screen_document.h"

// A C header: the user characters as the row bytes the module receives, the rows as literals.
std::string StartScreenToC(const ScreenDocument& doc);

// A fragment for the Arduino LiquidCrystal library that shows the screen on a module.
std::string StartScreenToArduino(const ScreenDocument& doc);
