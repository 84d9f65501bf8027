#include "link/display_protocol.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"

namespace {

using Event = RecordingLine::Event;

// Row bytes of the shipped user characters, as a module expects them.
const uint8_t kDefaultRows[8][8] = {
    {0x00, 0x00, 0x1F, 0x07, 0x01, 0x00, 0x00, 0x0C}, {0x00, 0x00, 0x00, 0x18, 0x1E, 0x0F, 0x07, 0x1B},
    {0x00, 0x03, 0x03, 0x07, 0x07, 0x07, 0x13, 0x1B}, {0x18, 0x1E, 0x12, 0x1B, 0x1F, 0x1F, 0x1E, 0x1E},
    {0x0C, 0x0F, 0x0F, 0x1B, 0x1B, 0x18, 0x18, 0x00}, {0x19, 0x19, 0x18, 0x0C, 0x0C, 0x0C, 0x0C, 0x00},
    {0x18, 0x18, 0x18, 0x1C, 0x0C, 0x0C, 0x04, 0x04}, {0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
};

TEST(PortName, DigitsOneToNineAndNothingElse) {
    char name[5];
    ASSERT_TRUE(BuildPortName(1, name));
    EXPECT_STREQ(name, "COM1");
    ASSERT_TRUE(BuildPortName(9, name));
    EXPECT_STREQ(name, "COM9");
    for (int32_t bad : {0, 10, 12, -1, 0x7FFFFFFF, static_cast<int32_t>(0x80000000)}) {
        EXPECT_FALSE(BuildPortName(bad, name)) << bad;
    }
}

TEST(PackRow, FirstFiveBytesAnyNonZeroLitColumnZeroInBitFour) {
    const uint8_t row1[7] = {1, 0, 0, 0, 0, 1, 1};
    EXPECT_EQ(PackRow(row1), 0x10);
    const uint8_t row2[7] = {0, 0, 0, 0, 1, 0, 0};
    EXPECT_EQ(PackRow(row2), 0x01);
    const uint8_t odd[7] = {2, 0xFF, 0x78, 0, 0x80, 0, 0};
    EXPECT_EQ(PackRow(odd), 0x1D);
}

TEST(MirrorScreen, FirstTransferAfterStartupCarriesDefaultCharactersAnd40Spaces) {
    const ScreenDocument doc = StartupDocument();
    DisplayProtocol protocol;
    RecordingLine line;
    const LinkSettings settings = kDefaultLinkSettings;
    protocol.MirrorScreen(doc, settings, line);

    ASSERT_GE(line.events.size(), 1u);
    EXPECT_EQ(line.events.front().kind, Event::Open);
    EXPECT_EQ(line.events.front().name, "COM3");
    EXPECT_EQ(line.events.front().value, 19200u);
    EXPECT_EQ(line.lastParity, ParityMode::None);
    EXPECT_EQ(line.events.back().kind, Event::Close);

    std::vector<uint8_t> expected;
    for (uint8_t code = 0; code < 8; ++code) {
        expected.insert(expected.end(), {0xFE, 0x4E, code});
        expected.insert(expected.end(), kDefaultRows[code], kDefaultRows[code] + 8);
    }
    expected.insert(expected.end(), {0xFE, 0x47, 0x01, 0x01});
    expected.insert(expected.end(), 20, 0x20);
    expected.insert(expected.end(), {0xFE, 0x47, 0x01, 0x02});
    expected.insert(expected.end(), 20, 0x20);
    ASSERT_EQ(expected.size(), 136u);
    EXPECT_EQ(line.Bytes(), expected);
    EXPECT_FALSE(protocol.mirrorDisabled);
}

TEST(MirrorScreen, OneWriteByteForEveryCommandAndRowByteTwoTwentyByteBlocksNoPauses) {
    const ScreenDocument doc = StartupDocument();
    DisplayProtocol protocol;
    RecordingLine line;
    protocol.MirrorScreen(doc, kDefaultLinkSettings, line);
    EXPECT_EQ(line.Count(Event::Byte), 96u);
    EXPECT_EQ(line.Count(Event::Block), 2u);
    EXPECT_EQ(line.Count(Event::Pause), 0u);
    for (const Event& e : line.events) {
        if (e.kind == Event::Block) EXPECT_EQ(e.bytes.size(), 20u);
    }
}

TEST(MirrorScreen, AlwaysCellsZeroToThirtyNineWhateverTheGeometry) {
    for (uint32_t before : {uint32_t{kSize2x20}, uint32_t{kSize4x20}}) {
        ScreenDocument doc = StartupDocument();
        SetDisplaySize(doc, before);
        for (size_t i = 0; i < kCellCount; ++i) doc.cells[i] = static_cast<uint8_t>(i);
        SetDisplaySize(doc, kSize2x16);
        for (size_t i = 0; i < UsedCellCount(doc); ++i) doc.cells[i] = static_cast<uint8_t>(0xA0 + i);
        DisplayProtocol protocol;
        RecordingLine line;
        protocol.MirrorScreen(doc, kDefaultLinkSettings, line);
        EXPECT_EQ(line.Bytes(), ExpectedMirror(doc));
        // With 2 rows the second block ends with what a 20-column screen left in cells 32-39.
        if (before == kSize2x20) EXPECT_EQ(line.Bytes().back(), 39);
        if (before == kSize4x20) EXPECT_EQ(line.Bytes().back(), 0xA0 + 39);
    }
}

TEST(MirrorScreen, AFailedOpenDisablesMirroringUntilEnabledAgain) {
    const ScreenDocument doc = StartupDocument();
    DisplayProtocol protocol;
    RecordingLine line;
    line.openResult = kOpenPortFailed;
    protocol.MirrorScreen(doc, kDefaultLinkSettings, line);
    EXPECT_TRUE(protocol.mirrorDisabled);
    EXPECT_TRUE(line.Bytes().empty());
    EXPECT_EQ(line.events.back().kind, Event::Close);

    line.events.clear();
    line.openResult = kOpenOk;
    EXPECT_EQ(protocol.MirrorScreen(doc, kDefaultLinkSettings, line).outcome, TransferResult::Outcome::Skipped);
    EXPECT_TRUE(line.events.empty()) << "a disabled mirror touches no port";

    protocol.EnableMirror();
    const TransferResult result = protocol.MirrorScreen(doc, kDefaultLinkSettings, line);
    EXPECT_TRUE(result.Reached());
    EXPECT_EQ(result.bytesSent, 136u);
    EXPECT_EQ(result.bytesTotal, 136u);
    EXPECT_EQ(line.Bytes().size(), 136u);
    EXPECT_FALSE(protocol.mirrorDisabled);
}

TEST(MirrorScreen, EveryNonZeroOpenResultCountsAsFailure) {
    for (int32_t code : {kOpenMaskFailed, kOpenTimeoutsFailed, kOpenStateFailed, kOpenPortFailed, kOpenNoName}) {
        DisplayProtocol protocol;
        RecordingLine line;
        line.openResult = code;
        const TransferResult result = protocol.MirrorScreen(StartupDocument(), kDefaultLinkSettings, line);
        EXPECT_TRUE(protocol.mirrorDisabled) << code;
        EXPECT_EQ(result.outcome, TransferResult::Outcome::OpenFailed);
        EXPECT_EQ(result.openResult, code);
        EXPECT_EQ(result.bytesSent, 0u);
    }
}

TEST(MirrorScreen, APortOutsideOneToNineOpensNothingAndDisablesMirroring) {
    for (int32_t port : {0, 10, -3}) {
        DisplayProtocol protocol;
        RecordingLine line;
        const TransferResult result = protocol.MirrorScreen(StartupDocument(), LinkSettings{port, 19200}, line);
        EXPECT_EQ(result.outcome, TransferResult::Outcome::NoPort);
        EXPECT_EQ(line.Count(Event::Open), 0u) << port;
        EXPECT_TRUE(line.Bytes().empty());
        EXPECT_TRUE(protocol.mirrorDisabled);
    }
}

TEST(MirrorScreen, UsesTheSettingsOfEachTransfer) {
    const ScreenDocument doc = StartupDocument();
    DisplayProtocol protocol;
    RecordingLine line;
    protocol.MirrorScreen(doc, LinkSettings{7, 9600}, line);
    protocol.MirrorScreen(doc, LinkSettings{1, 115200}, line);
    std::vector<std::pair<std::string, uint32_t>> opens;
    for (const Event& e : line.events) {
        if (e.kind == Event::Open) opens.emplace_back(e.name, e.value);
    }
    ASSERT_EQ(opens.size(), 2u);
    EXPECT_EQ(opens[0], std::make_pair(std::string("COM7"), 9600u));
    EXPECT_EQ(opens[1], std::make_pair(std::string("COM1"), 115200u));
}

TEST(MirrorScreen, PixelBytesOtherThanOneAreSentLit) {
    ScreenDocument doc = StartupDocument();
    std::fill_n(doc.glyphs.begin() + 3 * 56, 56, uint8_t{0x78});
    DisplayProtocol protocol;
    RecordingLine line;
    protocol.MirrorScreen(doc, kDefaultLinkSettings, line);
    const std::vector<uint8_t> bytes = line.Bytes();
    for (size_t row = 0; row < 8; ++row) EXPECT_EQ(bytes[3 * 11 + 3 + row], 0x1F);
}

TEST(CommandPrefixInText, IsSentAsASpaceByMirrorAndStoreAndKeptInTheDocument) {
    ScreenDocument doc = StartupDocument();
    doc.cells[5] = 0xFE;
    doc.cells[25] = 0xFE;
    doc.cells[26] = 0xFD;
    DisplayProtocol protocol;
    RecordingLine mirror;
    protocol.MirrorScreen(doc, kDefaultLinkSettings, mirror);
    const std::vector<uint8_t> sent = mirror.Bytes();
    EXPECT_EQ(sent[88 + 4 + 5], 0x20);
    EXPECT_EQ(sent[88 + 24 + 4 + 5], 0x20);
    EXPECT_EQ(sent[88 + 24 + 4 + 6], 0xFD);
    size_t prefixes = 0;
    for (uint8_t b : sent) prefixes += b == 0xFE ? 1 : 0;
    EXPECT_EQ(prefixes, 10u) << "eight definitions and two cursor placements";

    RecordingLine store;
    protocol.StoreScreen(doc, kDefaultLinkSettings, store, store);
    const std::vector<uint8_t> stored = store.Bytes();
    EXPECT_EQ(stored[90 + 5], 0x20);
    EXPECT_EQ(stored[90 + 25], 0x20);
    EXPECT_EQ(stored[90 + 26], 0xFD);
    EXPECT_EQ(doc.cells[5], 0xFE);
}

TEST(StoreScreen, BytesAndPausesForEachGeometry) {
    struct Case {
        uint32_t code;
        size_t bytes, textPauses;
    };
    for (const Case c : {Case{kSize2x20, 130, 5}, Case{kSize4x20, 170, 10}, Case{kSize2x16, 122, 4}}) {
        ScreenDocument doc = StartupDocument();
        SetDisplaySize(doc, c.code);
        for (size_t i = 0; i < UsedCellCount(doc); ++i) doc.cells[i] = static_cast<uint8_t>('A' + i % 26);
        DisplayProtocol protocol;
        RecordingLine line;
        protocol.StoreScreen(doc, kDefaultLinkSettings, line, line);
        EXPECT_EQ(line.Bytes(), ExpectedStore(doc));
        EXPECT_EQ(line.Bytes().size(), c.bytes);
        EXPECT_EQ(line.Count(Event::Pause), 8 + c.textPauses + 1);
        EXPECT_EQ(line.Count(Event::Block), 0u) << "every byte is written on its own";

        // Walk the events: a 20 ms pause after each character's last row byte, after each
        // cell whose index is a multiple of 8, and 150 ms before the close.
        size_t bytesSoFar = 0;
        std::vector<size_t> pauseAfter;
        for (const Event& e : line.events) {
            if (e.kind == Event::Byte) ++bytesSoFar;
            if (e.kind == Event::Pause) {
                pauseAfter.push_back(bytesSoFar);
                EXPECT_EQ(e.value, bytesSoFar == c.bytes ? 150u : 20u);
            }
        }
        std::vector<size_t> expected;
        for (size_t i = 1; i <= 8; ++i) expected.push_back(11 * i);
        for (size_t k = 0; k < UsedCellCount(doc); k += 8) expected.push_back(90 + k + 1);
        expected.push_back(c.bytes);
        EXPECT_EQ(pauseAfter, expected);
        EXPECT_EQ(line.events[line.events.size() - 2].kind, Event::Pause);
        EXPECT_EQ(line.events.back().kind, Event::Close);
    }
}

TEST(StoreScreen, IgnoresAndKeepsTheMirrorStateAndDoesNothingWhenThePortFails) {
    const ScreenDocument doc = StartupDocument();
    DisplayProtocol protocol;
    protocol.mirrorDisabled = true;
    RecordingLine line;
    protocol.StoreScreen(doc, kDefaultLinkSettings, line, line);
    EXPECT_EQ(line.Bytes().size(), 130u);
    EXPECT_TRUE(protocol.mirrorDisabled);

    protocol.mirrorDisabled = false;
    RecordingLine failing;
    failing.openResult = kOpenPortFailed;
    protocol.StoreScreen(doc, kDefaultLinkSettings, failing, failing);
    EXPECT_TRUE(failing.Bytes().empty());
    EXPECT_EQ(failing.Count(Event::Pause), 0u);
    EXPECT_FALSE(protocol.mirrorDisabled);

    RecordingLine badPort;
    protocol.StoreScreen(doc, LinkSettings{11, 19200}, badPort, badPort);
    EXPECT_TRUE(badPort.events.empty());
    EXPECT_FALSE(protocol.mirrorDisabled);
}

TEST(StoreScreen, SaysWhetherTheModuleWasReached) {
    ScreenDocument doc = StartupDocument();
    SetDisplaySize(doc, kSize4x20);
    DisplayProtocol protocol;
    RecordingLine line;
    TransferResult result = protocol.StoreScreen(doc, LinkSettings{4, 9600}, line, line);
    EXPECT_EQ(result.outcome, TransferResult::Outcome::Sent);
    EXPECT_EQ(result.bytesSent, 170u);
    EXPECT_EQ(result.bytesTotal, 170u);

    RecordingLine failing;
    failing.openResult = kOpenStateFailed;
    result = protocol.StoreScreen(doc, kDefaultLinkSettings, failing, failing);
    EXPECT_EQ(result.outcome, TransferResult::Outcome::OpenFailed);
    EXPECT_EQ(result.openResult, kOpenStateFailed);

    result = protocol.StoreScreen(doc, LinkSettings{0, 19200}, line, line);
    EXPECT_EQ(result.outcome, TransferResult::Outcome::NoPort);
}

// A line that stops taking bytes: whatever went before arrives, nothing after, no further
// pause, the line is closed; a mirror then stays off, a store leaves the mirror state alone.
TEST(LineThatFailsPartWay, MirrorStopsAndDisablesMirroring) {
    ScreenDocument doc = StartupDocument();
    SetText(doc, 0, "0123456789abcdefghijKLMNOPQRSTUVWXYZ!?#$");
    const std::vector<uint8_t> whole = ExpectedMirror(doc);
    // In a definition, on the last definition byte, inside the first text block, inside the second.
    for (uint32_t budget : {0u, 50u, 87u, 100u, 130u}) {
        DisplayProtocol protocol;
        RecordingLine line;
        line.byteBudget = budget;
        const TransferResult result = protocol.MirrorScreen(doc, kDefaultLinkSettings, line);
        EXPECT_EQ(result.outcome, TransferResult::Outcome::WriteFailed) << budget;
        EXPECT_EQ(result.bytesSent, budget);
        EXPECT_EQ(result.bytesTotal, 136u);
        EXPECT_EQ(line.Bytes(), std::vector<uint8_t>(whole.begin(), whole.begin() + budget));
        EXPECT_EQ(line.events.back().kind, Event::Close);
        EXPECT_EQ(line.Count(Event::Close), 1u);
        EXPECT_TRUE(protocol.mirrorDisabled);
    }
}

TEST(LineThatFailsPartWay, StoreStopsWithoutFurtherPausesAndKeepsTheMirrorState) {
    ScreenDocument doc = StartupDocument();
    SetText(doc, 0, "stored text");
    const std::vector<uint8_t> whole = ExpectedStore(doc);
    struct Case {
        uint32_t budget;
        size_t pauses;  // those that came before the failed write
    };
    // Inside character 0, right after character 2, inside the text after cell 8's pause.
    for (const Case c : {Case{5, 0}, Case{33, 3}, Case{101, 8 + 2}}) {
        DisplayProtocol protocol;
        RecordingLine line;
        line.byteBudget = c.budget;
        const TransferResult result = protocol.StoreScreen(doc, kDefaultLinkSettings, line, line);
        EXPECT_EQ(result.outcome, TransferResult::Outcome::WriteFailed) << c.budget;
        EXPECT_EQ(result.bytesSent, c.budget);
        EXPECT_EQ(result.bytesTotal, 130u);
        EXPECT_EQ(line.Bytes(), std::vector<uint8_t>(whole.begin(), whole.begin() + c.budget));
        EXPECT_EQ(line.Count(Event::Pause), c.pauses) << c.budget;
        EXPECT_EQ(line.events.back().kind, Event::Close);
        EXPECT_FALSE(protocol.mirrorDisabled);
    }
}

}  // namespace

namespace {

// A port named by the caller gets the same transfer as a COM number, on exactly that name.
TEST(NamedPort, SameBytesAndPausesOnTheNameGivenAndNoNameIsNoPort) {
    ScreenDocument doc = StartupDocument();
    SetText(doc, 0, "named port");
    for (const char* name : {"/dev/ttyUSB0", "\\\\.\\COM12", ""}) {
        DisplayProtocol byNumber, byName;
        RecordingLine numbered, named;
        byNumber.StoreScreen(doc, LinkSettings{3, 9600}, numbered, numbered);
        const TransferResult result = byName.StoreScreen(doc, name, 9600, named, named);
        EXPECT_TRUE(result.Reached());
        EXPECT_EQ(result.bytesSent, 130u);
        ASSERT_EQ(named.events.size(), numbered.events.size());
        EXPECT_EQ(named.events.front().name, name);
        EXPECT_EQ(named.events.front().value, 9600u);
        for (size_t i = 1; i < named.events.size(); ++i) {
            EXPECT_EQ(named.events[i].kind, numbered.events[i].kind) << i;
            EXPECT_EQ(named.events[i].bytes, numbered.events[i].bytes) << i;
            EXPECT_EQ(named.events[i].value, numbered.events[i].value) << i;
        }
        RecordingLine mirrored;
        EXPECT_TRUE(byName.MirrorScreen(doc, name, 9600, mirrored).Reached());
        EXPECT_EQ(mirrored.events.front().name, name);
        EXPECT_EQ(mirrored.Bytes(), ExpectedMirror(doc));
    }
    DisplayProtocol protocol;
    RecordingLine line;
    EXPECT_EQ(protocol.StoreScreen(doc, nullptr, 19200, line, line).outcome, TransferResult::Outcome::NoPort);
    EXPECT_EQ(protocol.MirrorScreen(doc, nullptr, 19200, line).outcome, TransferResult::Outcome::NoPort);
    EXPECT_EQ(line.Count(Event::Open), 0u);
    EXPECT_TRUE(protocol.mirrorDisabled);
}

}  // namespace
