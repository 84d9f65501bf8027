#include <gtest/gtest.h>

#include <span>
#include <string>

#include "tools/vmodule/tests/editor_sequences.h"

namespace vmodule::testing {
namespace {

ModuleState ExpectedAfterMirror(const EditorScreen& screen, DisplayGeometry geometry) {
    ModuleState state = FreshState();
    state.characters = screen.characters;
    if (geometry == kGeometry2x16) {
        // Each 20-byte block overflows its 16-column row: the first block's last
        // four cells start row 2, the second block's last four wrap to row 1.
        state.display[0] = RowOfCells(screen, {36, 37, 38, 39, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
        state.display[1] = RowOfCells(screen, CellRange(20, 35));
        state.cursor = {4, 0};
    } else {
        state.display[0] = RowOfCells(screen, CellRange(0, 19));
        state.display[1] = RowOfCells(screen, CellRange(20, 39));
        state.cursor = {0, geometry.rows == 4 ? 2 : 0};
    }
    return state;
}

ModuleState ExpectedAfterStore(const EditorScreen& screen, DisplayGeometry geometry) {
    ModuleState state = FreshState();
    state.store.characters = screen.characters;
    for (int row = 0; row < geometry.rows; ++row)
        for (int column = 0; column < geometry.columns; ++column)
            state.store.text[row][column] = screen.cells[row * geometry.columns + column];
    return state;
}

void ExpectEverySplitGives(DisplayGeometry geometry, const Bytes& bytes, const ModuleState& expected) {
    for (std::size_t split = 0; split <= bytes.size(); ++split) {
        ModuleInterpreter module(geometry);
        module.Feed(std::span(bytes).first(split));
        module.Feed(std::span(bytes).subspan(split));
        ASSERT_EQ(StateOf(module), expected) << "split after byte " << split;
        ASSERT_FALSE(module.CommandIncomplete());
    }
    ModuleInterpreter module(geometry);
    for (unsigned char byte : bytes) module.Feed(byte);
    EXPECT_EQ(StateOf(module), expected) << "byte by byte";
    EXPECT_FALSE(module.CommandIncomplete());
}

class EditorSequenceTest : public ::testing::TestWithParam<DisplayGeometry> {};

TEST_P(EditorSequenceTest, MirrorSplitAnywhereGivesTheSameDisplay) {
    const EditorScreen screen = SampleScreen(1);
    const Bytes mirror = MirrorSequence(screen);
    ASSERT_EQ(mirror.size(), 136u);
    ExpectEverySplitGives(GetParam(), mirror, ExpectedAfterMirror(screen, GetParam()));
}

TEST_P(EditorSequenceTest, StoreSplitAnywhereGivesTheSameStore) {
    const DisplayGeometry geometry = GetParam();
    const EditorScreen screen = SampleScreen(2);
    const Bytes store = StoreSequence(screen, geometry);
    ASSERT_EQ(store.size(), 90u + static_cast<std::size_t>(geometry.rows * geometry.columns));
    ExpectEverySplitGives(geometry, store, ExpectedAfterStore(screen, geometry));
}

TEST_P(EditorSequenceTest, SecondMirrorReplacesTheFirst) {
    const DisplayGeometry geometry = GetParam();
    ModuleInterpreter module(geometry);
    module.Feed(MirrorSequence(SampleScreen(3)));
    const EditorScreen second = SampleScreen(4);
    module.Feed(MirrorSequence(second));
    EXPECT_EQ(StateOf(module), ExpectedAfterMirror(second, geometry));
}

TEST_P(EditorSequenceTest, StoreLeavesTheMirroredDisplayAlone) {
    const DisplayGeometry geometry = GetParam();
    const EditorScreen mirrored = SampleScreen(5);
    const EditorScreen stored = SampleScreen(6);
    ModuleInterpreter module(geometry);
    module.Feed(MirrorSequence(mirrored));
    module.Feed(StoreSequence(stored, geometry));

    ModuleState expected = ExpectedAfterMirror(mirrored, geometry);
    expected.store = ExpectedAfterStore(stored, geometry).store;
    EXPECT_EQ(StateOf(module), expected);
}

TEST_P(EditorSequenceTest, PowerCycleAfterStoreShowsTheStoredScreen) {
    const DisplayGeometry geometry = GetParam();
    const EditorScreen mirrored = SampleScreen(7);
    const EditorScreen stored = SampleScreen(8);
    ModuleInterpreter module(geometry);
    module.Feed(MirrorSequence(mirrored));
    module.Feed(StoreSequence(stored, geometry));
    module.PowerCycle();

    ModuleState expected = ExpectedAfterStore(stored, geometry);
    expected.characters = stored.characters;
    for (int row = 0; row < geometry.rows; ++row)
        expected.display[row] = RowOfCells(stored, CellRange(row * geometry.columns, (row + 1) * geometry.columns - 1));
    expected.cursor = {0, 0};
    EXPECT_EQ(StateOf(module), expected);
}

TEST_P(EditorSequenceTest, WholeSessionSplitAnywhereGivesTheSameState) {
    const DisplayGeometry geometry = GetParam();
    const EditorScreen first = SampleScreen(9);
    const EditorScreen stored = SampleScreen(10);
    Bytes session = MirrorSequence(first);
    const Bytes store = StoreSequence(stored, geometry);
    session.insert(session.end(), store.begin(), store.end());
    const Bytes mirror = MirrorSequence(first);
    session.insert(session.end(), mirror.begin(), mirror.end());

    ModuleState expected = ExpectedAfterMirror(first, geometry);
    expected.store = ExpectedAfterStore(stored, geometry).store;
    ExpectEverySplitGives(geometry, session, expected);
}

std::string GeometryTestName(const ::testing::TestParamInfo<DisplayGeometry>& info) {
    return "Geometry" + GeometryName(info.param);
}

INSTANTIATE_TEST_SUITE_P(AllGeometries, EditorSequenceTest,
                         ::testing::Values(kGeometry2x20, kGeometry2x16, kGeometry4x20), GeometryTestName);

}  // namespace
}  // namespace vmodule::testing
