#pragma once
#include <cstdint>
#include <cstring>
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
    SetDisplaySize(doc, kSize2x20, nullptr);
    return doc;
}

inline void SetText(ScreenDocument& doc, size_t first, const std::string& text) {
    std::memcpy(doc.cells.data() + first, text.data(), text.size());
}

// Counts what the document code asks of its windows.
struct WindowCalls final : DocumentWindows {
    void ShowGeometry() override { calls += "geometry;"; }
    void RedrawFrame() override { calls += "frame;"; }
    std::string calls;
};

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
    void WriteByte(uint32_t value) override {
        events.push_back({Event::Byte, {static_cast<uint8_t>(value)}, value, {}});
    }
    void Write(const uint8_t* bytes, uint32_t count) override {
        events.push_back({Event::Block, std::vector<uint8_t>(bytes, bytes + count), count, {}});
    }
    void Close() override { events.push_back({Event::Close, {}, 0, {}}); }
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
    ParityMode lastParity = ParityMode::Odd;
    std::vector<Event> events;
};
