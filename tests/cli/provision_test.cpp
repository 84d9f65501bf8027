#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "cli/support/sha256.h"
#include "document/start_screen_file.h"
#include "link/transfer_plan.h"
#include "link/posix_serial_line.h"
#include "module_bench.h"
#include "tests/core/test_pty.h"

namespace {

// The user characters of the test screen as row bytes (bit 4 the leftmost dot), top row first.
const uint8_t kCharacterRows[8][8] = {
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11, 0x00}, {0x1F, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x1F, 0x00},
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x08, 0x04, 0x02}, {0x15, 0x0A, 0x15, 0x0A, 0x15, 0x0A, 0x15, 0x0A},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, {0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F},
    {0x10, 0x18, 0x1C, 0x1E, 0x1F, 0x03, 0x06, 0x0C}, {0x04, 0x0E, 0x15, 0x04, 0x04, 0x04, 0x04, 0x00},
};

// Row 2 ends in the command prefix, which goes out as a blank.
const std::string kRows[4] = {"Brevant start screen", std::string("serial 0000 here  ") + '\x01' + '\xFE',
                              "third row of four   ", "\x07 last row \x03        "};

std::vector<uint8_t> ScreenFile(const std::string& geometry) {
    const bool four = geometry == "4x20";
    std::vector<uint8_t> file{static_cast<uint8_t>(four ? 0x0A : 0x08), 0x80, 0x00, 0x00};
    for (const auto& character : kCharacterRows) {
        for (uint8_t row : character) {
            for (int column = 0; column < 7; ++column) {
                // Columns 5 and 6 are lit too: they are never sent. A pixel byte of 2 is lit.
                const bool lit = column >= 5 || (row & (0x10 >> column)) != 0;
                file.push_back(lit ? (column == 2 ? 2 : 1) : 0);
            }
        }
    }
    for (int row = 0; row < (four ? 4 : 2); ++row) file.insert(file.end(), kRows[row].begin(), kRows[row].end());
    return file;
}

std::string Stored(const std::string& row) {
    std::vector<uint8_t> bytes(row.begin(), row.end());
    for (uint8_t& byte : bytes) {
        if (byte == 0xFE) byte = 0x20;
    }
    return Hex(bytes);
}

void ExpectCharacters(const std::map<std::string, std::string>& dump, const std::string& prefix) {
    for (int i = 0; i < 8; ++i) {
        const std::string key = prefix + "char" + std::to_string(i);
        EXPECT_EQ(dump.at(key), Hex(std::vector<uint8_t>(kCharacterRows[i], kCharacterRows[i] + 8))) << key;
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// "PORT: RESULT (S s)" with any time.
void ExpectReport(const std::string& line, const std::string& port, const std::string& result) {
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(line, parts, std::regex(R"((.*?): (.*) \(\d+\.\d{3} s\))"))) << line;
    EXPECT_EQ(parts[1].str(), port);
    EXPECT_EQ(parts[2].str(), result);
}

TEST(Store, OneModuleHoldsTheScreenAndItsCharactersAfterAPowerCycle) {
    ScratchFolder folder;
    WriteBytes(folder.Path("screen.kss"), ScreenFile("4x20"));
    VirtualModule module(folder, "module", "4x20");

    const CliResult result = RunCli({"store", folder.Path("screen.kss"), "--port", module.Port()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 1u) << result.out;
    ExpectReport(lines[0], module.Port(), "stored");
    EXPECT_EQ(result.err, "");

    EXPECT_EQ(module.WaitForBytes(170).at("received"), "170");
    const auto dump = module.PowerCycleUntil("row1.hex", Stored(kRows[0]));
    for (int row = 0; row < 4; ++row) {
        const std::string key = "row" + std::to_string(row + 1) + ".hex";
        EXPECT_EQ(dump.at(key), Stored(kRows[row])) << key;
        EXPECT_EQ(dump.at("stored." + key), Stored(kRows[row])) << key;
    }
    ExpectCharacters(dump, "");
    ExpectCharacters(dump, "stored.");
    EXPECT_EQ(dump.at("incomplete-command"), "no");
}

TEST(Store, FourModulesAtOnceEachWithItsOwnSerialNumberAndALogLine) {
    ScratchFolder folder;
    WriteBytes(folder.Path("screen.kss"), ScreenFile("2x20"));
    std::vector<std::unique_ptr<VirtualModule>> modules;
    std::vector<std::string> arguments{"store", folder.Path("screen.kss"), "--line", "2=SN {serial}/{serial}",
                                       "--serial-from", "0098", "--log", folder.Path("production.log")};
    for (int i = 0; i < 4; ++i) {
        modules.push_back(std::make_unique<VirtualModule>(folder, "module" + std::to_string(i), "2x20"));
        arguments.insert(arguments.end(), {"--port", modules.back()->Port()});
    }
    const CliResult result = RunCli(arguments);
    ASSERT_EQ(result.exitCode, 0) << result.err;

    const std::string serials[4] = {"0098", "0099", "0100", "0101"};
    const std::vector<std::string> lines = Lines(result.out);
    const std::vector<std::string> log = Lines(ReadText(folder.Path("production.log")));
    ASSERT_EQ(lines.size(), 4u) << result.out;
    ASSERT_EQ(log.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        ExpectReport(lines[i], modules[i]->Port(), "stored");
        modules[i]->WaitForBytes(130);
        const std::string row2 = Stored("SN " + serials[i] + "/" + serials[i] + std::string(8, ' '));
        const auto dump = modules[i]->PowerCycleUntil("row2.hex", row2);
        EXPECT_EQ(dump.at("stored.row1.hex"), Stored(kRows[0]));
        EXPECT_EQ(dump.at("stored.row2.hex"), row2);
        ExpectCharacters(dump, "stored.");

        std::smatch fields;
        ASSERT_TRUE(std::regex_match(log[i], fields,
                                     std::regex(R"((\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)\t([^\t]*)\t([^\t]*)\t([0-9a-f]{64})\t(.*))")))
            << log[i];
        EXPECT_EQ(fields[2].str(), modules[i]->Port());
        EXPECT_EQ(fields[3].str(), folder.Path("screen.kss"));
        EXPECT_EQ(fields[5].str(), "stored");
    }
    // The serial numbers make every module's bytes, and so their records, differ.
    EXPECT_NE(log[0].substr(log[0].rfind('\t') - 64, 64), log[1].substr(log[1].rfind('\t') - 64, 64));

    // A second run appends.
    ASSERT_EQ(RunCli({"store", folder.Path("screen.kss"), "--port", modules[0]->Port(), "--log",
                      folder.Path("production.log")})
                  .exitCode,
              0);
    EXPECT_EQ(Lines(ReadText(folder.Path("production.log"))).size(), 5u);
}

TEST(Mirror, TheModuleShowsTheScreenAtOnceAndStoresNothing) {
    ScratchFolder folder;
    WriteBytes(folder.Path("screen.kss"), ScreenFile("4x20"));
    VirtualModule module(folder, "module", "4x20");
    const CliResult result = RunCli({"mirror", folder.Path("screen.kss"), "--port", module.Port()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ExpectReport(result.out.substr(0, result.out.size() - 1), module.Port(), "mirrored");

    const auto dump = module.WaitForBytes(136);
    EXPECT_EQ(dump.at("received"), "136");
    EXPECT_EQ(dump.at("row1.hex"), Stored(kRows[0]));
    EXPECT_EQ(dump.at("row2.hex"), Stored(kRows[1]));
    EXPECT_EQ(dump.at("row3.hex"), Hex(std::vector<uint8_t>(20, 0x20)));
    ExpectCharacters(dump, "");
    EXPECT_EQ(dump.at("stored.row1.hex"), Hex(std::vector<uint8_t>(20, 0x00)));
}

TEST(Store, TheLogHoldsTheHashOfExactlyTheBytesOnTheLine) {
    ScratchFolder folder;
    WriteBytes(folder.Path("screen.kss"), ScreenFile("2x20"));
    TestPty line;
    const CliResult result =
        RunCli({"store", folder.Path("screen.kss"), "--port", line.device, "--log", folder.Path("log")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::vector<uint8_t> sent = line.Read(130);
    ASSERT_EQ(sent.size(), 130u);
    // Command, code and rows of the first and last stored user characters, then the text start.
    const std::vector<uint8_t> first{0xFE, 0xC2, 0x00, 0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11, 0x00};
    EXPECT_EQ(std::vector<uint8_t>(sent.begin(), sent.begin() + 11), first);
    EXPECT_EQ(Hex(std::vector<uint8_t>(sent.begin() + 77, sent.begin() + 90)),
              "FE C2 07 04 0E 15 04 04 04 04 00 FE 40");
    EXPECT_EQ(Hex(std::vector<uint8_t>(sent.begin() + 90, sent.end())), Stored(kRows[0]) + " " + Stored(kRows[1]));

    Sha256 hash;
    hash.Update(sent.data(), sent.size());
    const std::string record = ReadText(folder.Path("log"));
    EXPECT_NE(record.find("\t" + hash.FinishHex() + "\tstored\n"), std::string::npos) << record;
}

TEST(Store, EveryFailingPortSaysWhyAndTheOthersAreStored) {
    ScratchFolder folder;
    WriteBytes(folder.Path("screen.kss"), ScreenFile("2x20"));
    WriteBytes(folder.Path("plain-file"), {0x41});
    VirtualModule first(folder, "first", "2x20");
    VirtualModule held(folder, "held", "2x20");
    VirtualModule last(folder, "last", "2x20");
    PosixSerialLine otherProgram;
    ASSERT_EQ(otherProgram.Open(held.Port().c_str(), 9600, ParityMode::None), kOpenOk);

    const CliResult result = RunCli({"store", folder.Path("screen.kss"), "--port", first.Port(), "--port",
                                     folder.Path("missing"), "--port", folder.Path("plain-file"), "--port",
                                     held.Port(), "--port", last.Port(), "--log", folder.Path("log")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "brevant-cli: 3 of 5 ports not stored\n");
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 5u) << result.out;
    ExpectReport(lines[0], first.Port(), "stored");
    ExpectReport(lines[1], folder.Path("missing"), "cannot open: No such file or directory");
    ExpectReport(lines[2], folder.Path("plain-file"), "cannot open: not a serial device");
    ExpectReport(lines[3], held.Port(), "busy");
    ExpectReport(lines[4], last.Port(), "stored");
    EXPECT_EQ(first.WaitForBytes(130).at("received"), "130");
    EXPECT_EQ(last.WaitForBytes(130).at("received"), "130");
    EXPECT_EQ(held.Received(), 0u);
    EXPECT_EQ(ReadBytes(folder.Path("plain-file")), std::vector<uint8_t>{0x41});

    const std::vector<std::string> log = Lines(ReadText(folder.Path("log")));
    ASSERT_EQ(log.size(), 5u);
    // Nothing went out on a port that did not open: the hash of no bytes.
    EXPECT_NE(log[3].find("\te3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855\tbusy"),
              std::string::npos)
        << log[3];
}

TEST(Store, ANameWithATabOrLineBreakKeepsTheLogAtOneLineOfFiveFields) {
    ScratchFolder folder;
    WriteBytes(folder.Path("screen.kss"), ScreenFile("2x20"));
    const std::string port = folder.Path("odd\tport\nname");
    const CliResult result = RunCli({"store", folder.Path("screen.kss"), "--port", port, "--log", folder.Path("log")});
    EXPECT_EQ(result.exitCode, 1);
    const std::vector<std::string> log = Lines(ReadText(folder.Path("log")));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(std::count(log[0].begin(), log[0].end(), '\t'), 4);
    EXPECT_NE(log[0].find("\t" + folder.Path("odd?port?name") + "\t"), std::string::npos) << log[0];
}

TEST(Store, AModuleThatGoesAwayMidStoreFailsAloneAndSaysHowFarItGot) {
    ScratchFolder folder;
    WriteBytes(folder.Path("screen.kss"), ScreenFile("2x20"));
    TestPty going;
    VirtualModule staying(folder, "staying", "2x20");
    CliProcess cli(folder, {"store", folder.Path("screen.kss"), "--port", going.device, "--port", staying.Port(),
                            "--log", folder.Path("log")});
    ASSERT_EQ(going.Read(22).size(), 22u);
    going.CloseFarEnd();
    const CliResult result = cli.Wait();

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "brevant-cli: 1 of 2 ports not stored\n");
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 2u) << result.out;
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(lines[0], parts,
                                 std::regex(going.device + R"(: write failed after (\d+) of 130 bytes: device gone: )"
                                                           R"(Input/output error \(\d+\.\d{3} s\))")))
        << lines[0];
    const int sent = std::stoi(parts[1].str());
    EXPECT_GE(sent, 22);
    EXPECT_LT(sent, 130);
    ExpectReport(lines[1], staying.Port(), "stored");
    EXPECT_EQ(staying.WaitForBytes(130).at("received"), "130");

    // The log holds the hash of the bytes that went, not of the bytes the screen meant to send.
    ScreenDocument doc;
    const std::vector<uint8_t> file = ScreenFile("2x20");
    ASSERT_EQ(ReadStartScreen(doc, file.data(), file.size()), LoadOutcome::Complete);
    const std::vector<uint8_t> all = StorePlan(doc).Bytes();
    Sha256 hash;
    hash.Update(all.data(), static_cast<size_t>(sent));
    const std::vector<std::string> log = Lines(ReadText(folder.Path("log")));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find("\t" + hash.FinishHex() + "\twrite failed after "), std::string::npos) << log[0];
}

TEST(Store, AModuleThatGoesAwayOnceEveryByteIsWrittenIsNotReportedStored) {
    ScratchFolder folder;
    WriteBytes(folder.Path("screen.kss"), ScreenFile("2x20"));
    TestPty going;
    CliProcess cli(folder, {"store", folder.Path("screen.kss"), "--port", going.device});
    // The last text byte is followed by a pause of 150 ms: the line goes away within it.
    ASSERT_EQ(going.Read(130).size(), 130u);
    going.CloseFarEnd();
    const CliResult result = cli.Wait();

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "brevant-cli: 1 of 1 ports not stored\n");
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 1u) << result.out;
    ExpectReport(lines[0], going.device, "write failed at the end: device gone: Input/output error");
}

TEST(Store, AnUnsupportedSpeedIsRefusedByNameOnEveryPortAndNothingIsSent) {
    ScratchFolder folder;
    WriteBytes(folder.Path("screen.kss"), ScreenFile("2x20"));
    VirtualModule a(folder, "a", "2x20");
    VirtualModule b(folder, "b", "2x20");
    const CliResult result =
        RunCli({"store", folder.Path("screen.kss"), "--port", a.Port(), "--port", b.Port(), "--baud", "12345"});
    EXPECT_EQ(result.exitCode, 1);
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 2u) << result.out;
    ExpectReport(lines[0], a.Port(), "unsupported speed 12345");
    ExpectReport(lines[1], b.Port(), "unsupported speed 12345");

    const CliResult mirror = RunCli({"mirror", folder.Path("screen.kss"), "--port", a.Port(), "--baud", "9600"});
    EXPECT_EQ(mirror.exitCode, 0) << mirror.err;
    EXPECT_EQ(a.WaitForBytes(136).at("received"), "136");
    EXPECT_EQ(b.Received(), 0u);
}

TEST(Store, AFileThatCannotBeReadOrAScreenThatCannotBeMadeTouchesNoModule) {
    ScratchFolder folder;
    WriteBytes(folder.Path("screen.kss"), ScreenFile("2x20"));
    VirtualModule module(folder, "module", "2x20");
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string err;
    };
    const std::string file = folder.Path("screen.kss");
    const Case cases[] = {
        {{"store", folder.Path("none.kss")}, 1,
         "brevant-cli: " + folder.Path("none.kss") + ": cannot open: No such file or directory\n"},
        {{"mirror", folder.Path("none.kss")}, 1,
         "brevant-cli: " + folder.Path("none.kss") + ": cannot open: No such file or directory\n"},
        {{"store", folder.Path("")}, 1, "brevant-cli: " + folder.Path("") + ": is a folder, not a file\n"},
        {{"store", file, "--line", "2=SN {serial}"}, 2, "brevant-cli: --line with {serial} needs --serial-from N (or --records DB)\n"},
        {{"store", file, "--serial-from", "7"}, 2, "brevant-cli: --serial-from 7: no --line holds {serial}\n"},
        {{"store", file, "--line", "1={serial}", "--serial-from", "x1"}, 2,
         "brevant-cli: --serial-from x1: expected a number of at most 18 digits\n"},
        // 20 characters for serial 9, 21 for serial 10: the second module's screen cannot be made.
        {{"store", file, "--line", "1=Serial number: ....{serial}", "--serial-from", "9", "--port", module.Port()}, 1,
         "brevant-cli: " + file + " for " + module.Port() + ": row 1: 21 characters do not fit in 20 columns\n"},
        {{"store", file, "--log", folder.Path("no-folder/log")}, 1,
         "brevant-cli: " + folder.Path("no-folder/log") + ": cannot open the log: No such file or directory\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--port", module.Port()});
        const CliResult result = RunCli(arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << arguments[1];
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(module.Received(), 0u);
}

TEST(Store, CtrlCStopsEveryPortAndSaysWhichStoreIsIncomplete) {
    ScratchFolder folder;
    WriteBytes(folder.Path("screen.kss"), ScreenFile("4x20"));
    VirtualModule a(folder, "a", "4x20");
    VirtualModule b(folder, "b", "4x20");
    CliProcess cli(folder, {"store", folder.Path("screen.kss"), "--port", a.Port(), "--port", b.Port(), "--log",
                            folder.Path("log")});
    a.WaitForBytes(12);
    kill(cli.Pid(), SIGINT);
    const CliResult result = cli.Wait();

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "brevant-cli: interrupted: 2 of 2 ports not stored\n");
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 2u) << result.out;
    const std::regex interrupted(R"(.*: interrupted after (\d+) of 170 bytes: not stored \(\d+\.\d{3} s\))");
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(lines[0], parts, interrupted)) << lines[0];
    EXPECT_GE(std::stoi(parts[1].str()), 12);
    EXPECT_LT(std::stoi(parts[1].str()), 170);
    EXPECT_TRUE(std::regex_match(lines[1], interrupted)) << lines[1];
    EXPECT_EQ(Lines(ReadText(folder.Path("log"))).size(), 2u);
    EXPECT_LT(a.Received(), 170u);
}

}  // namespace
