#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>

#include "tools/vmodule/tests/editor_sequences.h"

namespace vmodule::testing {
namespace {

const DisplayGeometry kGeometries[] = {kGeometry2x20, kGeometry2x16, kGeometry4x20};

ModuleState AfterFreshFeed(DisplayGeometry geometry, const Bytes& bytes) {
    ModuleInterpreter module(geometry);
    module.Feed(bytes);
    return StateOf(module);
}

void ExpectInBounds(const ModuleInterpreter& module) {
    const DisplayGeometry geometry = module.Geometry();
    ASSERT_GE(module.CursorAt().column, 0);
    ASSERT_LT(module.CursorAt().column, geometry.columns);
    ASSERT_GE(module.CursorAt().row, 0);
    ASSERT_LT(module.CursorAt().row, geometry.rows);
    for (int code = 0; code < kUserCharacterCount; ++code)
        for (int row = 0; row < kCharacterRowCount; ++row) {
            ASSERT_LE(module.UserGlyphs()[code][row], 0x1F);
            ASSERT_LE(module.Store().characters[code][row], 0x1F);
        }
    for (int row = 0; row < kMaxRows; ++row)
        for (int column = 0; column < kMaxColumns; ++column) {
            if (row < geometry.rows && column < geometry.columns) continue;
            ASSERT_EQ(module.Display()[row][column], ' ') << row << "," << column;
            ASSERT_EQ(module.Store().text[row][column], 0) << row << "," << column;
        }
}

// Random bytes rich in command bytes, so that commands start and break often.
Bytes RandomStream(std::mt19937& random, std::size_t length) {
    static constexpr unsigned char kInteresting[] = {
        kCommandPrefix, kDefineCharacter, kPlaceCursor, kStoreCharacter, kStoreText, 0, 7, 8, 0xFF, 21};
    Bytes bytes(length);
    for (auto& byte : bytes) {
        const auto draw = random();
        byte = (draw & 0x100) ? kInteresting[(draw >> 9) % std::size(kInteresting)]
                              : static_cast<unsigned char>(draw & 0xFF);
    }
    return bytes;
}

TEST(MalformedInput, TruncatedMirrorThenAFullMirror) {
    const EditorScreen broken = SampleScreen(11);
    const EditorScreen good = SampleScreen(12);
    for (DisplayGeometry geometry : kGeometries) {
        const Bytes brokenBytes = MirrorSequence(broken);
        const Bytes goodBytes = MirrorSequence(good);
        const ModuleState expected = AfterFreshFeed(geometry, goodBytes);
        for (std::size_t length = 0; length < brokenBytes.size(); ++length) {
            ModuleInterpreter module(geometry);
            module.Feed(std::span(brokenBytes).first(length));
            module.AbandonIncompleteCommand();
            module.Feed(goodBytes);
            ASSERT_EQ(StateOf(module), expected) << GeometryName(geometry) << " cut after " << length;
        }
    }
}

TEST(MalformedInput, TruncatedStoreThenAFullStore) {
    const EditorScreen broken = SampleScreen(13);
    const EditorScreen good = SampleScreen(14);
    for (DisplayGeometry geometry : kGeometries) {
        const Bytes brokenBytes = StoreSequence(broken, geometry);
        const Bytes goodBytes = StoreSequence(good, geometry);
        const ModuleState expected = AfterFreshFeed(geometry, goodBytes);
        for (std::size_t length = 0; length < brokenBytes.size(); ++length) {
            ModuleInterpreter module(geometry);
            module.Feed(std::span(brokenBytes).first(length));
            module.AbandonIncompleteCommand();
            module.Feed(goodBytes);
            ASSERT_EQ(StateOf(module), expected) << GeometryName(geometry) << " cut after " << length;
        }
    }
}

TEST(MalformedInput, TruncatedCommandWithoutAbandonSwallowsOnlyItsArguments) {
    ModuleInterpreter module(kGeometry2x20);
    module.Feed(Bytes{kCommandPrefix, kPlaceCursor, 3});
    module.Feed(Bytes{2, 'a', 'b'});
    EXPECT_EQ(module.Display()[1][2], 'a');
    EXPECT_EQ(module.Display()[1][3], 'b');
}

TEST(MalformedInput, UnknownCommandsBetweenMirrorBlocksChangeNothing) {
    const EditorScreen screen = SampleScreen(15);
    const Bytes mirror = MirrorSequence(screen);
    for (DisplayGeometry geometry : kGeometries) {
        Bytes withNoise;
        for (std::size_t i = 0; i < mirror.size(); ++i) {
            // Command boundaries of the mirror: after each 11-byte definition and before each placement.
            if ((i < 88 && i % 11 == 0) || i == 88 || i == 112)
                withNoise.insert(withNoise.end(), {kCommandPrefix, 0x99});
            withNoise.push_back(mirror[i]);
        }
        withNoise.insert(withNoise.end(), {kCommandPrefix, 0x00});
        EXPECT_EQ(AfterFreshFeed(geometry, withNoise), AfterFreshFeed(geometry, mirror)) << GeometryName(geometry);
    }
}

TEST(MalformedInput, CursorPlacementsOutsideTheGeometryStayInside) {
    for (DisplayGeometry geometry : kGeometries) {
        for (int column = 0; column < 256; ++column)
            for (int row = 0; row < 256; row += 3) {
                ModuleInterpreter module(geometry);
                module.Feed(Bytes{kCommandPrefix, kPlaceCursor, static_cast<unsigned char>(column),
                                  static_cast<unsigned char>(row), '*'});
                ExpectInBounds(module);
                const int expectedColumn = std::clamp(column, 1, geometry.columns) - 1;
                const int expectedRow = std::clamp(row, 1, geometry.rows) - 1;
                ASSERT_EQ(module.Display()[expectedRow][expectedColumn], '*') << column << "," << row;
            }
    }
}

TEST(MalformedInput, CharacterCodesAboveSevenChangeNothing) {
    for (int code = 8; code < 256; ++code) {
        ModuleInterpreter module(kGeometry2x20);
        const auto c = static_cast<unsigned char>(code);
        module.Feed(Bytes{kCommandPrefix, kDefineCharacter, c, 1, 1, 1, 1, 1, 1, 1, 1});
        module.Feed(Bytes{kCommandPrefix, kStoreCharacter, c, 1, 1, 1, 1, 1, 1, 1, 1});
        ASSERT_EQ(StateOf(module), FreshState()) << code;
        ASSERT_EQ(module.StoreRevision(), 0u);
    }
}

TEST(MalformedInput, RandomBytesStayInBoundsAndAValidSequenceFollows) {
    std::mt19937 random(20240517);
    const EditorScreen screen = SampleScreen(16);
    for (DisplayGeometry geometry : kGeometries) {
        const ModuleState mirrored = AfterFreshFeed(geometry, MirrorSequence(screen));
        const ModuleState stored = AfterFreshFeed(geometry, StoreSequence(screen, geometry));
        for (int round = 0; round < 300; ++round) {
            ModuleInterpreter module(geometry);
            const Bytes noise = RandomStream(random, 1 + random() % 600);
            for (std::size_t offset = 0; offset < noise.size();) {
                const std::size_t chunk = std::min<std::size_t>(1 + random() % 40, noise.size() - offset);
                module.Feed(std::span(noise).subspan(offset, chunk));
                ExpectInBounds(module);
                offset += chunk;
            }
            module.AbandonIncompleteCommand();
            module.Feed(MirrorSequence(screen));
            module.Feed(StoreSequence(screen, geometry));
            ASSERT_EQ(module.UserGlyphs(), mirrored.characters) << "round " << round;
            ASSERT_EQ(module.CursorAt(), mirrored.cursor) << "round " << round;
            ASSERT_EQ(module.Display()[0], mirrored.display[0]) << "round " << round;
            ASSERT_EQ(module.Display()[1], mirrored.display[1]) << "round " << round;
            ASSERT_EQ(module.Store(), stored.store) << "round " << round;
            ExpectInBounds(module);
        }
    }
}

}  // namespace
}  // namespace vmodule::testing
