#pragma once
#include <string>

#include "document/exact_start_screen.h"

// The readable, diffable form of a start-screen file; every file of 452 bytes or more comes
// back byte for byte from its JSON.
std::string StartScreenToJson(const ExactStartScreen& file);

// Refuses, with FormatError naming `source` and the line and column or the field, anything
// that is not such a JSON.
ExactStartScreen StartScreenFromJson(const std::string& json, const std::string& source);
