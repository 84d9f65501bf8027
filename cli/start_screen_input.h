#pragma once
#include <string>

#include "document/exact_start_screen.h"

// The file read as a freshly started editor reads it, with everything needed to write it back.
ExactStartScreen LoadStartScreenFile(const std::string& path);
