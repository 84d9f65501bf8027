#pragma once
#include <windows.h>

#include <array>
#include <cstdint>

#include "toolkit/window.h"
#include "document/screen_document.h"
#include "toolkit/solid_brush.h"

inline constexpr size_t kEditedColumns = 5;
inline constexpr size_t kWorkGridBytes = kGlyphRows * kEditedColumns;

// The workGrid index of a pixel button, or -1 for any other control.
int PixelIndexOf(int controlId);

// Draws one user character pixel by pixel; the document changes only when the caller writes
// the result back after OK.
class CharEditorDialog final : public Dialog {
public:
    CharEditorDialog(const GlyphTable& glyphs, size_t character);
    ~CharEditorDialog() override = default;

    void WriteBack(GlyphTable& glyphs, size_t character) const;

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnInitDialog();
    INT_PTR OnDrawItem(const DRAWITEMSTRUCT& item);
    INT_PTR OnCommand(int id);

    std::array<uint8_t, kWorkGridBytes> workGrid{};  // 8 rows of 5 pixel bytes; non-zero is lit
    SolidBrush dialogBrush;
};

// Runs the editor modally on user character 0-7, owned by the active window; OK writes the
// character back. Returns the dialog's result.
INT_PTR EditUserCharacter(GlyphTable& glyphs, size_t character);
