// The exported C and Arduino code compiled with the host's compilers and run: what it holds, or
// what it puts on a stand-in LCD, must be the file's characters and text.
#include <gtest/gtest.h>

#include <cstdlib>

#include "cli_run.h"

namespace {

// Text with every kind of byte a literal must escape: user characters, quote, backslash,
// question marks (trigraphs), digits after an escape, and bytes above 0x7F.
std::string AwkwardText() {
    std::string text = std::string("\0\"\\?" "?=\1" "7\xFF" "9\xA5?", 12);
    text += std::string("\x7F" "abc\x07" "\x08", 6);
    while (text.size() < 80) text += static_cast<char>(0x80 + text.size());
    return text;
}

std::vector<uint8_t> Characters() {
    std::vector<uint8_t> characters(448, 0);
    for (size_t i = 0; i < 448; ++i) characters[i] = (i % 7 < 5 && (i * 31) % 3 == 0) ? 1 : 0;
    characters[3] = 0x78;  // any non-zero byte is a lit dot for the module
    return characters;
}

// Row bytes of the characters above, worked out here: bit 4 is column 0.
std::vector<uint8_t> PackedRows(const std::vector<uint8_t>& characters) {
    std::vector<uint8_t> rows;
    for (size_t row = 0; row < 64; ++row) {
        uint8_t bits = 0;
        for (size_t column = 0; column < 5; ++column) bits = static_cast<uint8_t>(bits << 1 | (characters[row * 7 + column] != 0));
        rows.push_back(bits);
    }
    return rows;
}

std::string Build(const std::string& compiler, const std::string& source, const std::string& program) {
    const std::string command = compiler + " -std=" + (compiler == HOST_CC ? "c11" : "c++17") + " -o '" + program +
                                "' '" + source + "' 2>&1";
    return std::system(command.c_str()) == 0 ? "" : "compiling failed: " + command;
}

TEST(CodeExport, CHeaderCompilesToTheModulesRowBytesAndTheExactText) {
    ScratchFolder folder;
    const std::vector<uint8_t> characters = Characters();
    WriteBytes(folder.Path("a.kss"), ScreenFile(0x800A, characters, AwkwardText()));
    ASSERT_EQ(RunCli({"export", "--format", "c", folder.Path("a.kss"), "-o", folder.Path("screen.h")}).exitCode, 0);
    const std::string main = "#include <stdio.h>\n#include \"screen.h\"\nint main(void) {\n"
                             "  fwrite(start_screen_characters, 1, 64, stdout);\n"
                             "  for (int r = 0; r < START_SCREEN_ROWS; ++r) fwrite(start_screen_rows[r], 1, START_SCREEN_COLUMNS, stdout);\n"
                             "  return 0;\n}\n";
    WriteBytes(folder.Path("main.c"), std::vector<uint8_t>(main.begin(), main.end()));
    ASSERT_EQ(Build(HOST_CC, folder.Path("main.c"), folder.Path("main")), "");
    const CliResult run = [&] {
        const std::string command = "'" + folder.Path("main") + "' > '" + folder.Path("out") + "'";
        CliResult r;
        r.exitCode = std::system(command.c_str());
        return r;
    }();
    ASSERT_EQ(run.exitCode, 0);
    std::vector<uint8_t> expected = PackedRows(characters);
    const std::string text = AwkwardText();
    expected.insert(expected.end(), text.begin(), text.end());
    EXPECT_EQ(ReadBytes(folder.Path("out")), expected);
}

TEST(CodeExport, ArduinoFragmentPutsTheScreenOnALiquidCrystal) {
    ScratchFolder folder;
    const std::vector<uint8_t> characters = Characters();
    WriteBytes(folder.Path("a.kss"), ScreenFile(0x800A, characters, AwkwardText()));
    ASSERT_EQ(RunCli({"export", "--format", "arduino", folder.Path("a.kss"), "-o", folder.Path("sketch.h")}).exitCode, 0);
    // A stand-in for the library: it records the characters and writes the cells as a module would.
    const std::string main = R"(#include <cstdint>
#include <cstdio>
#include <cstring>
typedef uint8_t byte;
struct LiquidCrystal {
  byte characters[8][8] = {};
  byte cells[4][20];
  int row = -1, column = -1;
  void createChar(int code, byte* rows) { std::memcpy(characters[code & 7], rows, 8); }
  void setCursor(int c, int r) { column = c; row = r; }
  void write(byte b) { if (row >= 0 && column >= 0 && column < 20) cells[row][column++] = b; }
  void print(const char* text) { while (*text != 0) write(static_cast<byte>(*text++)); }
};
#include "sketch.h"
int main() {
  LiquidCrystal lcd;
  std::memset(lcd.cells, '#', sizeof lcd.cells);
  showStartScreen(lcd);
  std::fwrite(lcd.characters, 1, 64, stdout);
  std::fwrite(lcd.cells, 1, 80, stdout);
}
)";
    WriteBytes(folder.Path("main.cpp"), std::vector<uint8_t>(main.begin(), main.end()));
    ASSERT_EQ(Build(HOST_CXX, folder.Path("main.cpp"), folder.Path("main")), "");
    ASSERT_EQ(std::system(("'" + folder.Path("main") + "' > '" + folder.Path("out") + "'").c_str()), 0);
    std::vector<uint8_t> expected = PackedRows(characters);
    const std::string text = AwkwardText();
    expected.insert(expected.end(), text.begin(), text.end());
    EXPECT_EQ(ReadBytes(folder.Path("out")), expected);
}

}  // namespace
