#include "cli/start_screen_input.h"

#include "cli/file_access.h"
#include "document/built_in_glyphs.h"

ExactStartScreen LoadStartScreenFile(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadInputFile(path);
    return ReadExactStartScreen(bytes.data(), bytes.size(), kBuiltInGlyphs);
}
