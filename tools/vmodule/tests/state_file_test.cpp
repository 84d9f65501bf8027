#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tools/vmodule/src/state_file.h"
#include "tools/vmodule/tests/editor_sequences.h"
#include "tools/vmodule/tests/temporary_directory.h"

namespace vmodule::testing {
namespace {

namespace fs = std::filesystem;

NonVolatileStore EveryByteStore(DisplayGeometry geometry) {
    NonVolatileStore store;
    for (int row = 0; row < geometry.rows; ++row)
        for (int column = 0; column < geometry.columns; ++column)
            store.text[row][column] = static_cast<unsigned char>(255 - row * 20 - column);
    for (int code = 0; code < kUserCharacterCount; ++code)
        for (int row = 0; row < kCharacterRowCount; ++row)
            store.characters[code][row] = static_cast<unsigned char>((code * 8 + row) % 32);
    return store;
}

TEST(StateFile, TextFormat) {
    NonVolatileStore store;
    store.text[0][0] = 'A';
    store.text[1][15] = 0xFE;
    store.characters[3] = {0x1F, 1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(FormatStateText(store, kGeometry2x16),
              "vmodule-state 1\n"
              "geometry: 2x16\n"
              "stored.row1.hex: 41 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
              "stored.row2.hex: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 FE\n"
              "stored.char0: 00 00 00 00 00 00 00 00\n"
              "stored.char1: 00 00 00 00 00 00 00 00\n"
              "stored.char2: 00 00 00 00 00 00 00 00\n"
              "stored.char3: 1F 01 02 03 04 05 06 07\n"
              "stored.char4: 00 00 00 00 00 00 00 00\n"
              "stored.char5: 00 00 00 00 00 00 00 00\n"
              "stored.char6: 00 00 00 00 00 00 00 00\n"
              "stored.char7: 00 00 00 00 00 00 00 00\n");
}

TEST(StateFile, TextRoundTripForEveryGeometry) {
    for (DisplayGeometry geometry : {kGeometry2x20, kGeometry2x16, kGeometry4x20}) {
        const NonVolatileStore store = EveryByteStore(geometry);
        std::string error;
        const auto parsed = ParseStateText(FormatStateText(store, geometry), geometry, error);
        ASSERT_TRUE(parsed.has_value()) << error;
        EXPECT_EQ(*parsed, store) << GeometryName(geometry);
    }
}

TEST(StateFile, FileRoundTripSurvivesARestart) {
    TemporaryDirectory directory;
    const fs::path path = directory.Path() / "module.state";
    const EditorScreen screen = SampleScreen(21);

    ModuleInterpreter before(kGeometry4x20);
    before.Feed(StoreSequence(screen, kGeometry4x20));
    ASSERT_TRUE(SaveStateFile(path, before.Store(), kGeometry4x20));

    const LoadedState loaded = LoadStateFile(path, kGeometry4x20);
    ASSERT_EQ(loaded.status, LoadedState::Status::Loaded) << loaded.error;
    ModuleInterpreter after(kGeometry4x20);
    after.LoadStore(loaded.store);
    EXPECT_EQ(after.Store(), before.Store());

    before.PowerCycle();
    after.PowerCycle();
    EXPECT_EQ(StateOf(after), StateOf(before));
    EXPECT_EQ(std::distance(fs::directory_iterator(directory.Path()), fs::directory_iterator{}), 1)
        << "no temporary file is left behind";
}

TEST(StateFile, SavingReplacesTheWholeFile) {
    TemporaryDirectory directory;
    const fs::path path = directory.Path() / "module.state";
    std::ofstream(path) << std::string(5000, 'x');
    NonVolatileStore store;
    ASSERT_TRUE(SaveStateFile(path, store, kGeometry2x20));
    EXPECT_EQ(ReadWholeFile(path), FormatStateText(store, kGeometry2x20));
}

TEST(StateFile, SavingIntoAMissingDirectoryFails) {
    TemporaryDirectory directory;
    EXPECT_FALSE(SaveStateFile(directory.Path() / "absent" / "module.state", NonVolatileStore{}, kGeometry2x20));
}

TEST(StateFile, MissingFileIsReportedAsMissing) {
    TemporaryDirectory directory;
    EXPECT_EQ(LoadStateFile(directory.Path() / "none", kGeometry2x20).status, LoadedState::Status::Missing);
}

TEST(StateFile, AnotherGeometryIsRefused) {
    TemporaryDirectory directory;
    const fs::path path = directory.Path() / "module.state";
    ASSERT_TRUE(SaveStateFile(path, EveryByteStore(kGeometry2x20), kGeometry2x20));
    const LoadedState loaded = LoadStateFile(path, kGeometry2x16);
    EXPECT_EQ(loaded.status, LoadedState::Status::Invalid);
    EXPECT_NE(loaded.error.find("2x20"), std::string::npos) << loaded.error;
}

TEST(StateFile, DamagedTextIsRefused) {
    const std::string good = FormatStateText(EveryByteStore(kGeometry2x20), kGeometry2x20);
    const auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        const auto at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const std::string damaged[] = {
        "",
        good.substr(good.find('\n') + 1),
        replaced("vmodule-state 1", "vmodule-state 2"),
        replaced("stored.char7: ", "stored.char8: "),
        replaced("stored.row2.hex: EB", "stored.row2.hex: EB EB"),
        replaced("stored.row2.hex: EB", "stored.row2.hex: E"),
        replaced("stored.row2.hex: EB", "stored.row2.hex: EG"),
        replaced("stored.char0: 00", "stored.char0: 00 "),
        replaced("stored.char0: 00 ", "stored.char0: 00  "),
        replaced("geometry: 2x20", "geometry: 4x20"),
        replaced("geometry: 2x20\n", ""),
        good + "stored.char0: 00 00 00 00 00 00 00 00\n",
        good + "colour: blue\n",
        good + "no separator\n",
    };
    for (const std::string& text : damaged) {
        std::string error;
        EXPECT_FALSE(ParseStateText(text, kGeometry2x20, error).has_value()) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

}  // namespace
}  // namespace vmodule::testing
