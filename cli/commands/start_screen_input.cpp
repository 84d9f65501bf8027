#include "cli/commands/start_screen_input.h"

#include "cli/commands/screen_options.h"
#include "cli/support/file_access.h"
#include "document/built_in_glyphs.h"

ExactStartScreen LoadStartScreenFile(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadInputFile(path);
    return ReadExactStartScreen(bytes.data(), bytes.size(), kBuiltInGlyphs);
}

ScreenDocument StartingScreen(const std::string& from, const std::string& geometry, uint32_t rows) {
    return from.empty() ? FreshScreen(geometry, rows) : LoadStartScreenFile(from).doc;
}

void SaveStartScreenFile(const std::string& path, const ScreenDocument& doc) {
    WriteOutputFile(path, WriteExactStartScreen(WholeStartScreen(doc)));
}
