#include "view/screen_view.h"

#include <algorithm>

#include "view/glyph_resource.h"
#include "toolkit/offscreen_canvas.h"
#include "view/preview_layout.h"

namespace {

WindowClass& ViewClass() {
    static WindowClass viewClass("BrevantScreenView", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, IDC_ARROW,
                                 reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return viewClass;
}


int32_t LastIndex(uint32_t count) { return count == 0 ? 0 : static_cast<int32_t>(count) - 1; }

}  // namespace

ScreenView::~ScreenView() {
    if (Handle() != nullptr) DestroyWindow(Handle());
}

HWND ScreenView::Create(HWND parent) {
    return CreateBound(ViewClass(), WS_EX_CLIENTEDGE, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr);
}

void ScreenView::ClampCursor() {
    state_.cursorColumn = std::clamp(state_.cursorColumn, 0, LastIndex(doc_.columns));
    state_.cursorRow = std::clamp(state_.cursorRow, 0, LastIndex(doc_.rows));
}

LRESULT ScreenView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<int16_t>(LOWORD(lParam));
    const int y = static_cast<int16_t>(HIWORD(lParam));
    switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_PAINT: return OnPaint(reinterpret_cast<HDC>(wParam));
    case WM_PRINTCLIENT: return OnPaint(reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND: return 1;  // the paint covers everything; erasing would only flicker
    case WM_CHAR: return OnChar(wParam);
    case WM_MOUSEMOVE: return OnMouseMove(x, y);
    case WM_LBUTTONDOWN: return OnButtonDown(x, y);
    case WM_LBUTTONUP: return OnButtonUp();
    case WM_LBUTTONDBLCLK: return OnDoubleClick(x, y);
    default: return DefaultProcessing(message, wParam, lParam);
    }
}

LRESULT ScreenView::OnCreate() {
    state_ = EditState{};
    static constexpr GlyphTableBytes kNoGlyphs{};
    const GlyphTableBytes* builtIn = FindGlyphTableResource();
    InitializeDocument(doc_, builtIn != nullptr ? *builtIn : kNoGlyphs);
    pixelBrush_.Reset(ColorRefOf(kPixelWhite));
    cellBrush_.Reset(ColorRefOf(kCellBlue));
    cursorBrush_.Reset(ColorRefOf(kCursorBlue));
    panelBrush_.Reset(ColorRefOf(kPanelBlue));
    return 0;
}

LRESULT ScreenView::OnPaint(HDC given) {
    if (given != nullptr) {
        RECT clip{};
        GetClipBox(given, &clip);
        PaintThrough(given, clip);
        return 0;
    }
    RECT client{};
    GetClientRect(Handle(), &client);
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(Handle(), &paint);
    PaintThrough(dc, client);
    EndPaint(Handle(), &paint);
    return 0;
}

void ScreenView::PaintThrough(HDC target, const RECT& area) {
    const OffscreenCanvas canvas(target, area);
    DrawPreview(canvas.Dc());
    canvas.CopyToTarget();
}

void ScreenView::DrawPreview(HDC dc) {
    const SolidBrush grey(ColorRefOf(kWindowGrey));
    RECT outer{};
    GetWindowRect(Handle(), &outer);
    const RECT whole{0, 0, outer.right - outer.left, outer.bottom - outer.top};
    FillRect(dc, &whole, grey.Get());

    const RECT panel{0, 0, kCellPitchX * static_cast<int>(doc_.columns), kCellPitchY * static_cast<int>(doc_.rows)};
    FillRect(dc, &panel, panelBrush_.Get());

    const size_t used = UsedCellCount(doc_);
    for (size_t index = 0; index < used; ++index) {
        const int column = static_cast<int>(index % doc_.columns);
        const int row = static_cast<int>(index / doc_.columns);
        DrawBox(dc, kCellPitchX * column, kCellPitchY * row, doc_.cells[index]);
    }
    for (int slot = 0; slot < static_cast<int>(kUserGlyphCount); ++slot)
        DrawBox(dc, SlotLeft(doc_, slot), PaletteTop(doc_), static_cast<uint32_t>(slot));

    if (state_.dragging != 0 && InsideGrid(doc_, state_.mouseColumn, state_.mouseRow))
        DrawBox(dc, kCellPitchX * state_.mouseColumn, kCellPitchY * state_.mouseRow, state_.draggedCode & 0xFF);

    if (state_.changePending != 0) {
        NotifyFrame();
        state_.changePending = 0;
    }
}

void ScreenView::DrawBox(HDC dc, int x, int y, uint32_t code) {
    const bool underCursor = x / kCellPitchX == state_.cursorColumn && y / kCellPitchY == state_.cursorRow;
    const RECT box{x, y, x + kBoxWidth, y + kBoxHeight};
    FillRect(dc, &box, underCursor ? cursorBrush_.Get() : cellBrush_.Get());
    DrawGlyph(dc, x, y, code);
}

void ScreenView::DrawGlyph(HDC dc, int x, int y, uint32_t code) {
    if (code >= kGlyphCount) return;  // 255 has no glyph and shows as a blank cell
    const uint8_t* glyph = doc_.glyphs.data() + code * kGlyphBytes;
    // FillRect would select and restore the brush for every dot, most of a dot's cost.
    const HGDIOBJ previous = SelectObject(dc, pixelBrush_.Get());
    for (int row = 0; row < static_cast<int>(kGlyphRows); ++row) {
        for (int column = 0; column < kDrawnDotColumns; ++column) {
            if (!IsLit(glyph[row * kGlyphRowBytes + column])) continue;
            const int left = x + kDotPitch * column;
            const int top = y + kDotPitch * row;
            PatBlt(dc, left, top, kDotSize, kDotSize, PATCOPY);
        }
    }
    SelectObject(dc, previous);
}

void ScreenView::NotifyFrame() { SendMessageA(GetParent(Handle()), kMirrorRequest, 0, 0); }
