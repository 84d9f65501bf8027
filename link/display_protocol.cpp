#include "link/display_protocol.h"

namespace {

// Sends through the line until the first write it does not take; everything after that is dropped.
class Transfer {
public:
    Transfer(SerialLine& line, uint32_t bytesTotal) : line_(line) { result_.bytesTotal = bytesTotal; }

    // False, with nothing opened, for no port name or a line that does not open.
    bool Open(const char* portName, int32_t baudRate) {
        if (portName == nullptr) {
            result_.outcome = TransferResult::Outcome::NoPort;
            return false;
        }
        result_.openResult = line_.Open(portName, baudRate, ParityMode::None);
        if (result_.openResult == kOpenOk) return true;
        line_.Close();
        result_.outcome = TransferResult::Outcome::OpenFailed;
        return false;
    }
    void Byte(uint8_t value) {
        if (!Going()) return;
        if (line_.WriteByte(value)) {
            ++result_.bytesSent;
        } else {
            result_.outcome = TransferResult::Outcome::WriteFailed;
        }
    }
    void Block(const uint8_t* bytes, uint32_t count) {
        if (!Going()) return;
        const uint32_t taken = line_.Write(bytes, count);
        result_.bytesSent += taken < count ? taken : count;
        if (taken < count) result_.outcome = TransferResult::Outcome::WriteFailed;
    }
    void Pause(Sleeper& sleeper, uint32_t milliseconds) {
        if (Going()) sleeper.Sleep(milliseconds);
    }
    bool Going() const { return result_.outcome == TransferResult::Outcome::Sent; }
    TransferResult Finish() {
        line_.Close();
        return result_;
    }
    TransferResult Result() const { return result_; }

private:
    SerialLine& line_;
    TransferResult result_;
};

void SendCharacter(const ScreenDocument& doc, uint8_t command, uint8_t code, Transfer& transfer) {
    transfer.Byte(kCommandPrefix);
    transfer.Byte(command);
    transfer.Byte(code);
    const uint8_t* glyph = doc.glyphs.data() + code * kGlyphBytes;
    for (size_t row = 0; row < kGlyphRows; ++row) transfer.Byte(PackRow(glyph + row * kGlyphRowBytes));
}

// Always 20 cells from cell 0 or 20, whatever the geometry: the module's first two lines are what
// its owner watches while editing, and rows 3 and 4 reach it with "Write to Display".
void SendMirrorRow(const ScreenDocument& doc, uint8_t row, Transfer& transfer) {
    transfer.Byte(kCommandPrefix);
    transfer.Byte(kPlaceCursor);
    transfer.Byte(1);
    transfer.Byte(row);
    uint8_t block[kMirrorBlockBytes];
    const size_t first = (row - 1u) * kMirrorBlockBytes;
    for (size_t i = 0; i < kMirrorBlockBytes; ++i) block[i] = SafeTextByte(doc.cells[first + i]);
    transfer.Block(block, kMirrorBlockBytes);
}

constexpr uint32_t kCharacterBytes = 3 + kGlyphRows;
constexpr uint32_t kCursorPlacementBytes = 4;
static_assert(kMirrorBytes == kUserGlyphCount * kCharacterBytes + 2 * (kCursorPlacementBytes + kMirrorBlockBytes));

// Null for a port number outside 1-9.
const char* PortName(const LinkSettings& settings, char (&name)[5]) {
    return BuildPortName(settings.portNumber, name) ? name : nullptr;
}

}  // namespace

bool BuildPortName(int32_t portNumber, char (&name)[5]) {
    if (portNumber < 1 || portNumber > 9) return false;
    name[0] = 'C';
    name[1] = 'O';
    name[2] = 'M';
    name[3] = static_cast<char>('0' + portNumber);
    name[4] = '\0';
    return true;
}

uint8_t PackRow(const uint8_t* glyphRow) {
    uint8_t packed = 0;
    for (int column = 0; column < kDotColumns; ++column) {
        packed = static_cast<uint8_t>(packed << 1 | (glyphRow[column] != 0 ? 1 : 0));
    }
    return packed;
}

uint8_t SafeTextByte(uint8_t cell) { return cell == kCommandPrefix ? kSpace : cell; }

TransferResult DisplayProtocol::MirrorScreen(const ScreenDocument& doc, const LinkSettings& settings,
                                             SerialLine& line) {
    char name[5];
    return MirrorScreen(doc, PortName(settings, name), settings.baudRate, line);
}

TransferResult DisplayProtocol::StoreScreen(const ScreenDocument& doc, const LinkSettings& settings,
                                            SerialLine& line, Sleeper& sleeper) {
    char name[5];
    return StoreScreen(doc, PortName(settings, name), settings.baudRate, line, sleeper);
}

TransferResult DisplayProtocol::MirrorScreen(const ScreenDocument& doc, const char* portName, int32_t baudRate,
                                             SerialLine& line) {
    TransferResult skipped;
    skipped.outcome = TransferResult::Outcome::Skipped;
    if (mirrorDisabled) return skipped;

    Transfer transfer(line, kMirrorBytes);
    if (!transfer.Open(portName, baudRate)) {
        mirrorDisabled = true;
        return transfer.Result();
    }
    for (uint8_t code = 0; code < kUserGlyphCount; ++code) SendCharacter(doc, kDefineCharacter, code, transfer);
    SendMirrorRow(doc, 1, transfer);
    SendMirrorRow(doc, 2, transfer);
    const TransferResult result = transfer.Finish();
    if (!result.Reached()) mirrorDisabled = true;
    return result;
}

TransferResult DisplayProtocol::StoreScreen(const ScreenDocument& doc, const char* portName, int32_t baudRate,
                                            SerialLine& line, Sleeper& sleeper) {
    const size_t cells = UsedCellCount(doc);
    Transfer transfer(line, static_cast<uint32_t>(kUserGlyphCount * kCharacterBytes + 2 + cells));
    if (!transfer.Open(portName, baudRate)) return transfer.Result();
    for (uint8_t code = 0; code < kUserGlyphCount; ++code) {
        SendCharacter(doc, kStoreCharacter, code, transfer);
        transfer.Pause(sleeper, kCharacterPauseMs);
    }
    transfer.Byte(kCommandPrefix);
    transfer.Byte(kStoreText);
    for (size_t k = 0; k < cells && transfer.Going(); ++k) {
        transfer.Byte(SafeTextByte(doc.cells[k]));
        if (k % kTextPauseEvery == 0) transfer.Pause(sleeper, kTextPauseMs);
    }
    transfer.Pause(sleeper, kFinalPauseMs);
    return transfer.Finish();
}
