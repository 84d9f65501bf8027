#include <gtest/gtest.h>

#include <algorithm>

#include "cli_run.h"
#include "document/built_in_glyphs.h"

namespace {

std::vector<uint8_t> Header(uint8_t low) { return {low, 0x80, 0x00, 0x00}; }

std::vector<uint8_t> Text(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// A file as the editor saves it: header, the given user characters, then the text.
std::vector<uint8_t> File(uint8_t low, const uint8_t* characters, const std::vector<uint8_t>& text) {
    std::vector<uint8_t> file = Header(low);
    file.insert(file.end(), characters, characters + 448);
    file.insert(file.end(), text.begin(), text.end());
    return file;
}

TEST(NewCommand, BlankScreensOfEachGeometryHoldTheFontsUserCharacters) {
    struct Case {
        std::vector<std::string> size;
        uint8_t low;
        size_t cells;
    };
    for (const Case& c : {Case{{"--geometry", "2x20"}, 0x08, 40}, Case{{"--geometry", "4x20"}, 0x0A, 80},
                          Case{{"--geometry", "2x16"}, 0x09, 32}, Case{{"--geometry", "2x16", "--rows", "4"}, 0x09, 64}}) {
        ScratchFolder folder;
        std::vector<std::string> arguments{"new", "-o", folder.Path("a.kss")};
        arguments.insert(arguments.end(), c.size.begin(), c.size.end());
        const CliResult result = RunCli(arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(ReadBytes(folder.Path("a.kss")), File(c.low, kBuiltInGlyphs, std::vector<uint8_t>(c.cells, 0x20)));
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"a.kss"});
    }
}

TEST(NewCommand, LinesArePaddedAndEscapesAndModuleCharactersBecomeTheirBytes) {
    ScratchFolder folder;
    const CliResult result = RunCli({"new", "--geometry", "2x16", "--line", "2=\\0\\7\\xFE\xC2\xA5\xE2\x86\x92\xEF\xBD\xB1",
                                     "--line", "1=v1.2", "-o", folder.Path("a.kss")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::vector<uint8_t> text = Text("v1.2            ");
    const std::vector<uint8_t> second{0x00, 0x07, 0xFE, 0x5C, 0x7E, 0xB1, 0x20, 0x20,
                                      0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
    text.insert(text.end(), second.begin(), second.end());
    EXPECT_EQ(ReadBytes(folder.Path("a.kss")), File(0x09, kBuiltInGlyphs, text));
}

TEST(NewCommand, CopyFromAnotherFileReplacesOnlyTheGivenRowsAndCharacters) {
    ScratchFolder folder;
    std::vector<uint8_t> characters(448, 1);
    std::vector<uint8_t> original = File(0x0A, characters.data(), std::vector<uint8_t>(80, 'x'));
    WriteBytes(folder.Path("in.kss"), original);
    const CliResult result =
        RunCli({"new", "--from", folder.Path("in.kss"), "--line", "3=SN 0042", "--char",
                "6=#...#.#.#...#...#.#.#...#" + std::string(15, '.'), "-o", folder.Path("out.kss")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::vector<uint8_t> expected = original;
    const std::vector<uint8_t> row = Text("SN 0042             ");
    std::copy(row.begin(), row.end(), expected.begin() + 452 + 40);
    // Character 6 as 7-byte rows: an X over five rows, the hidden columns dark.
    const uint8_t x[8][7] = {{1, 0, 0, 0, 1, 0, 0}, {0, 1, 0, 1, 0, 0, 0}, {0, 0, 1, 0, 0, 0, 0},
                             {0, 1, 0, 1, 0, 0, 0}, {1, 0, 0, 0, 1, 0, 0}, {}, {}, {}};
    std::copy(&x[0][0], &x[0][0] + 56, expected.begin() + 4 + 6 * 56);
    EXPECT_EQ(ReadBytes(folder.Path("out.kss")), expected);
}

TEST(NewCommand, RefusalsLeaveNoOutputAndKeepAnExistingFile) {
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string message;
    };
    const std::vector<Case> cases{
        {{"--geometry", "2x20", "--line", "1=123456789012345678901"}, 1, "out.kss: row 1: 21 characters do not fit in 20 columns"},
        {{"--geometry", "2x20", "--line", "3=x"}, 1, "out.kss: row 3: the screen has 2 rows"},
        {{"--geometry", "2x16", "--line", "3=x"}, 1, "out.kss: row 3: the screen has 2 rows"},
        {{"--geometry", "4x20", "--line", "0=x"}, 2, "--line 0=x: expected N=TEXT"},
        {{"--geometry", "4x20", "--line", "1x"}, 2, "--line 1x: expected N=TEXT"},
        {{"--geometry", "4x20", "--line", "1=a\\qb"}, 2, "a backslash begins no escape"},
        {{"--geometry", "4x20", "--line", "1=\xC3\xA9"}, 2, "U+00E9 is not in the module's character set"},
        {{"--geometry", "4x20", "--char", "8=" + std::string(40, '#')}, 2, "--char 8="},
        {{"--geometry", "4x20", "--char", "1=" + std::string(39, '#')}, 2, "--char 1="},
        {{"--geometry", "4x20", "--char", "1=" + std::string(39, '#') + "o"}, 2, "--char 1="},
        {{"--geometry", "2x20", "--rows", "4"}, 2, "--rows 4: a 2x20 screen has 2 rows"},
        {{"--geometry", "3x20"}, 2, "--geometry"},
        {{"--line", "1=x"}, 2, "give --geometry or --from"},
        {{"--from", "missing.kss"}, 1, "missing.kss: cannot open"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        WriteBytes(folder.Path("out.kss"), {1, 2, 3});
        std::vector<std::string> arguments{"new", "-o", folder.Path("out.kss")};
        for (const std::string& a : c.arguments) arguments.push_back(a == "missing.kss" ? folder.Path(a) : a);
        const CliResult result = RunCli(arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.back();
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(ReadBytes(folder.Path("out.kss")), (std::vector<uint8_t>{1, 2, 3}));
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.kss"});
    }
}

TEST(NewCommand, OutputIntoAMissingFolderFailsWithTheFileNamed) {
    ScratchFolder folder;
    const std::string target = folder.Path("no/such/folder/out.kss");
    const CliResult result = RunCli({"new", "--geometry", "2x20", "-o", target});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(target + ": cannot create"), std::string::npos) << result.err;
    EXPECT_TRUE(folder.Names().empty());
}

}  // namespace
