#include <gtest/gtest.h>

#include <span>
#include <string>

#include "tools/vmodule/tests/editor_sequences.h"

namespace vmodule::testing {
namespace {

ModuleState expectedAfterMirror(const EditorScreen& screen, DisplayGeometry geometry)
{
    ModuleState state = freshState();
    state.characters = screen.characters;
    if (geometry == kGeometry2x16) {
        // Each 20-byte block overflows its 16-column row: the first block's last
        // four cells start row 2, the second block's last four wrap to row 1.
        state.display[0] = rowOfCells(screen, {36, 37, 38, 39, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
        state.display[1] = rowOfCells(screen, cellRange(20, 35));
        state.cursor = {4, 0};
    } else {
        state.display[0] = rowOfCells(screen, cellRange(0, 19));
        state.display[1] = rowOfCells(screen, cellRange(20, 39));
        state.cursor = {0, geometry.rows == 4 ? 2 : 0};
    }
    return state;
}

ModuleState expectedAfterStore(const EditorScreen& screen, DisplayGeometry geometry)
{
    ModuleState state = freshState();
    state.store.characters = screen.characters;
    for (int row = 0; row < geometry.rows; ++row)
        for (int column = 0; column < geometry.columns; ++column)
            state.store.text[row][column] = screen.cells[row * geometry.columns + column];
    return state;
}

void expectEverySplitGives(DisplayGeometry geometry, const Bytes& bytes, const ModuleState& expected)
{
    for (std::size_t split = 0; split <= bytes.size(); ++split) {
        ModuleInterpreter module(geometry);
        module.feed(std::span(bytes).first(split));
        module.feed(std::span(bytes).subspan(split));
        ASSERT_EQ(stateOf(module), expected) << "split after byte " << split;
        ASSERT_FALSE(module.commandIncomplete());
    }
    ModuleInterpreter module(geometry);
    for (unsigned char byte : bytes) module.feed(byte);
    EXPECT_EQ(stateOf(module), expected) << "byte by byte";
    EXPECT_FALSE(module.commandIncomplete());
}

class EditorSequenceTest : public ::testing::TestWithParam<DisplayGeometry> {};

TEST_P(EditorSequenceTest, MirrorSplitAnywhereGivesTheSameDisplay)
{
    const EditorScreen screen = sampleScreen(1);
    const Bytes mirror = mirrorSequence(screen);
    ASSERT_EQ(mirror.size(), 136u);
    expectEverySplitGives(GetParam(), mirror, expectedAfterMirror(screen, GetParam()));
}

TEST_P(EditorSequenceTest, StoreSplitAnywhereGivesTheSameStore)
{
    const DisplayGeometry geometry = GetParam();
    const EditorScreen screen = sampleScreen(2);
    const Bytes store = storeSequence(screen, geometry);
    ASSERT_EQ(store.size(), 90u + static_cast<std::size_t>(geometry.rows * geometry.columns));
    expectEverySplitGives(geometry, store, expectedAfterStore(screen, geometry));
}

TEST_P(EditorSequenceTest, SecondMirrorReplacesTheFirst)
{
    const DisplayGeometry geometry = GetParam();
    ModuleInterpreter module(geometry);
    module.feed(mirrorSequence(sampleScreen(3)));
    const EditorScreen second = sampleScreen(4);
    module.feed(mirrorSequence(second));
    EXPECT_EQ(stateOf(module), expectedAfterMirror(second, geometry));
}

TEST_P(EditorSequenceTest, StoreLeavesTheMirroredDisplayAlone)
{
    const DisplayGeometry geometry = GetParam();
    const EditorScreen mirrored = sampleScreen(5);
    const EditorScreen stored = sampleScreen(6);
    ModuleInterpreter module(geometry);
    module.feed(mirrorSequence(mirrored));
    module.feed(storeSequence(stored, geometry));

    ModuleState expected = expectedAfterMirror(mirrored, geometry);
    expected.store = expectedAfterStore(stored, geometry).store;
    EXPECT_EQ(stateOf(module), expected);
}

TEST_P(EditorSequenceTest, PowerCycleAfterStoreShowsTheStoredScreen)
{
    const DisplayGeometry geometry = GetParam();
    const EditorScreen mirrored = sampleScreen(7);
    const EditorScreen stored = sampleScreen(8);
    ModuleInterpreter module(geometry);
    module.feed(mirrorSequence(mirrored));
    module.feed(storeSequence(stored, geometry));
    module.powerCycle();

    ModuleState expected = expectedAfterStore(stored, geometry);
    expected.characters = stored.characters;
    for (int row = 0; row < geometry.rows; ++row)
        expected.display[row] = rowOfCells(stored, cellRange(row * geometry.columns, (row + 1) * geometry.columns - 1));
    expected.cursor = {0, 0};
    EXPECT_EQ(stateOf(module), expected);
}

TEST_P(EditorSequenceTest, WholeSessionSplitAnywhereGivesTheSameState)
{
    const DisplayGeometry geometry = GetParam();
    const EditorScreen first = sampleScreen(9);
    const EditorScreen stored = sampleScreen(10);
    Bytes session = mirrorSequence(first);
    const Bytes store = storeSequence(stored, geometry);
    session.insert(session.end(), store.begin(), store.end());
    const Bytes mirror = mirrorSequence(first);
    session.insert(session.end(), mirror.begin(), mirror.end());

    ModuleState expected = expectedAfterMirror(first, geometry);
    expected.store = expectedAfterStore(stored, geometry).store;
    expectEverySplitGives(geometry, session, expected);
}

std::string geometryTestName(const ::testing::TestParamInfo<DisplayGeometry>& info)
{
    return "Geometry" + geometryName(info.param);
}

INSTANTIATE_TEST_SUITE_P(AllGeometries, EditorSequenceTest,
                         ::testing::Values(kGeometry2x20, kGeometry2x16, kGeometry4x20), geometryTestName);

}  // namespace
}  // namespace vmodule::testing
