#include "link/display_protocol.h"

namespace {

bool OpenLine(const LinkSettings& settings, SerialLine& line) {
    char name[5];
    if (!BuildPortName(settings.portNumber, name)) return false;
    if (line.Open(name, settings.baudRate, ParityMode::None) == kOpenOk) return true;
    line.Close();
    return false;
}

void SendCharacter(const ScreenDocument& doc, uint8_t command, uint8_t code, SerialLine& line) {
    line.WriteByte(kCommandPrefix);
    line.WriteByte(command);
    line.WriteByte(code);
    const uint8_t* glyph = doc.glyphs.data() + code * kGlyphBytes;
    for (size_t row = 0; row < kGlyphRows; ++row) line.WriteByte(PackRow(glyph + row * kGlyphRowBytes));
}

void SendMirrorRow(const ScreenDocument& doc, uint8_t row, SerialLine& line) {
    line.WriteByte(kCommandPrefix);
    line.WriteByte(kPlaceCursor);
    line.WriteByte(1);
    line.WriteByte(row);
    uint8_t block[kMirrorBlockBytes];
    const size_t first = (row - 1u) * kMirrorBlockBytes;
    for (size_t i = 0; i < kMirrorBlockBytes; ++i) block[i] = SafeTextByte(doc.cells[first + i]);
    line.Write(block, kMirrorBlockBytes);
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
    for (size_t column = 0; column < 5; ++column) {
        packed = static_cast<uint8_t>(packed << 1 | (glyphRow[column] != 0 ? 1 : 0));
    }
    return packed;
}

uint8_t SafeTextByte(uint8_t cell) { return cell == kCommandPrefix ? kSpace : cell; }

void DisplayProtocol::MirrorScreen(const ScreenDocument& doc, const LinkSettings& settings,
                                   SerialLine& line) {
    if (mirrorDisabled) return;
    if (!OpenLine(settings, line)) {
        mirrorDisabled = true;
        return;
    }
    for (uint8_t code = 0; code < kUserGlyphCount; ++code) SendCharacter(doc, kDefineCharacter, code, line);
    SendMirrorRow(doc, 1, line);
    SendMirrorRow(doc, 2, line);
    line.Close();
}

void DisplayProtocol::StoreScreen(const ScreenDocument& doc, const LinkSettings& settings,
                                  SerialLine& line, Sleeper& sleeper) {
    if (!OpenLine(settings, line)) return;
    for (uint8_t code = 0; code < kUserGlyphCount; ++code) {
        SendCharacter(doc, kStoreCharacter, code, line);
        sleeper.Sleep(kCharacterPauseMs);
    }
    line.WriteByte(kCommandPrefix);
    line.WriteByte(kStoreText);
    const size_t cells = UsedCellCount(doc);
    for (size_t k = 0; k < cells; ++k) {
        line.WriteByte(SafeTextByte(doc.cells[k]));
        if (k % kTextPauseEvery == 0) sleeper.Sleep(kTextPauseMs);
    }
    sleeper.Sleep(kFinalPauseMs);
    line.Close();
}
