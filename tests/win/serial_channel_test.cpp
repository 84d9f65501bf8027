#include "link/serial_channel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "link/display_protocol.h"
#include "port_reader.h"

namespace {

// A fake kernel for the failures no real port gives on demand.
struct FakeComm {
    static inline bool maskOk, timeoutsOk, stateOk, createOk;
    static inline int creates, closes, writes;
    static inline BOOL writeOk;
    static inline DWORD writeTakes;
    static inline DCB lastDcb;
    static inline COMMTIMEOUTS lastTimeouts;
    static inline std::vector<HANDLE> closed;

    static void Reset() {
        maskOk = timeoutsOk = stateOk = createOk = true;
        creates = closes = writes = 0;
        writeOk = FALSE;
        writeTakes = 0;
        closed.clear();
    }
    // Each failing call leaves its own error code, so the reason can be traced to the call.
    static HANDLE WINAPI Create(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
        ++creates;
        if (!createOk) SetLastError(ERROR_FILE_NOT_FOUND);
        return createOk ? reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x100 + creates)) : INVALID_HANDLE_VALUE;
    }
    static BOOL WINAPI Mask(HANDLE, DWORD) {
        if (!maskOk) SetLastError(ERROR_NOT_SUPPORTED);
        return maskOk;
    }
    static BOOL WINAPI Timeouts(HANDLE, LPCOMMTIMEOUTS t) {
        lastTimeouts = *t;
        if (!timeoutsOk) SetLastError(ERROR_INVALID_PARAMETER);
        return timeoutsOk;
    }
    static BOOL WINAPI State(HANDLE, LPDCB dcb) {
        lastDcb = *dcb;
        if (!stateOk) SetLastError(ERROR_GEN_FAILURE);
        return stateOk;
    }
    static BOOL WINAPI Write(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
        ++writes;
        *written = writeTakes;
        if (!writeOk) SetLastError(ERROR_ACCESS_DENIED);
        return writeOk;
    }
    static BOOL WINAPI Close(HANDLE h) {
        ++closes;
        closed.push_back(h);
        return TRUE;
    }
    static const CommApi& Api() {
        static const CommApi api{Create, Mask, Timeouts, State, Write, Close};
        return api;
    }
};

class SerialChannelSeam : public testing::Test {
protected:
    void SetUp() override { FakeComm::Reset(); }
};

TEST_F(SerialChannelSeam, EachFailureGivesItsSingleCodeAndClosesThePort) {
    struct Case {
        bool mask, timeouts, state;
        int32_t result;
    };
    for (const Case c : {Case{false, true, true, 1}, Case{true, false, true, 2}, Case{false, false, true, 2},
                         Case{true, true, false, 4}, Case{false, false, false, 4}, Case{true, true, true, 0}}) {
        FakeComm::Reset();
        FakeComm::maskOk = c.mask;
        FakeComm::timeoutsOk = c.timeouts;
        FakeComm::stateOk = c.state;
        SerialChannel channel(FakeComm::Api());
        EXPECT_EQ(channel.Open("COM3", 19200, ParityMode::None), c.result);
        EXPECT_EQ(channel.IsOpen(), c.result == 0);
        EXPECT_EQ(FakeComm::closes, c.result == 0 ? 0 : 1);
    }
}

TEST_F(SerialChannelSeam, OpenOnAnOpenChannelClosesTheOldPortFirstEvenWhenTheNewOpenFails) {
    SerialChannel channel(FakeComm::Api());
    ASSERT_EQ(channel.Open("COM3", 19200, ParityMode::None), 0);
    FakeComm::createOk = false;
    EXPECT_EQ(channel.Open("COM5", 9600, ParityMode::None), 8);
    ASSERT_EQ(FakeComm::closed.size(), 1u);
    EXPECT_EQ(FakeComm::closed[0], reinterpret_cast<HANDLE>(0x101));
    EXPECT_FALSE(channel.IsOpen());
    channel.Close();
    channel.Close();
    EXPECT_EQ(FakeComm::closes, 1) << "closing a closed channel is harmless";
}

TEST_F(SerialChannelSeam, NoNameGives16WithoutTouchingAPort) {
    SerialChannel channel(FakeComm::Api());
    EXPECT_EQ(channel.Open(nullptr, 19200, ParityMode::None), 16);
    EXPECT_EQ(FakeComm::creates, 0);
}

TEST_F(SerialChannelSeam, NoTimeoutsAndTheLineSetupAsTabled) {
    SerialChannel channel(FakeComm::Api());
    ASSERT_EQ(channel.Open("COM3", 57600, ParityMode::None), 0);
    const COMMTIMEOUTS& t = FakeComm::lastTimeouts;
    EXPECT_EQ(t.ReadIntervalTimeout + t.ReadTotalTimeoutMultiplier + t.ReadTotalTimeoutConstant +
                  t.WriteTotalTimeoutMultiplier + t.WriteTotalTimeoutConstant,
              0u);
    const DCB& dcb = FakeComm::lastDcb;
    EXPECT_EQ(dcb.DCBlength, 28u);
    EXPECT_EQ(dcb.BaudRate, 57600u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.XonLim, 2);
    EXPECT_EQ(dcb.XoffLim, 4);
    EXPECT_EQ(dcb.XonChar, 0x13);
    EXPECT_EQ(dcb.XoffChar, 0x19);
    EXPECT_EQ(dcb.ErrorChar + dcb.EofChar + dcb.EvtChar, 0);
    EXPECT_STREQ(channel.Name(), "COM3");
}

uint32_t FlagWord(const DCB& dcb) {
    uint32_t word;
    std::memcpy(&word, reinterpret_cast<const char*>(&dcb) + 8, sizeof word);
    return word;
}

TEST(LineDcb, FlagWordIsOneWithoutParityAndThreeWithIt) {
    EXPECT_EQ(FlagWord(MakeLineDcb(19200, ParityMode::None)), 1u);
    EXPECT_EQ(FlagWord(MakeLineDcb(19200, ParityMode::Odd)), 3u);
    EXPECT_EQ(FlagWord(MakeLineDcb(19200, ParityMode::Even)), 3u);
    EXPECT_EQ(MakeLineDcb(19200, ParityMode::Odd).Parity, ODDPARITY);
    EXPECT_EQ(MakeLineDcb(19200, ParityMode::Even).Parity, EVENPARITY);
    const DCB other = MakeLineDcb(19200, static_cast<ParityMode>(7));
    EXPECT_EQ(other.Parity, 0);
    EXPECT_EQ(FlagWord(other), 1u);
}

TEST_F(SerialChannelSeam, WritesOnAClosedChannelSendNothingAndSaySo) {
    SerialChannel channel(FakeComm::Api());
    EXPECT_FALSE(channel.WriteByte(0x41));
    const uint8_t bytes[3] = {1, 2, 3};
    EXPECT_EQ(channel.Write(bytes, 3), 0u);
    EXPECT_EQ(FakeComm::writes, 0);
}

std::string SystemText(DWORD error) {
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                   nullptr);
    return text;
}

// The reason reads inside a sentence of ours: the system's words without the full stop and line break.
TEST_F(SerialChannelSeam, AFailureKeepsTheReasonOfTheCallThatFailedUntilTheNextOpen) {
    struct Case {
        bool create, mask, timeouts, state;
        DWORD error;
    };
    for (const Case c : {Case{false, true, true, true, ERROR_FILE_NOT_FOUND},
                         Case{true, false, true, true, ERROR_NOT_SUPPORTED},
                         Case{true, false, false, true, ERROR_INVALID_PARAMETER},
                         Case{true, true, true, false, ERROR_GEN_FAILURE}}) {
        FakeComm::Reset();
        FakeComm::createOk = c.create;
        FakeComm::maskOk = c.mask;
        FakeComm::timeoutsOk = c.timeouts;
        FakeComm::stateOk = c.state;
        SerialChannel channel(FakeComm::Api());
        ASSERT_NE(channel.Open("COM3", 19200, ParityMode::None), 0);
        const std::string reason = channel.FailureReason();
        const std::string system = SystemText(c.error);
        ASSERT_FALSE(reason.empty()) << c.error;
        EXPECT_EQ(system.rfind(reason, 0), 0u) << system;
        EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos);
        EXPECT_NE(reason.back(), '.');
        channel.Close();
        EXPECT_EQ(channel.FailureReason(), reason) << "a close keeps it";
        FakeComm::Reset();
        ASSERT_EQ(channel.Open("COM3", 19200, ParityMode::None), 0);
        EXPECT_STREQ(channel.FailureReason(), "");
    }
}

// One wording of system errors for the whole program: the system's sentence without its ending.
TEST(SystemErrorText, IsTheSystemsSentenceWithoutFullStopOrLineBreak) {
    for (const DWORD error : {DWORD{ERROR_FILE_NOT_FOUND}, DWORD{ERROR_ACCESS_DENIED}, DWORD{ERROR_SHARING_VIOLATION},
                              DWORD{ERROR_GEN_FAILURE}, DWORD{ERROR_DISK_FULL}}) {
        char text[256];
        std::memset(text, 'x', sizeof text);
        SystemErrorText(error, text, sizeof text);
        const std::string system = SystemText(error);
        const std::string reason = text;
        ASSERT_FALSE(reason.empty()) << error;
        EXPECT_EQ(system.rfind(reason, 0), 0u) << system;
        EXPECT_EQ(system.find_first_not_of(" .\r\n", reason.size()), std::string::npos)
            << "only the ending is cut: [" << system << "]";
        EXPECT_EQ(std::string(" .\r\n").find(reason.back()), std::string::npos) << reason;
    }
}

TEST(SystemErrorText, NamesACodeTheSystemHasNoWordsForAndNeverOverrunsItsBuffer) {
    char text[64];
    SystemErrorText(0x2000ABCD, text, sizeof text);
    EXPECT_STREQ(text, "system error 536914893");

    char small[12];
    std::memset(small, 'x', sizeof small);
    SystemErrorText(ERROR_ACCESS_DENIED, small, sizeof small - 1);
    EXPECT_LT(std::strlen(small), sizeof small - 1);
    EXPECT_EQ(small[sizeof small - 1], 'x');

    char untouched = 'u';
    SystemErrorText(ERROR_ACCESS_DENIED, &untouched, 0);
    EXPECT_EQ(untouched, 'u');
}

TEST_F(SerialChannelSeam, AFailedOrShortWriteReportsWhatTheSystemTook) {
    SerialChannel channel(FakeComm::Api());
    ASSERT_EQ(channel.Open("COM3", 19200, ParityMode::None), 0);
    const uint8_t bytes[20] = {};
    FakeComm::writeOk = TRUE;
    FakeComm::writeTakes = 20;
    EXPECT_EQ(channel.Write(bytes, 20), 20u);
    EXPECT_STREQ(channel.FailureReason(), "");
    FakeComm::writeTakes = 1;
    EXPECT_TRUE(channel.WriteByte(0x41));
    FakeComm::writeTakes = 7;
    EXPECT_EQ(channel.Write(bytes, 20), 7u);
    EXPECT_STRNE(channel.FailureReason(), "");
    FakeComm::writeTakes = 0;
    EXPECT_FALSE(channel.WriteByte(0x41)) << "a byte the system did not take";
    FakeComm::writeOk = FALSE;
    FakeComm::writeTakes = 5;
    EXPECT_EQ(channel.Write(bytes, 20), 0u) << "a failed call counts as nothing taken";
    EXPECT_EQ(SystemText(ERROR_ACCESS_DENIED).rfind(channel.FailureReason(), 0), 0u);
}

// Against real ports: COM3 is one end of a pseudo-terminal pair whose other end is COM4.
TEST(SerialChannelPort, BytesWrittenToAnOpenPortArriveExactlyLowByteOnly) {
    PortReader farEnd("COM4");
    ASSERT_TRUE(farEnd.IsOpen());
    SerialChannel channel;
    ASSERT_EQ(channel.Open("COM3", 19200, ParityMode::None), 0);
    channel.WriteByte(0x1234);
    channel.WriteByte(0xFE);
    const uint8_t block[4] = {0x00, 0x7F, 0x80, 0xFF};
    channel.Write(block, 4);
    channel.Close();
    EXPECT_EQ(farEnd.Read(6), (std::vector<uint8_t>{0x34, 0xFE, 0x00, 0x7F, 0x80, 0xFF}));
}

TEST(SerialChannelPort, APortThatCannotBeOpenedGivesEightAndStaysClosed) {
    for (const char* name : {"COM7", "COM9", "NOPORT"}) {
        SerialChannel channel;
        EXPECT_EQ(channel.Open(name, 19200, ParityMode::None), 8) << name;
        EXPECT_FALSE(channel.IsOpen());
        channel.WriteByte(1);
    }
}

TEST(SerialChannelPort, TheFailedReopenLeavesThePortFreeForTheNextTransfer) {
    SerialChannel channel;
    ASSERT_EQ(channel.Open("COM3", 19200, ParityMode::None), 0);
    EXPECT_EQ(channel.Open("COM7", 19200, ParityMode::None), 8);
    SerialChannel next;
    EXPECT_EQ(next.Open("COM3", 19200, ParityMode::None), 0);
}

TEST(DisplayProtocolPort, MirrorAndStoreArriveByteForByteOnTheLine) {
    ScreenDocument doc;
    for (size_t i = 0; i < kUserGlyphBytes; ++i) doc.glyphs[i] = (i % 3 == 0) ? 1 : 0;
    SetDisplaySize(doc, 0x800A);
    for (size_t i = 0; i < 80; ++i) doc.cells[i] = static_cast<uint8_t>('a' + i % 26);

    std::vector<uint8_t> expectedMirror, expectedStore;
    for (uint8_t code = 0; code < 8; ++code) {
        expectedMirror.insert(expectedMirror.end(), {0xFE, 0x4E, code});
        expectedStore.insert(expectedStore.end(), {0xFE, 0xC2, code});
        for (size_t row = 0; row < 8; ++row) {
            const uint8_t packed = PackRow(&doc.glyphs[code * 56 + row * 7]);
            expectedMirror.push_back(packed);
            expectedStore.push_back(packed);
        }
    }
    expectedMirror.insert(expectedMirror.end(), {0xFE, 0x47, 1, 1});
    expectedMirror.insert(expectedMirror.end(), doc.cells.begin(), doc.cells.begin() + 20);
    expectedMirror.insert(expectedMirror.end(), {0xFE, 0x47, 1, 2});
    expectedMirror.insert(expectedMirror.end(), doc.cells.begin() + 20, doc.cells.begin() + 40);
    expectedStore.insert(expectedStore.end(), {0xFE, 0x40});
    expectedStore.insert(expectedStore.end(), doc.cells.begin(), doc.cells.begin() + 80);

    PortReader farEnd("COM4");
    ASSERT_TRUE(farEnd.IsOpen());
    DisplayProtocol protocol;
    SerialChannel channel;
    protocol.MirrorScreen(doc, kDefaultLinkSettings, channel);
    EXPECT_EQ(farEnd.Read(136), expectedMirror);
    EXPECT_FALSE(channel.IsOpen());

    struct NoPause final : Sleeper {
        void Sleep(uint32_t) override {}
    } noPause;
    protocol.StoreScreen(doc, kDefaultLinkSettings, channel, noPause);
    EXPECT_EQ(farEnd.Read(170), expectedStore);
}

TEST(DisplayProtocolPort, EveryGeometryArrivesOnThePortAsItsPlanSaysWithThePlannedPauses) {
    struct NotedPauses final : Sleeper {
        void Sleep(uint32_t milliseconds) override { pauses.push_back(milliseconds); }
        std::vector<uint32_t> pauses;
    };
    PortReader farEnd("COM4");
    ASSERT_TRUE(farEnd.IsOpen());
    for (uint16_t size : {uint16_t{0x8008}, uint16_t{0x8009}, uint16_t{0x800A}}) {
        ScreenDocument doc;
        SetDisplaySize(doc, size);
        // The command prefix goes out as a blank; pixel bytes other than 0 are lit.
        for (size_t i = 0; i < kCellCount; ++i) doc.cells[i] = static_cast<uint8_t>(0xF9 + i % 7);
        for (size_t i = 0; i < kUserGlyphBytes; ++i) doc.glyphs[i] = static_cast<uint8_t>(i % 4 == 0 ? 0x80 : i % 3);

        DisplayProtocol protocol;
        SerialChannel channel;
        const TransferPlan mirror = MirrorPlan(doc);
        protocol.MirrorScreen(doc, kDefaultLinkSettings, channel);
        EXPECT_EQ(farEnd.Read(mirror.ByteCount()), mirror.Bytes()) << size;

        const TransferPlan store = StorePlan(doc);
        std::vector<uint32_t> planned;
        for (const TransferStep& step : store.steps) {
            if (step.IsPause()) planned.push_back(step.pauseMs);
        }
        NotedPauses pauses;
        const TransferResult result = protocol.StoreScreen(doc, kDefaultLinkSettings, channel, pauses);
        EXPECT_TRUE(result.Reached());
        EXPECT_EQ(result.bytesSent, store.ByteCount());
        EXPECT_EQ(farEnd.Read(store.ByteCount()), store.Bytes()) << size;
        EXPECT_EQ(pauses.pauses, planned) << size;
    }
}

TEST(DisplayProtocolPort, AMirrorToAPortThatCannotOpenDisablesMirroringSilently) {
    DisplayProtocol protocol;
    SerialChannel channel;
    ScreenDocument doc;
    protocol.MirrorScreen(doc, LinkSettings{7, 19200}, channel);
    EXPECT_TRUE(protocol.mirrorDisabled);
    EXPECT_FALSE(channel.IsOpen());
}

}  // namespace
