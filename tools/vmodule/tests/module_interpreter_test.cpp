#include <gtest/gtest.h>

#include <string>

#include "tools/vmodule/tests/editor_sequences.h"

namespace vmodule::testing {
namespace {

Bytes Text(const std::string& characters) {
    return Bytes(characters.begin(), characters.end());
}

std::string RowText(const ModuleInterpreter& module, int row) {
    const auto& cells = module.Display()[row];
    return std::string(cells.begin(), cells.begin() + module.Geometry().columns);
}

TEST(ModuleInterpreter, FreshModuleIsBlankWithEverythingZero) {
    ModuleInterpreter module(kGeometry4x20);
    EXPECT_EQ(StateOf(module), FreshState());
    EXPECT_EQ(module.StoreRevision(), 0u);
    EXPECT_FALSE(module.CommandIncomplete());
}

TEST(ModuleInterpreter, TextIsWrittenAtTheCursorWhichAdvances) {
    ModuleInterpreter module(kGeometry2x20);
    module.Feed(Text("Hi"));
    EXPECT_EQ(RowText(module, 0), "Hi                  ");
    EXPECT_EQ(module.CursorAt(), (Cursor{2, 0}));
}

TEST(ModuleInterpreter, TextWrapsToTheNextRowAtTheEndOfARow) {
    ModuleInterpreter module(kGeometry2x16);
    module.Feed(Text("0123456789abcdefX"));
    EXPECT_EQ(RowText(module, 0), "0123456789abcdef");
    EXPECT_EQ(RowText(module, 1), "X               ");
    EXPECT_EQ(module.CursorAt(), (Cursor{1, 1}));
    EXPECT_EQ(module.Display()[0][16], ' ') << "columns past the geometry stay untouched";
}

TEST(ModuleInterpreter, TextWrapsFromTheLastRowBackToTheFirst) {
    ModuleInterpreter module(kGeometry4x20);
    module.Feed(Bytes(80, 'a'));
    EXPECT_EQ(module.CursorAt(), (Cursor{0, 0}));
    module.Feed(Text("Z"));
    EXPECT_EQ(RowText(module, 0), "Z" + std::string(19, 'a'));
    EXPECT_EQ(RowText(module, 3), std::string(20, 'a'));
}

TEST(ModuleInterpreter, PlaceCursorCountsFromOne) {
    ModuleInterpreter module(kGeometry4x20);
    module.Feed(Bytes{kCommandPrefix, kPlaceCursor, 5, 3, 'Q'});
    EXPECT_EQ(module.Display()[2][4], 'Q');
    EXPECT_EQ(module.CursorAt(), (Cursor{5, 2}));
}

TEST(ModuleInterpreter, PlaceCursorClampsToTheGeometry) {
    ModuleInterpreter module(kGeometry2x16);
    module.Feed(Bytes{kCommandPrefix, kPlaceCursor, 0, 0});
    EXPECT_EQ(module.CursorAt(), (Cursor{0, 0}));
    module.Feed(Bytes{kCommandPrefix, kPlaceCursor, 17, 3});
    EXPECT_EQ(module.CursorAt(), (Cursor{15, 1}));
    module.Feed(Bytes{kCommandPrefix, kPlaceCursor, 0xFF, 0xFF, 'E'});
    EXPECT_EQ(module.Display()[1][15], 'E');
    EXPECT_EQ(module.CursorAt(), (Cursor{0, 0}));
}

TEST(ModuleInterpreter, DefineCharacterKeepsTheLowFiveBits) {
    ModuleInterpreter module(kGeometry2x20);
    module.Feed(Bytes{kCommandPrefix, kDefineCharacter, 6, 0x1F, 0xFF, 0x20, 0xE1, 0x0A, 0x00, 0x15, 0x3E});
    EXPECT_EQ(module.UserGlyphs()[6], (CharacterRows{0x1F, 0x1F, 0x00, 0x01, 0x0A, 0x00, 0x15, 0x1E}));
    for (int code = 0; code < kUserCharacterCount; ++code) {
        if (code == 6) continue;
        EXPECT_EQ(module.UserGlyphs()[code], CharacterRows{}) << code;
    }
    EXPECT_EQ(module.Store(), NonVolatileStore{});
    EXPECT_EQ(module.StoreRevision(), 0u);
}

TEST(ModuleInterpreter, DefineCharacterWithCodeAboveSevenIsIgnored) {
    ModuleInterpreter module(kGeometry2x20);
    module.Feed(Bytes{kCommandPrefix, kDefineCharacter, 8, 1, 2, 3, 4, 5, 6, 7, 8, 'A'});
    EXPECT_EQ(module.UserGlyphs(), UserCharacters{});
    EXPECT_EQ(RowText(module, 0), "A" + std::string(19, ' '));
}

TEST(ModuleInterpreter, StoreCharacterChangesOnlyTheStore) {
    ModuleInterpreter module(kGeometry2x20);
    module.Feed(Bytes{kCommandPrefix, kStoreCharacter, 7, 1, 2, 3, 4, 5, 6, 7, 0xFF});
    EXPECT_EQ(module.Store().characters[7], (CharacterRows{1, 2, 3, 4, 5, 6, 7, 0x1F}));
    EXPECT_EQ(module.UserGlyphs(), UserCharacters{});
    EXPECT_EQ(module.StoreRevision(), 1u);
    module.Feed(Bytes{kCommandPrefix, kStoreCharacter, 9, 1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(module.StoreRevision(), 1u);
    EXPECT_EQ(module.Store().characters[1], CharacterRows{});
}

TEST(ModuleInterpreter, StoredTextTakesExactlyRowsTimesColumnsBytes) {
    ModuleInterpreter module(kGeometry2x16);
    Bytes bytes{kCommandPrefix, kStoreText};
    const std::string stored =
        "Power-on screen!"
        "second row  \xFE\x01\x02\xFF";
    bytes.insert(bytes.end(), stored.begin(), stored.end());
    bytes.push_back('x');
    module.Feed(bytes);

    EXPECT_EQ(std::string(module.Store().text[0].begin(), module.Store().text[0].begin() + 16), "Power-on screen!");
    EXPECT_EQ(std::string(module.Store().text[1].begin(), module.Store().text[1].begin() + 16),
              "second row  \xFE\x01\x02\xFF");
    EXPECT_EQ(module.Store().text[0][16], 0) << "columns past the geometry stay zero";
    EXPECT_EQ(RowText(module, 0), "x" + std::string(15, ' ')) << "the byte after the text is shown";
    EXPECT_EQ(module.StoreRevision(), 32u);
}

TEST(ModuleInterpreter, UnknownCommandIsDroppedWithItsPrefix) {
    for (int command = 0; command < 256; ++command) {
        if (command == kCommandPrefix || command == kDefineCharacter || command == kPlaceCursor ||
            command == kStoreCharacter || command == kStoreText)
            continue;
        ModuleInterpreter module(kGeometry2x20);
        module.Feed(Bytes{'a', kCommandPrefix, static_cast<unsigned char>(command), 'b'});
        ASSERT_EQ(RowText(module, 0), "ab" + std::string(18, ' ')) << "command " << command;
        ASSERT_FALSE(module.CommandIncomplete());
    }
}

TEST(ModuleInterpreter, RepeatedPrefixStartsTheCommandOver) {
    ModuleInterpreter module(kGeometry2x20);
    module.Feed(Bytes{kCommandPrefix, kCommandPrefix, kCommandPrefix, kPlaceCursor, 3, 2, 'c'});
    EXPECT_EQ(module.Display()[1][2], 'c');
    EXPECT_EQ(RowText(module, 0), std::string(20, ' '));
}

TEST(ModuleInterpreter, PrefixInsideArgumentsIsAnArgument) {
    ModuleInterpreter module(kGeometry4x20);
    module.Feed(Bytes{kCommandPrefix, kPlaceCursor, kCommandPrefix, 2});
    EXPECT_EQ(module.CursorAt(), (Cursor{19, 1}));
    module.Feed(Bytes{kCommandPrefix, kDefineCharacter, 0, kCommandPrefix, 1, 2, 3, 4, 5, 6, kCommandPrefix});
    EXPECT_EQ(module.UserGlyphs()[0], (CharacterRows{0x1E, 1, 2, 3, 4, 5, 6, 0x1E}));
    EXPECT_FALSE(module.CommandIncomplete());
}

TEST(ModuleInterpreter, CommandIncompleteUntilTheLastArgument) {
    ModuleInterpreter module(kGeometry2x20);
    const Bytes placeCursor{kCommandPrefix, kPlaceCursor, 2, 2};
    for (std::size_t i = 0; i + 1 < placeCursor.size(); ++i) {
        module.Feed(placeCursor[i]);
        EXPECT_TRUE(module.CommandIncomplete()) << i;
    }
    module.Feed(placeCursor.back());
    EXPECT_FALSE(module.CommandIncomplete());
}

TEST(ModuleInterpreter, AbandonedCommandLeavesTheFollowingBytesAsText) {
    ModuleInterpreter module(kGeometry2x20);
    module.Feed(Bytes{kCommandPrefix, kDefineCharacter, 1, 0x11});
    module.AbandonIncompleteCommand();
    module.Feed(Text("ok"));
    EXPECT_EQ(RowText(module, 0), "ok" + std::string(18, ' '));
    EXPECT_EQ(module.UserGlyphs(), UserCharacters{});
}

TEST(ModuleInterpreter, AbandonedStoredTextKeepsTheBytesAlreadyStored) {
    ModuleInterpreter module(kGeometry2x20);
    module.Feed(Bytes{kCommandPrefix, kStoreText, 'A', 'B'});
    module.AbandonIncompleteCommand();
    module.Feed(Text("C"));
    EXPECT_EQ(module.Store().text[0][0], 'A');
    EXPECT_EQ(module.Store().text[0][1], 'B');
    EXPECT_EQ(module.Store().text[0][2], 0);
    EXPECT_EQ(module.Display()[0][0], 'C');
}

TEST(ModuleInterpreter, PowerCycleShowsTheStoreAndHomesTheCursor) {
    ModuleInterpreter module(kGeometry2x20);
    module.Feed(Bytes{kCommandPrefix, kStoreCharacter, 2, 1, 2, 3, 4, 5, 6, 7, 8});
    module.Feed(Bytes{kCommandPrefix, kDefineCharacter, 3, 9, 9, 9, 9, 9, 9, 9, 9});
    module.Feed(Bytes{kCommandPrefix, kStoreText, 'S'});
    module.Feed(Bytes(39, 'z'));
    module.Feed(Bytes{kCommandPrefix, kPlaceCursor, 4, 2, 'x', kCommandPrefix, kDefineCharacter});
    module.PowerCycle();

    ModuleState expected = FreshState();
    expected.store.characters[2] = {1, 2, 3, 4, 5, 6, 7, 8};
    expected.store.text[0].fill('z');
    expected.store.text[1].fill('z');
    expected.store.text[0][0] = 'S';
    expected.characters = expected.store.characters;
    expected.display[0] = expected.store.text[0];
    expected.display[1] = expected.store.text[1];
    EXPECT_EQ(StateOf(module), expected);
    EXPECT_FALSE(module.CommandIncomplete()) << "power loss ends any command";
}

TEST(ModuleInterpreter, PowerCycleOfAFreshModuleShowsZeroCodes) {
    ModuleInterpreter module(kGeometry2x16);
    module.PowerCycle();
    for (int row = 0; row < 2; ++row) EXPECT_EQ(RowText(module, row), std::string(16, '\0'));
    EXPECT_EQ(module.Display()[0][16], ' ');
}

TEST(ModuleInterpreter, LoadStoreKeepsOnlyWhatTheGeometryAndDotsAllow) {
    NonVolatileStore loaded;
    for (auto& row : loaded.text) row.fill('#');
    for (auto& rows : loaded.characters) rows.fill(0xFF);
    ModuleInterpreter module(kGeometry2x16);
    module.LoadStore(loaded);

    EXPECT_EQ(module.Store().text[1][15], '#');
    EXPECT_EQ(module.Store().text[1][16], 0);
    EXPECT_EQ(module.Store().text[2][0], 0);
    EXPECT_EQ(module.Store().characters[7][7], 0x1F);
    EXPECT_EQ(module.StoreRevision(), 1u);
    EXPECT_EQ(module.Display()[0][0], ' ') << "loading is not a power cycle";
}

TEST(ModuleInterpreter, GeometryOutsideTheGridIsBounded) {
    ModuleInterpreter module(DisplayGeometry{9, 99});
    EXPECT_EQ(module.Geometry(), (DisplayGeometry{kMaxRows, kMaxColumns}));
    module.Feed(Bytes(200, 'w'));
    module.Feed(Bytes{kCommandPrefix, kStoreText});
    module.Feed(Bytes(200, 's'));
    EXPECT_EQ(module.Store().text[3][19], 's');
}

}  // namespace
}  // namespace vmodule::testing
