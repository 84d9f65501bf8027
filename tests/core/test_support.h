#pragma once
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "document/display_size.h"
#include "document/screen_document.h"
#include "link/serial_line.h"

inline const unsigned char kShippedGlyphs[kGlyphTableBytes] = {
#include "glyph_table_data.inc"
};

// The document as the program holds it right after start-up: 2x20, blank, shipped glyphs.
inline ScreenDocument StartupDocument() {
    ScreenDocument doc;
    InitializeDocument(doc, kShippedGlyphs);
    SetDisplaySize(doc, kSize2x20);
    return doc;
}

inline void SetText(ScreenDocument& doc, size_t first, const std::string& text) {
    std::memcpy(doc.cells.data() + first, text.data(), text.size());
}

// A serial line that records every event in order: opens, bytes, block boundaries, pauses, closes.
class RecordingLine final : public SerialLine, public Sleeper {
public:
    struct Event {
        enum Kind { Open, Byte, Block, Pause, Close } kind;
        std::vector<uint8_t> bytes;
        uint32_t value = 0;
        std::string name;
    };

    int32_t Open(const char* name, int32_t baudRate, ParityMode parity) override {
        events.push_back({Event::Open, {}, static_cast<uint32_t>(baudRate), name ? name : ""});
        lastParity = parity;
        return openResult;
    }
    bool WriteByte(uint32_t value) override {
        if (byteBudget == 0) return false;
        --byteBudget;
        events.push_back({Event::Byte, {static_cast<uint8_t>(value)}, value, {}});
        return true;
    }
    uint32_t Write(const uint8_t* bytes, uint32_t count) override {
        const uint32_t taken = count < byteBudget ? count : static_cast<uint32_t>(byteBudget);
        byteBudget -= taken;
        events.push_back({Event::Block, std::vector<uint8_t>(bytes, bytes + taken), count, {}});
        return taken;
    }
    void Close() override { events.push_back({Event::Close, {}, 0, {}}); }
    const char* FailureReason() const override { return ""; }
    void Sleep(uint32_t milliseconds) override { events.push_back({Event::Pause, {}, milliseconds, {}}); }

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> all;
        for (const Event& e : events) all.insert(all.end(), e.bytes.begin(), e.bytes.end());
        return all;
    }
    size_t Count(Event::Kind kind) const {
        size_t n = 0;
        for (const Event& e : events) n += e.kind == kind ? 1 : 0;
        return n;
    }

    int32_t openResult = kOpenOk;
    size_t byteBudget = SIZE_MAX;  // bytes the line takes before every write fails
    ParityMode lastParity = ParityMode::Odd;
    std::vector<Event> events;
};

// Columns 0-4 of a glyph row as bits 4-0, worked out here rather than by the code under test.
inline uint8_t PackedRow(const ScreenDocument& doc, size_t code, size_t row) {
    uint8_t bits = 0;
    for (size_t column = 0; column < 5; ++column) {
        if (doc.glyphs[code * kGlyphBytes + row * kGlyphRowBytes + column] != 0) bits |= static_cast<uint8_t>(0x10 >> column);
    }
    return bits;
}

inline void AppendUserCharacters(std::vector<uint8_t>& bytes, const ScreenDocument& doc, uint8_t command) {
    for (uint8_t code = 0; code < kUserGlyphCount; ++code) {
        bytes.insert(bytes.end(), {0xFE, command, code});
        for (size_t row = 0; row < kGlyphRows; ++row) bytes.push_back(PackedRow(doc, code, row));
    }
}

// What the module receives for a mirror and for a store of a document whose text holds no 0xFE.
inline std::vector<uint8_t> ExpectedMirror(const ScreenDocument& doc) {
    std::vector<uint8_t> bytes;
    AppendUserCharacters(bytes, doc, 0x4E);
    bytes.insert(bytes.end(), {0xFE, 0x47, 0x01, 0x01});
    bytes.insert(bytes.end(), doc.cells.begin(), doc.cells.begin() + 20);
    bytes.insert(bytes.end(), {0xFE, 0x47, 0x01, 0x02});
    bytes.insert(bytes.end(), doc.cells.begin() + 20, doc.cells.begin() + 40);
    return bytes;
}

inline std::vector<uint8_t> ExpectedStore(const ScreenDocument& doc) {
    std::vector<uint8_t> bytes;
    AppendUserCharacters(bytes, doc, 0xC2);
    bytes.insert(bytes.end(), {0xFE, 0x40});
    bytes.insert(bytes.end(), doc.cells.begin(), doc.cells.begin() + UsedCellCount(doc));
    return bytes;
}

inline std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}
