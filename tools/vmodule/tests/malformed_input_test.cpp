#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>

#include "tools/vmodule/tests/editor_sequences.h"

namespace vmodule::testing {
namespace {

const DisplayGeometry kGeometries[] = {kGeometry2x20, kGeometry2x16, kGeometry4x20};

ModuleState afterFreshFeed(DisplayGeometry geometry, const Bytes& bytes)
{
    ModuleInterpreter module(geometry);
    module.feed(bytes);
    return stateOf(module);
}

void expectInBounds(const ModuleInterpreter& module)
{
    const DisplayGeometry geometry = module.geometry();
    ASSERT_GE(module.cursor().column, 0);
    ASSERT_LT(module.cursor().column, geometry.columns);
    ASSERT_GE(module.cursor().row, 0);
    ASSERT_LT(module.cursor().row, geometry.rows);
    for (int code = 0; code < kUserCharacterCount; ++code)
        for (int row = 0; row < kCharacterRowCount; ++row) {
            ASSERT_LE(module.userCharacters()[code][row], 0x1F);
            ASSERT_LE(module.store().characters[code][row], 0x1F);
        }
    for (int row = 0; row < kMaxRows; ++row)
        for (int column = 0; column < kMaxColumns; ++column) {
            if (row < geometry.rows && column < geometry.columns) continue;
            ASSERT_EQ(module.display()[row][column], ' ') << row << "," << column;
            ASSERT_EQ(module.store().text[row][column], 0) << row << "," << column;
        }
}

// Random bytes rich in command bytes, so that commands start and break often.
Bytes randomStream(std::mt19937& random, std::size_t length)
{
    static constexpr unsigned char kInteresting[] = {kCommandPrefix, kDefineCharacter, kPlaceCursor,
                                                     kStoreCharacter, kStoreText, 0, 7, 8, 0xFF, 21};
    Bytes bytes(length);
    for (auto& byte : bytes) {
        const auto draw = random();
        byte = (draw & 0x100) ? kInteresting[(draw >> 9) % std::size(kInteresting)]
                              : static_cast<unsigned char>(draw & 0xFF);
    }
    return bytes;
}

TEST(MalformedInput, TruncatedMirrorThenAFullMirror)
{
    const EditorScreen broken = sampleScreen(11);
    const EditorScreen good = sampleScreen(12);
    for (DisplayGeometry geometry : kGeometries) {
        const Bytes brokenBytes = mirrorSequence(broken);
        const Bytes goodBytes = mirrorSequence(good);
        const ModuleState expected = afterFreshFeed(geometry, goodBytes);
        for (std::size_t length = 0; length < brokenBytes.size(); ++length) {
            ModuleInterpreter module(geometry);
            module.feed(std::span(brokenBytes).first(length));
            module.abandonIncompleteCommand();
            module.feed(goodBytes);
            ASSERT_EQ(stateOf(module), expected) << geometryName(geometry) << " cut after " << length;
        }
    }
}

TEST(MalformedInput, TruncatedStoreThenAFullStore)
{
    const EditorScreen broken = sampleScreen(13);
    const EditorScreen good = sampleScreen(14);
    for (DisplayGeometry geometry : kGeometries) {
        const Bytes brokenBytes = storeSequence(broken, geometry);
        const Bytes goodBytes = storeSequence(good, geometry);
        const ModuleState expected = afterFreshFeed(geometry, goodBytes);
        for (std::size_t length = 0; length < brokenBytes.size(); ++length) {
            ModuleInterpreter module(geometry);
            module.feed(std::span(brokenBytes).first(length));
            module.abandonIncompleteCommand();
            module.feed(goodBytes);
            ASSERT_EQ(stateOf(module), expected) << geometryName(geometry) << " cut after " << length;
        }
    }
}

TEST(MalformedInput, TruncatedCommandWithoutAbandonSwallowsOnlyItsArguments)
{
    ModuleInterpreter module(kGeometry2x20);
    module.feed(Bytes{kCommandPrefix, kPlaceCursor, 3});
    module.feed(Bytes{2, 'a', 'b'});
    EXPECT_EQ(module.display()[1][2], 'a');
    EXPECT_EQ(module.display()[1][3], 'b');
}

TEST(MalformedInput, UnknownCommandsBetweenMirrorBlocksChangeNothing)
{
    const EditorScreen screen = sampleScreen(15);
    const Bytes mirror = mirrorSequence(screen);
    for (DisplayGeometry geometry : kGeometries) {
        Bytes withNoise;
        for (std::size_t i = 0; i < mirror.size(); ++i) {
            // Command boundaries of the mirror: after each 11-byte definition and before each placement.
            if ((i < 88 && i % 11 == 0) || i == 88 || i == 112) withNoise.insert(withNoise.end(), {kCommandPrefix, 0x99});
            withNoise.push_back(mirror[i]);
        }
        withNoise.insert(withNoise.end(), {kCommandPrefix, 0x00});
        EXPECT_EQ(afterFreshFeed(geometry, withNoise), afterFreshFeed(geometry, mirror)) << geometryName(geometry);
    }
}

TEST(MalformedInput, CursorPlacementsOutsideTheGeometryStayInside)
{
    for (DisplayGeometry geometry : kGeometries) {
        for (int column = 0; column < 256; ++column)
            for (int row = 0; row < 256; row += 3) {
                ModuleInterpreter module(geometry);
                module.feed(Bytes{kCommandPrefix, kPlaceCursor, static_cast<unsigned char>(column),
                             static_cast<unsigned char>(row), '*'});
                expectInBounds(module);
                const int expectedColumn = std::clamp(column, 1, geometry.columns) - 1;
                const int expectedRow = std::clamp(row, 1, geometry.rows) - 1;
                ASSERT_EQ(module.display()[expectedRow][expectedColumn], '*') << column << "," << row;
            }
    }
}

TEST(MalformedInput, CharacterCodesAboveSevenChangeNothing)
{
    for (int code = 8; code < 256; ++code) {
        ModuleInterpreter module(kGeometry2x20);
        const auto c = static_cast<unsigned char>(code);
        module.feed(Bytes{kCommandPrefix, kDefineCharacter, c, 1, 1, 1, 1, 1, 1, 1, 1});
        module.feed(Bytes{kCommandPrefix, kStoreCharacter, c, 1, 1, 1, 1, 1, 1, 1, 1});
        ASSERT_EQ(stateOf(module), freshState()) << code;
        ASSERT_EQ(module.storeRevision(), 0u);
    }
}

TEST(MalformedInput, RandomBytesStayInBoundsAndAValidSequenceFollows)
{
    std::mt19937 random(20240517);
    const EditorScreen screen = sampleScreen(16);
    for (DisplayGeometry geometry : kGeometries) {
        const ModuleState mirrored = afterFreshFeed(geometry, mirrorSequence(screen));
        const ModuleState stored = afterFreshFeed(geometry, storeSequence(screen, geometry));
        for (int round = 0; round < 300; ++round) {
            ModuleInterpreter module(geometry);
            const Bytes noise = randomStream(random, 1 + random() % 600);
            for (std::size_t offset = 0; offset < noise.size();) {
                const std::size_t chunk = std::min<std::size_t>(1 + random() % 40, noise.size() - offset);
                module.feed(std::span(noise).subspan(offset, chunk));
                expectInBounds(module);
                offset += chunk;
            }
            module.abandonIncompleteCommand();
            module.feed(mirrorSequence(screen));
            module.feed(storeSequence(screen, geometry));
            ASSERT_EQ(module.userCharacters(), mirrored.characters) << "round " << round;
            ASSERT_EQ(module.cursor(), mirrored.cursor) << "round " << round;
            ASSERT_EQ(module.display()[0], mirrored.display[0]) << "round " << round;
            ASSERT_EQ(module.display()[1], mirrored.display[1]) << "round " << round;
            ASSERT_EQ(module.store(), stored.store) << "round " << round;
            expectInBounds(module);
        }
    }
}

}  // namespace
}  // namespace vmodule::testing
