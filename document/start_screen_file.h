#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "document/screen_document.h"

// Size code, the eight user characters, then rows * columns text bytes; nothing else.
inline constexpr size_t kHeaderBytes = 4;
inline constexpr size_t kTextOffset = kHeaderBytes + kUserGlyphBytes;
inline constexpr size_t kMaxStartScreenBytes = kTextOffset + 80;

using StartScreenBytes = std::array<uint8_t, kMaxStartScreenBytes>;

enum class LoadOutcome { Complete, TextShort };

// Applies file bytes to the document as the reads of a loader would: every part takes
// what the file supplies and keeps its previous bytes for the rest.
LoadOutcome ReadStartScreen(ScreenDocument& doc, const uint8_t* data, size_t size);

// Returns the file's length.
size_t WriteStartScreen(const ScreenDocument& doc, StartScreenBytes& out);
