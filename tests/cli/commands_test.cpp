#include <gtest/gtest.h>

#include "brevant_version.h"
#include "cli_run.h"
#include "formats/png_image.h"

namespace {

std::vector<uint8_t> Characters(std::initializer_list<std::pair<size_t, uint8_t>> bytes) {
    std::vector<uint8_t> characters(448, 0);
    for (const auto& [at, value] : bytes) characters[at] = value;
    return characters;
}

TEST(InfoCommand, DescribesTheFileAndWhatTheEditorWouldDoWithIt) {
    ScratchFolder folder;
    // 2x16, header bytes 2-3 set, 2 rows, user characters 3 and 6 on the screen, 0xFE, 5 bytes after the text.
    const std::string text = std::string("Hi\3", 3) + std::string(13, ' ') + std::string("\6\xFE", 2) + std::string(14, ' ') + "tail!";
    WriteBytes(folder.Path("a.kss"), ScreenFile(0x00018009, Characters({{3 * 56 + 2, 1}, {5 * 56 + 5, 1}, {7 * 56, 2}}), text));
    const CliResult result = RunCli({"info", folder.Path("a.kss")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string expected =
        "file: " + folder.Path("a.kss") + ", 489 bytes\n"
        "geometry: 16 columns x 2 rows\n"
        "size code: 0x00018009, the known size 2x16\n"
        "rows:\n"
        "  1 |Hi\\3             |\n"
        "  2 |\\6\\xFE              |\n"
        "user characters on the screen: 3 6\n"
        "user characters not blank: 3 5 7\n"
        "notes:\n"
        "  - 5 bytes after the text are never read by the editor\n"
        "  - header bytes 2 and 3 are not zero: the editor ignores them and saves them as 00 00\n"
        "  - a 2x16 file does not record its rows; fewer than 516 bytes says 2, but an editor with 4 rows in force "
        "(after 4x20) asks for 64 text bytes and shows \"Error loading\"\n"
        "  - user character 5 has bytes in the hidden columns 5 and 6: the module never shows them, the editor's "
        "preview draws column 5 when lit\n"
        "  - user character 7 has pixel bytes other than 0 and 1: the module lights every non-zero byte, the "
        "editor's preview only 1 and 0x78\n"
        "  - row 2, column 2 holds 0xFE, the module's command prefix: a blank is sent in its place\n";
    EXPECT_EQ(result.out, expected);
}

TEST(InfoCommand, ShortTextAndUnknownSizeCode) {
    ScratchFolder folder;
    WriteBytes(folder.Path("a.kss"), ScreenFile(0x1234, {}, "abc"));
    const CliResult result = RunCli({"info", folder.Path("a.kss")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("geometry: 20 columns x 2 rows\nsize code: 0x00001234, no known size\n"), std::string::npos);
    EXPECT_NE(result.out.find("  1 |abc                 |\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("the text ends after 3 of 40 bytes: the editor shows \"Error loading\""), std::string::npos);
    EXPECT_NE(result.out.find("size code 0x1234 names no size"), std::string::npos);
}

TEST(Commands, MissingFilesAndBadArgumentsAreReportedWithTheirExitCodes) {
    ScratchFolder folder;
    const std::string missing = folder.Path("missing.kss");
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        {{"info", missing}, 1, missing + ": cannot open: No such file or directory"},
        {{"show", missing}, 1, missing + ": cannot open"},
        {{"export", missing}, 1, missing + ": cannot open"},
        {{"render", missing, "-o", folder.Path("a.png")}, 1, missing + ": cannot open"},
        {{"import", missing, "-o", folder.Path("a.kss")}, 1, missing + ": cannot open"},
        {{"info", folder.Path("")}, 1, "is a folder, not a file"},
        {{"export", "--format", "pdf", missing}, 2, "--format: pdf not in {json,c,arduino,bytes}"},
        {{"render", missing, "-o", folder.Path("a.png"), "--scale", "9"}, 2, "--scale"},
        {{"import", missing}, 1, missing + ": cannot open"},
        {{"store", missing, "--port", missing, "--baud", "abc"}, 2, "brevant-cli: --baud: expected a whole number"},
        {{"mirror", missing, "--port", missing, "--baud", "-5"}, 2, "brevant-cli: --baud: expected a whole number"},
        {{"frobnicate", "x"}, 2, "frobnicate: no such command; the commands are info, export, import, new, show, render, logo"},
        {{}, 2, "A subcommand is required"},
    };
    for (const auto& c : cases) {
        const CliResult result = RunCli(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_TRUE(folder.Names().empty());
}

TEST(Commands, BothProgramsSayTheProjectsVersion) {
    const CliResult cli = RunCli({"--version"});
    EXPECT_EQ(cli.exitCode, 0);
    EXPECT_EQ(cli.out, "brevant-cli " BREVANT_VERSION "\n");
    ScratchFolder folder;
    const std::string command = std::string("'") + VMODULE + "' --version >'" + folder.Path("out") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadText(folder.Path("out")), "vmodule " BREVANT_VERSION "\n");
}

TEST(Commands, EverySubcommandsHelpNamesItsChoicesInWordsItsExitCodesAndAnExample) {
    for (const std::string command : {"info", "show", "export", "import", "new", "render", "logo", "mirror", "store"}) {
        const CliResult result = RunCli({command, "--help"});
        EXPECT_EQ(result.exitCode, 0) << command;
        EXPECT_NE(result.out.find("Usage: "), std::string::npos) << command;
        EXPECT_NE(result.out.find("Exit codes: 0 done, 1 the work failed"), std::string::npos) << command;
        EXPECT_NE(result.out.find("Example:\n  brevant-cli " + command + " "), std::string::npos) << command;
        for (const char* library : {"ENUM", "TEXT:{", "INT:", "->", " in {"}) {
            EXPECT_EQ(result.out.find(library), std::string::npos) << command << " says " << library << "\n" << result.out;
        }
    }
    EXPECT_NE(RunCli({"show", "--help"}).out.find("--style blocks|half|quadrants"), std::string::npos);
    EXPECT_NE(RunCli({"export", "--help"}).out.find("--format json|c|arduino|bytes"), std::string::npos);
}

TEST(ExportCommand, BytesAreWhatWriteToDisplaySends) {
    ScratchFolder folder;
    std::string text = "Serial \xFE";
    text += std::string(32, '.');
    text[39] = 7;
    WriteBytes(folder.Path("a.kss"), ScreenFile(0x8008, Characters({{0, 1}, {4, 1}, {7 * 56 + 7 * 7 + 2, 9}}), text));
    const CliResult result = RunCli({"export", "--format", "bytes", folder.Path("a.kss")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::vector<uint8_t> expected;
    for (uint8_t code = 0; code < 8; ++code) {
        expected.insert(expected.end(), {0xFE, 0xC2, code});
        for (int row = 0; row < 8; ++row) {
            expected.push_back(code == 0 && row == 0 ? 0x11 : code == 7 && row == 7 ? 0x04 : 0x00);
        }
    }
    expected.insert(expected.end(), {0xFE, 0x40});
    const std::string sent = "Serial  " + std::string(31, '.') + "\x07";
    expected.insert(expected.end(), sent.begin(), sent.end());
    EXPECT_EQ(std::vector<uint8_t>(result.out.begin(), result.out.end()), expected);
}

TEST(ExportCommand, JsonToAFileEqualsStandardOutputAndImportGivesTheFileBack) {
    ScratchFolder folder;
    std::string text(80, ' ');
    for (int i = 0; i < 80; ++i) text[i] = static_cast<char>(i * 13 + 200);
    const std::vector<uint8_t> original = ScreenFile(0xFFFF800A, Characters({{9, 3}, {60, 1}, {447, 0x78}}), text + "\x01\x02");
    WriteBytes(folder.Path("a.kss"), original);
    const CliResult toStdout = RunCli({"export", folder.Path("a.kss")});
    ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err;
    ASSERT_EQ(RunCli({"export", folder.Path("a.kss"), "-o", folder.Path("a.json")}).exitCode, 0);
    EXPECT_EQ(ReadText(folder.Path("a.json")), toStdout.out);
    const CliResult imported = RunCli({"import", folder.Path("a.json"), "-o", folder.Path("b.kss")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(ReadBytes(folder.Path("b.kss")), original);
}

TEST(ImportCommand, RefusalsLeaveTheOutputAsItWas) {
    const std::pair<std::string, std::string> cases[] = {
        {"{\n  \"geometry\": \"2x20\",\n  \"rows\": [\"a\" \"b\"]\n}\n", "bad.json:3:18: not valid JSON"},
        {"{\"geometry\": \"2x20\", \"rows\": [\"123456789012345678901\", \"\"], \"characters\": []}",
         "bad.json: rows[0]: 21 characters; the row holds 20"},
        {"{\"geometry\": \"2x20\", \"rows\": [\"\", \"\"], \"characters\": [[], [], [], [], [], [], [], []]}",
         "bad.json: characters[0]: must be 8 strings"},
        {"{\"geometry\": \"2x20\", \"sizeCode\": 1e400}", "bad.json: 1e400: a number too large to be read"},
    };
    for (const auto& [json, message] : cases) {
        ScratchFolder folder;
        WriteBytes(folder.Path("bad.json"), std::vector<uint8_t>(json.begin(), json.end()));
        WriteBytes(folder.Path("out.kss"), {9, 9});
        const CliResult result = RunCli({"import", folder.Path("bad.json"), "-o", folder.Path("out.kss")});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_EQ(ReadBytes(folder.Path("out.kss")), (std::vector<uint8_t>{9, 9}));
        EXPECT_EQ(folder.Names(), (std::vector<std::string>{"bad.json", "out.kss"}));
    }
}

// The letter A of the font, dot rows top first, and user character 0 as the file gives it.
const char* const kLetterA[8] = {".###.", "#...#", "#...#", "#...#", "#####", "#...#", "#...#", "....."};

std::string BlocksRow(const char* dots) {
    std::string line;
    for (const char* d = dots; *d != '\0'; ++d) line += *d == '#' ? "\u2588\u2588" : "\u2591\u2591";
    return line;
}

TEST(ShowCommand, DrawsTheFontUserCharactersAndABlankForTheCommandPrefix) {
    ScratchFolder folder;
    WriteBytes(folder.Path("a.kss"), ScreenFile(0x8009, Characters({{0, 1}, {7 + 4, 1}, {14 + 2, 5}, {5, 1}}),
                                                 std::string("A\0\xFE", 3) + std::string(29, ' ')));
    const CliResult result = RunCli({"show", "--style", "blocks", folder.Path("a.kss")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const char* const user[8] = {"#....", "....#", "..#..", ".....", ".....", ".....", ".....", "....."};
    std::vector<std::string> lines;
    for (size_t start = 0; start < result.out.size();) {
        const size_t end = result.out.find('\n', start);
        lines.push_back(result.out.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_EQ(lines.size(), 17u);
    const std::string blank = BlocksRow(".....");
    for (int row = 0; row < 8; ++row) {
        std::string expected = BlocksRow(kLetterA[row]) + "  " + BlocksRow(user[row]) + "  " + blank;
        for (int column = 3; column < 16; ++column) expected += "  " + blank;
        EXPECT_EQ(lines[row], expected) << row;
    }
    EXPECT_EQ(lines[8], "");
}

// What `show` writes to a terminal of `columns` columns (a pseudo-terminal that `script` makes).
std::string ShowOnTerminal(const std::string& file, int columns, const std::string& environment) {
    ScratchFolder streams;
    const std::string inner = "stty cols " + std::to_string(columns) + "; " + environment + " '" + BREVANT_CLI +
                              "' show '" + file + "'";
    const std::string command = "script -qec \"" + inner + "\" /dev/null >'" + streams.Path("out") + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return ReadText(streams.Path("out"));
}

TEST(ShowCommand, ColourOnlyOnATerminalWithoutNoColorAndTheWidestStyleThatFits) {
    ScratchFolder folder;
    WriteBytes(folder.Path("a.kss"), ScreenFile(0x8009, Characters({{0, 1}}), std::string(32, 'A')));
    const std::string file = folder.Path("a.kss");
    const std::string kEscape = "\x1b[";

    const CliResult piped = RunCli({"show", file});
    ASSERT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out.find('\x1b'), std::string::npos);
    EXPECT_NE(piped.out.find("\u2591\u2591"), std::string::npos) << "blocks where the width is unknown";
    EXPECT_NE(RunCli({"show", "--color", "always", "--style", "half", file}).out.find(kEscape), std::string::npos);
    EXPECT_EQ(RunCli({"show", "--color", "never", "--style", "half", file}).out.find('\x1b'), std::string::npos);

    // 16 columns: blocks need 190, half blocks 97, quadrants fewer.
    const std::string wide = ShowOnTerminal(file, 200, "");
    EXPECT_NE(wide.find("\u2591\u2591"), std::string::npos);
    const std::string half = ShowOnTerminal(file, 120, "");
    EXPECT_NE(half.find(kEscape), std::string::npos);
    EXPECT_NE(half.find("\u2580"), std::string::npos);
    const std::string plain = ShowOnTerminal(file, 120, "NO_COLOR=1");
    EXPECT_EQ(plain.find('\x1b'), std::string::npos);
    // Without colour a lit upper dot over an unlit lower one is an upper half block, both lit a full block.
    EXPECT_NE(plain.find("\u2588"), std::string::npos);
    const std::string narrow = ShowOnTerminal(file, 80, "NO_COLOR=");
    EXPECT_NE(narrow.find(kEscape), std::string::npos) << "an empty NO_COLOR asks for nothing";
    EXPECT_EQ(narrow.find("\u2580\u2580\u2580\u2580\u2580"), std::string::npos) << "quadrants, not half blocks";
}

// A shell pipeline of brevant-cli commands; CLI stands for the program. Standard output, and the
// exit status of the last command.
CliResult Pipeline(std::string commands, const std::string& folder) {
    for (size_t at = commands.find("CLI"); at != std::string::npos; at = commands.find("CLI", at)) {
        commands.replace(at, 3, std::string("'") + BREVANT_CLI + "'");
    }
    const std::string command = "cd '" + folder + "' && (" + commands + ") >out 2>err";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(folder + "/out"), ReadText(folder + "/err")};
}

TEST(StandardStreams, DashIsStandardInputAndOutputByteForByte) {
    ScratchFolder folder;
    const std::vector<uint8_t> screen = ScreenFile(0x8008, Characters({{0, 1}, {55, 1}}), std::string("\xFE\x00\x0A\x0D\x1A", 5) + std::string(35, 'x'));
    WriteBytes(folder.Path("a.kss"), screen);

    EXPECT_EQ(Pipeline("CLI export a.kss | CLI import - -o b.kss", folder.Path("")).exitCode, 0);
    EXPECT_EQ(ReadBytes(folder.Path("b.kss")), screen);
    EXPECT_EQ(Pipeline("CLI export a.kss | CLI import - | CLI info - >/dev/null && CLI export - <a.kss | CLI import -",
                       folder.Path("")).out,
              std::string(screen.begin(), screen.end()));
    const CliResult png = Pipeline("CLI render - -o - <a.kss | file -", folder.Path(""));
    EXPECT_NE(png.out.find("PNG image data, 340 x 52"), std::string::npos) << png.out << png.err;
    const CliResult made = Pipeline("CLI new --from - --line '2=two' <a.kss | CLI export - --format bytes | tail -c 20",
                                    folder.Path(""));
    EXPECT_EQ(made.out, "two" + std::string(17, ' ')) << made.err;
}

TEST(StandardStreams, BinaryOutputIsNotWrittenToATerminalWithoutAsking) {
    ScratchFolder folder;
    WriteBytes(folder.Path("a.kss"), ScreenFile(0x8008, Characters({}), std::string(40, 'x')));
    ASSERT_EQ(RunCli({"export", folder.Path("a.kss"), "-o", folder.Path("a.json")}).exitCode, 0);
    ASSERT_EQ(RunCli({"render", folder.Path("a.kss"), "-o", folder.Path("p.png")}).exitCode, 0);
    for (const std::string command : {"new --geometry 2x20", "render a.kss", "import a.json", "logo p.png --at 1,1"}) {
        const std::string line = "cd '" + folder.Path("") + "' && script -qec \"'" + BREVANT_CLI + "' " + command +
                                 "\" /dev/null >out 2>&1";
        const int status = std::system(line.c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2) << command;
        EXPECT_NE(ReadText(folder.Path("out")).find("brevant-cli: -o FILE is needed: standard output is a terminal"),
                  std::string::npos)
            << command << ": " << ReadText(folder.Path("out"));
    }
}

uint32_t Pixel(const PixelImage& image, int x, int y) { return image.pixels[static_cast<size_t>(y) * image.width + x]; }

TEST(RenderCommand, PngHasThePreviewsPixelsAtEveryScale) {
    ScratchFolder folder;
    // Cell 0: 'A'; cell 1: user character 0 with a plain dot, a 0x78 and a 2; cell 2: code 255.
    WriteBytes(folder.Path("a.kss"),
               ScreenFile(0x8008, Characters({{0, 1}, {1, 0x78}, {2, 2}, {7 + 5, 1}}), std::string("A\0\xFF", 3) + std::string(37, ' ')));
    for (int scale : {1, 3}) {
        const std::string png = folder.Path("a" + std::to_string(scale) + ".png");
        const CliResult result = RunCli({"render", folder.Path("a.kss"), "-o", png, "--scale", std::to_string(scale)});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        PixelImage image;
        std::string error;
        ASSERT_TRUE(DecodePng(ReadBytes(png), image, error)) << error;
        ASSERT_EQ(image.width, 340 * scale);
        ASSERT_EQ(image.height, 52 * scale);
        const auto at = [&](int x, int y) { return Pixel(image, x * scale + scale - 1, y * scale); };
        const uint32_t white = 0xFFFFFF, cell = 0x394AB4, panel = 0x394AD4;
        for (int row = 0; row < 8; ++row) {
            for (int column = 0; column < 5; ++column) {
                const uint32_t dot = kLetterA[row][column] == '#' ? white : cell;
                EXPECT_EQ(at(3 * column, 3 * row), dot) << scale << " " << row << " " << column;
                EXPECT_EQ(at(3 * column + 1, 3 * row + 1), dot);
                EXPECT_EQ(at(3 * column + 2, 3 * row + 2), cell);
            }
        }
        EXPECT_EQ(at(17 + 0, 0), white);
        EXPECT_EQ(at(17 + 3, 0), white) << "0x78 is lit in the preview";
        EXPECT_EQ(at(17 + 6, 0), cell) << "2 is dark in the preview";
        EXPECT_EQ(at(17 + 15, 3), white) << "hidden column 5 is drawn";
        EXPECT_EQ(at(17 + 15, 0), panel) << "beyond the box, where column 5 falls";
        for (int y = 0; y < 24; ++y) EXPECT_EQ(at(34 + 7, y), cell) << "255 draws a blank box";
        EXPECT_EQ(at(15, 0), panel);
        EXPECT_EQ(at(0, 24), panel);
        EXPECT_EQ(at(339, 51), panel);
    }
}

PixelImage Picture(int width, int height, std::initializer_list<std::pair<int, int>> ink) {
    PixelImage image{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, 0xFFFFFF)};
    for (const auto& [x, y] : ink) image.pixels[static_cast<size_t>(y) * width + x] = 0x000000;
    return image;
}

TEST(LogoCommand, CellsBecomeSharedUserCharactersAndBlanksBecomeSpaces) {
    ScratchFolder folder;
    // Three cells wide, two high: cells 0 and 2 of the top row alike, cell 1 blank, the bottom row another shape.
    const PixelImage picture = Picture(15, 16, {{0, 0}, {10, 0}, {4, 7}, {14, 7}, {2, 8}, {7, 12}, {12, 15}});
    WriteBytes(folder.Path("logo.png"), EncodePng(picture));
    const CliResult result = RunCli({"logo", folder.Path("logo.png"), "--geometry", "4x20", "--at", "2,18",
                                     "-o", folder.Path("a.kss")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::vector<uint8_t> file = ReadBytes(folder.Path("a.kss"));
    ASSERT_EQ(file.size(), 532u);
    const auto cell = [&](int row, int column) { return file[452 + row * 20 + column]; };
    EXPECT_EQ(cell(1, 17), 0);
    EXPECT_EQ(cell(1, 18), 0x20);
    EXPECT_EQ(cell(1, 19), 0);
    EXPECT_EQ(cell(2, 17), 1);
    EXPECT_EQ(cell(2, 18), 2);
    EXPECT_EQ(cell(2, 19), 3);
    EXPECT_EQ(cell(0, 19), 0x20);
    const auto glyph = [&](int code) { return std::vector<uint8_t>(file.begin() + 4 + code * 56, file.begin() + 4 + code * 56 + 56); };
    std::vector<uint8_t> first(56, 0);
    first[0] = 1;
    first[7 * 7 + 4] = 1;
    EXPECT_EQ(glyph(0), first);
    std::vector<uint8_t> second(56, 0);
    second[2] = 1;
    EXPECT_EQ(glyph(1), second);
    std::vector<uint8_t> third(56, 0);
    third[4 * 7 + 2] = 1;
    EXPECT_EQ(glyph(2), third);
    std::vector<uint8_t> fourth(56, 0);
    fourth[7 * 7 + 2] = 1;
    EXPECT_EQ(glyph(3), fourth);
}

TEST(LogoCommand, TakesOnlyUserCharactersTheRestOfTheTextDoesNotShow) {
    ScratchFolder folder;
    WriteBytes(folder.Path("base.kss"), ScreenFile(0x8008, Characters({{4 * 56, 1}}), std::string("\2\0\4", 3) + std::string(37, ' ')));
    WriteBytes(folder.Path("logo.png"), EncodePng(Picture(10, 8, {{0, 0}, {5, 1}})));
    const CliResult result = RunCli({"logo", folder.Path("logo.png"), "--from", folder.Path("base.kss"), "--at", "1,1",
                                     "-o", folder.Path("a.kss")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::vector<uint8_t> file = ReadBytes(folder.Path("a.kss"));
    EXPECT_EQ(file[452], 0) << "the logo covers the 2 and the 0, so both are free";
    EXPECT_EQ(file[453], 1);
    EXPECT_EQ(file[454], 4);
    EXPECT_EQ(file[4 + 56 * 0], 1);
    EXPECT_EQ(file[4 + 56 * 1 + 7 + 0], 1);
    EXPECT_EQ(file[4 + 56 * 4], 1) << "character 4 is shown beside the logo and stays";
}

TEST(LogoCommand, RefusalsNameTheProblemAndLeaveNoOutput) {
    ScratchFolder folder;
    std::vector<std::pair<int, int>> nine;
    for (int i = 0; i < 9; ++i) nine.push_back({i * 5 + i % 5, i / 5});
    PixelImage nineShapes = Picture(45, 8, {});
    for (const auto& [x, y] : nine) nineShapes.pixels[static_cast<size_t>(y) * 45 + x] = 0;
    WriteBytes(folder.Path("nine.png"), EncodePng(nineShapes));
    WriteBytes(folder.Path("odd.png"), EncodePng(Picture(6, 8, {})));
    WriteBytes(folder.Path("wide.png"), EncodePng(Picture(25, 8, {})));
    WriteBytes(folder.Path("text.png"), {'n', 'o', 't'});
    std::vector<uint8_t> whole = EncodePng(Picture(10, 8, {}));
    WriteBytes(folder.Path("cut.png"), std::vector<uint8_t>(whole.begin(), whole.end() - 20));
    // A header that claims 60000 x 60000 pixels: refused before a byte is decoded.
    std::vector<uint8_t> huge = whole;
    for (size_t at : {size_t{16}, size_t{20}}) {
        huge[at] = 0, huge[at + 1] = 0, huge[at + 2] = 0xEA, huge[at + 3] = 0x60;
    }
    WriteBytes(folder.Path("huge.png"), huge);
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        {{"nine.png", "--at", "1,1"}, 1, "nine.png: the picture needs 9 user characters; 8 of 8 are free"},
        {{"odd.png", "--at", "1,1"}, 1, "odd.png: 6 x 8 pixels is not a whole number of 5 x 8 cells"},
        {{"wide.png", "--at", "1,17"}, 1, "wide.png: 5 x 1 cells at row 1, column 17 do not fit a screen of 20 x 2"},
        {{"wide.png", "--at", "3,1"}, 1, "do not fit a screen of 20 x 2"},
        {{"text.png", "--at", "1,1"}, 1, "text.png: not a PNG picture\n"},
        {{"cut.png", "--at", "1,1"}, 1, "cut.png: picture cut short\n"},
        {{"huge.png", "--at", "1,1"}, 1, "huge.png: picture too large (60000 x 60000; at most 4096 x 4096)\n"},
        {{"wide.png", "--at", "0,1"}, 2, "--at: rows and columns count from 1"},
        {{"wide.png", "--at", "1"}, 2, "--at"},
        {{"wide.png"}, 2, "--at is required"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"logo", folder.Path(c.arguments[0])};
        arguments.insert(arguments.end(), c.arguments.begin() + 1, c.arguments.end());
        arguments.insert(arguments.end(), {"-o", folder.Path("out.kss")});
        const CliResult result = RunCli(arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"cut.png", "huge.png", "nine.png", "odd.png", "text.png",
                                                         "wide.png"}));
}

}  // namespace
