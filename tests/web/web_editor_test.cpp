#include "web/bindings/web_editor.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "document/display_size.h"
#include "render/preview_geometry.h"

namespace {

std::vector<uint8_t> Example(const char* name) {
    std::ifstream in(std::string(BREVANT_EXAMPLES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void TypeText(WebEditor& editor, const std::string& text) {
    for (char c : text) editor.Type(static_cast<uint8_t>(c));
}

// The text bytes of a saved 2x20 screen's first row.
std::string FirstRow(const WebEditor& editor) {
    const std::vector<uint8_t> file = editor.Save();
    return std::string(file.begin() + 452, file.begin() + 472);
}

TEST(WebEditor, UndoAndRedoWalkEveryEditAndANewEditDropsWhatWasUndone) {
    WebEditor editor;
    EXPECT_FALSE(editor.CanUndo());
    TypeText(editor, "ab");
    editor.Type(13);  // changes nothing, so nothing to undo
    ASSERT_EQ(FirstRow(editor), "ab" + std::string(18, ' '));
    // Drag the "a" onto the sixth box.
    editor.Press(kCellPitchX / 2, kCellPitchY / 2);
    editor.Move(5 * kCellPitchX + 3, 3);
    EXPECT_TRUE(editor.Release());
    EXPECT_EQ(FirstRow(editor), " b   a" + std::string(14, ' '));

    EXPECT_TRUE(editor.Undo());
    EXPECT_EQ(FirstRow(editor), "ab" + std::string(18, ' '));
    EXPECT_TRUE(editor.Undo());
    EXPECT_TRUE(editor.Undo());
    EXPECT_FALSE(editor.Undo());
    EXPECT_EQ(FirstRow(editor), std::string(20, ' '));
    EXPECT_TRUE(editor.Redo());
    EXPECT_EQ(FirstRow(editor), "a" + std::string(19, ' '));
    // The cursor stays where the drop put it.
    TypeText(editor, "z");
    EXPECT_FALSE(editor.CanRedo());
    EXPECT_EQ(FirstRow(editor), "a    z" + std::string(14, ' '));
}

TEST(WebEditor, UndoBringsBackTheSizeAndTheUserCharacters) {
    WebEditor editor;
    TypeText(editor, "keep");
    const std::vector<uint8_t> before = editor.Save();
    ASSERT_TRUE(editor.SetPattern(3, std::string(40, '#')));
    ASSERT_TRUE(editor.SetSize("4x20"));
    EXPECT_EQ(editor.SizeName(), "4x20");
    EXPECT_FALSE(editor.SetSize("3x30"));
    editor.New();
    EXPECT_TRUE(editor.Undo());
    EXPECT_TRUE(editor.Undo());
    EXPECT_EQ(editor.SizeName(), "2x20");
    EXPECT_EQ(editor.Pattern(3), std::string(40, '#'));
    EXPECT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Save(), before);
}

TEST(WebEditor, OpenAndSaveGiveTheFileBackByteForByte) {
    for (const char* name : {"battery-4x20.kss", "logo-2x20.kss", "shop-2x16.kss", "weather-2x20.kss"}) {
        WebEditor editor;
        const std::vector<uint8_t> file = Example(name);
        ASSERT_FALSE(file.empty()) << name;
        EXPECT_EQ(editor.Open(file), "") << name;
        EXPECT_EQ(editor.Save(), file) << name;
    }
}

TEST(WebEditor, AShortFileIsReadAsFarAsItGoesOnABlankTextAndSaysSo) {
    WebEditor editor;
    TypeText(editor, "kept text");
    std::vector<uint8_t> file = Example("weather-2x20.kss");
    file.resize(452 + 5);
    EXPECT_NE(editor.Open(file).find("Error loading"), std::string::npos);
    const std::string row = FirstRow(editor);
    EXPECT_EQ(row.substr(0, 5), std::string(file.begin() + 452, file.end()));
    EXPECT_EQ(row.substr(5), std::string(15, ' '));
}

TEST(WebEditor, ARefusedImportOrLogoLeavesTheScreenAndItsHistoryAsTheyWere) {
    WebEditor editor;
    TypeText(editor, "x");
    const std::vector<uint8_t> before = editor.Save();
    EXPECT_EQ(editor.ImportJson("{\"geometry\": 7}", "bad.json").rfind("bad.json", 0), 0u);
    // 6 x 8 pixels are no whole number of cells.
    EXPECT_EQ(editor.PlaceLogo(std::vector<uint8_t>(6 * 8 * 4, 0), 6, 8, 1, 1, "logo.png"),
              "logo.png: 6 x 8 pixels is not a whole number of 5 x 8 cells");
    EXPECT_EQ(editor.PlaceLogo(std::vector<uint8_t>(10, 0), 5, 8, 1, 1, "short.png"), "short.png: not a picture");
    EXPECT_EQ(editor.Save(), before);
    EXPECT_TRUE(editor.Undo());
    EXPECT_FALSE(editor.CanUndo());
}

TEST(WebEditor, ALogoTakesAFreeUserCharacterAndTransparentPixelsStayDark) {
    WebEditor editor;
    std::vector<uint8_t> rgba(5 * 8 * 4, 0);  // transparent black: unlit
    rgba[3] = 0xFF;                            // the top left pixel opaque black: lit
    ASSERT_EQ(editor.PlaceLogo(rgba, 5, 8, 1, 2, "dot.png"), "");
    EXPECT_EQ(FirstRow(editor)[1], '\0');
    EXPECT_EQ(editor.Pattern(0), "#" + std::string(39, '.'));
}

TEST(WebEditor, ThePreviewIsThePanelAndPaletteInRgbaWithTheCursorBox) {
    WebEditor editor;
    const std::vector<uint8_t>& rgba = editor.Render();
    ASSERT_EQ(editor.Width(), 340);
    ASSERT_EQ(editor.Height(), 2 * kCellPitchY + kPaletteGap + kBoxHeight + kPaletteGap);
    ASSERT_EQ(rgba.size(), static_cast<size_t>(editor.Width() * editor.Height() * 4));
    const auto pixel = [&](int x, int y) {
        const size_t at = (static_cast<size_t>(y) * editor.Width() + x) * 4;
        return static_cast<uint32_t>(rgba[at]) << 24 | rgba[at + 1] << 16 | rgba[at + 2] << 8 | rgba[at + 3];
    };
    EXPECT_EQ(pixel(0, 0), kCursorBlue << 8 | 0xFF);
    EXPECT_EQ(pixel(kCellPitchX, 0), kCellBlue << 8 | 0xFF);
    EXPECT_EQ(pixel(kCellPitchX - 1, 0), kPanelBlue << 8 | 0xFF);
}

TEST(WebEditor, EveryTypedCodeAndEveryReleaseAskForOneMirror) {
    WebEditor editor;
    EXPECT_FALSE(editor.TakeChange());
    editor.Type(27);  // Esc changes nothing, yet the editor mirrors it
    EXPECT_TRUE(editor.TakeChange());
    EXPECT_FALSE(editor.TakeChange());
    editor.Press(3 * kCellPitchX + 2, 2);
    EXPECT_FALSE(editor.TakeChange());
    editor.Release();
    EXPECT_TRUE(editor.TakeChange());
    editor.Type('Q');
    EXPECT_TRUE(editor.TakeChange());
    EXPECT_EQ(FirstRow(editor)[3], 'Q');
}

}  // namespace
