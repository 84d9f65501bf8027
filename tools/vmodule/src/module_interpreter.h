#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "tools/vmodule/src/display_geometry.h"

namespace vmodule {

inline constexpr int kUserCharacterCount = 8;
inline constexpr int kCharacterRowCount = 8;

// One byte per dot row; bit 4 is the leftmost dot, bits 7-5 are always 0.
using CharacterRows = std::array<unsigned char, kCharacterRowCount>;
using UserCharacters = std::array<CharacterRows, kUserCharacterCount>;
using TextGrid = std::array<std::array<unsigned char, kMaxColumns>, kMaxRows>;

struct NonVolatileStore {
    UserCharacters characters{};
    TextGrid text{};

    friend bool operator==(const NonVolatileStore&, const NonVolatileStore&) = default;
};

struct Cursor {
    int column;
    int row;

    friend bool operator==(const Cursor&, const Cursor&) = default;
};

inline constexpr unsigned char kCommandPrefix = 0xFE;
inline constexpr unsigned char kDefineCharacter = 0x4E;
inline constexpr unsigned char kPlaceCursor = 0x47;
inline constexpr unsigned char kStoreCharacter = 0xC2;
inline constexpr unsigned char kStoreText = 0x40;

// The module's reaction to its serial byte stream. Bytes may come in any
// chunks; nothing outside the fixed grids is ever touched.
class ModuleInterpreter {
public:
    explicit ModuleInterpreter(DisplayGeometry geometry);

    void Feed(std::span<const unsigned char> bytes);
    void Feed(unsigned char byte);

    bool CommandIncomplete() const;
    // For a sender that stopped in the middle of a command: the next byte
    // starts afresh instead of completing the broken command.
    void AbandonIncompleteCommand();

    void PowerCycle();
    void LoadStore(const NonVolatileStore& store);

    DisplayGeometry Geometry() const { return geometry_; }
    const TextGrid& Display() const { return display_; }
    Cursor CursorAt() const { return cursor_; }
    const UserCharacters& UserGlyphs() const { return userCharacters_; }
    const NonVolatileStore& Store() const { return store_; }
    // Grows with every change of the store, so callers know when to save it.
    std::uint64_t StoreRevision() const { return storeRevision_; }
    std::uint64_t BytesReceived() const { return bytesReceived_; }

private:
    enum class Phase { Text, Command, Arguments, StoredText };

    void BeginCommand(unsigned char command);
    void TakeArgument(unsigned char byte);
    void RunCommand();
    void TakeStoredText(unsigned char byte);
    void WriteCharacter(unsigned char code);
    int TextCellCount() const { return geometry_.rows * geometry_.columns; }

    DisplayGeometry geometry_;
    TextGrid display_{};
    Cursor cursor_{0, 0};
    UserCharacters userCharacters_{};
    NonVolatileStore store_{};
    std::uint64_t storeRevision_ = 0;
    std::uint64_t bytesReceived_ = 0;

    Phase phase_ = Phase::Text;
    unsigned char command_ = 0;
    std::array<unsigned char, 1 + kCharacterRowCount> arguments_{};
    int argumentCount_ = 0;
    int argumentsNeeded_ = 0;
    int storedTextIndex_ = 0;
};

}  // namespace vmodule
