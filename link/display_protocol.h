#pragma once
#include <cstdint>

#include "document/screen_document.h"
#include "link/link_settings.h"
#include "link/serial_line.h"
#include "link/transfer_plan.h"

inline constexpr uint8_t kCommandPrefix = 0xFE;
inline constexpr uint8_t kDefineCharacter = 0x4E;
inline constexpr uint8_t kPlaceCursor = 0x47;
inline constexpr uint8_t kStoreCharacter = 0xC2;
inline constexpr uint8_t kStoreText = 0x40;

inline constexpr uint32_t kMirrorBlockBytes = 20;
inline constexpr uint32_t kCharacterPauseMs = 20;
inline constexpr uint32_t kTextPauseMs = 20;
inline constexpr uint32_t kTextPauseEvery = 8;
inline constexpr uint32_t kFinalPauseMs = 150;

inline constexpr int32_t kLastPortNumber = 9;

// The prefix and one digit, "COM3" as the system names the port; false, and no name, for a
// port outside 1-9.
bool BuildPortName(int32_t portNumber, char (&name)[5], const char (&prefix)[4] = "COM");

// The command prefix as text would make the module run the bytes after it as a command.
uint8_t SafeTextByte(uint8_t cell);

inline constexpr uint32_t kMirrorBytes = 136;

// How one transfer went. The line's FailureReason says why an open or a write failed.
struct TransferResult {
    enum class Outcome {
        Sent,         // every byte was taken by the line
        Skipped,      // mirroring is disabled; no port was touched
        NoPort,       // the port number lies outside 1-9
        OpenFailed,   // openResult holds the line's code
        WriteFailed,  // the line took bytesSent of bytesTotal, then failed
    };
    Outcome outcome = Outcome::Sent;
    int32_t openResult = kOpenOk;
    uint32_t bytesSent = 0;
    uint32_t bytesTotal = 0;

    bool Reached() const { return outcome == Outcome::Sent; }
};

class DisplayProtocol {
public:
    // Shows the user characters and the first two rows on the module. A port that does not
    // open, or a write that fails, disables mirroring until EnableMirror.
    TransferResult MirrorScreen(const ScreenDocument& doc, const LinkSettings& settings, SerialLine& line);
    // Stores the user characters and the whole text as the module's power-on screen; stops at
    // the first failed write.
    TransferResult StoreScreen(const ScreenDocument& doc, const LinkSettings& settings, SerialLine& line,
                               Sleeper& sleeper);
    // The same on a port the caller names: a device path, or any COM name. A null name is no port.
    TransferResult MirrorScreen(const ScreenDocument& doc, const char* portName, int32_t baudRate, SerialLine& line);
    TransferResult StoreScreen(const ScreenDocument& doc, const char* portName, int32_t baudRate, SerialLine& line,
                               Sleeper& sleeper);

    void EnableMirror() { mirrorDisabled = false; }

    bool mirrorDisabled = false;
};
