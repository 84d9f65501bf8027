#include "view/char_editor_dialog.h"

#include "toolkit/center_on_owner.h"
#include "resources/resource_ids.h"
#include "view/preview_layout.h"

namespace {

size_t GlyphByte(size_t character, size_t index) {
    return character * kGlyphBytes + (index / kEditedColumns) * kGlyphRowBytes + index % kEditedColumns;
}

}  // namespace

int PixelIndexOf(int controlId) {
    if (controlId >= 1000 && controlId <= 1004) return controlId - 1000;
    if (controlId >= 1010 && controlId <= 1014) return controlId - 1010 + 5;
    if (controlId >= 1045 && controlId <= 1074) return controlId - 1045 + 10;
    return -1;
}

CharEditorDialog::CharEditorDialog(const GlyphTable& glyphs, size_t character) {
    for (size_t index = 0; index < kWorkGridBytes; ++index) workGrid[index] = glyphs[GlyphByte(character, index)];
}

void CharEditorDialog::WriteBack(GlyphTable& glyphs, size_t character) const {
    for (size_t index = 0; index < kWorkGridBytes; ++index) glyphs[GlyphByte(character, index)] = workGrid[index];
}

INT_PTR CharEditorDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_DRAWITEM: return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND: return OnCommand(LOWORD(wParam));
    case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(dialogBrush.Get());
    default: return FALSE;
    }
}

INT_PTR CharEditorDialog::OnInitDialog() {
    dialogBrush.Reset(ColorRefOf(kPanelBlue));
    CenterOnOwner(Handle(), GetParent(Handle()));
    return TRUE;
}

INT_PTR CharEditorDialog::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const int index = PixelIndexOf(static_cast<int>(item.CtlID));
    if (index < 0) return FALSE;
    const SolidBrush brush(workGrid[static_cast<size_t>(index)] != 0 ? ColorRefOf(kPixelWhite) : ColorRefOf(kCellBlue));
    FillRect(item.hDC, &item.rcItem, brush.Get());
    return TRUE;
}

INT_PTR CharEditorDialog::OnCommand(int id) {
    if (id == IDOK || id == IDCANCEL) {
        EndDialog(Handle(), id);
        return TRUE;
    }
    const int index = PixelIndexOf(id);
    if (index < 0) return FALSE;
    SetDlgItemTextA(Handle(), id, "X");
    uint8_t& pixel = workGrid[static_cast<size_t>(index)];
    pixel = static_cast<uint8_t>(1 - pixel);
    InvalidateRect(GetDlgItem(Handle(), id), nullptr, FALSE);
    return TRUE;
}

INT_PTR EditUserCharacter(GlyphTable& glyphs, size_t character) {
    if (character >= kUserGlyphCount) return -1;
    CharEditorDialog dialog(glyphs, character);
    const INT_PTR result = dialog.RunModal(IDD_CHAR_EDITOR, GetActiveWindow());
    if (result == IDOK) dialog.WriteBack(glyphs, character);
    return result;
}
