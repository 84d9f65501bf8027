#include "view/screen_view.h"

#include <algorithm>

#include "view/char_editor_dialog.h"
#include "view/glyph_resource.h"
#include "toolkit/offscreen_canvas.h"
#include "render/preview_geometry.h"
#include "render/preview_input.h"
#include "render/preview_raster.h"

namespace {

WindowClass& ViewClass() {
    static WindowClass viewClass("BrevantScreenView", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, IDC_ARROW,
                                 reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return viewClass;
}

}  // namespace

ScreenView::~ScreenView() {
    if (Handle() != nullptr) DestroyWindow(Handle());
}

HWND ScreenView::Create(HWND parent) {
    return CreateBound(ViewClass(), WS_EX_CLIENTEDGE, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr);
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
    case WM_CAPTURECHANGED: return OnCaptureLost(reinterpret_cast<HWND>(lParam));
    case WM_LBUTTONDBLCLK: return OnDoubleClick(x, y);
    default: return DefaultProcessing(message, wParam, lParam);
    }
}

LRESULT ScreenView::OnCreate() {
    editor_.Reset();
    static constexpr GlyphTableBytes kNoGlyphs{};
    const GlyphTableBytes* builtIn = FindGlyphTableResource();
    InitializeDocument(doc_, builtIn != nullptr ? *builtIn : kNoGlyphs);
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
    RECT area{};
    GetClipBox(dc, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (surface_.Fit(width, height)) {
        RECT outer{};
        GetWindowRect(Handle(), &outer);
        const EditState& state = editor_.State();
        const PreviewMarks marks{state.cursorColumn, state.cursorRow, state.dragging != 0,
                                 state.draggedCode,  state.mouseColumn, state.mouseRow};
        // The last blit from the surface may still be queued; it must not see the new pixels.
        GdiFlush();
        RenderPreview(doc_, &marks, outer.right - outer.left, outer.bottom - outer.top,
                      PixelTarget{surface_.Pixels(), width, height, surface_.Stride(), area.left, area.top});
        BitBlt(dc, area.left, area.top, width, height, surface_.Dc(), 0, 0, SRCCOPY);
    }

    if (editor_.ChangePending()) {
        NotifyFrame();
        editor_.ChangeMirrored();
    }
}

void ScreenView::NotifyFrame() { SendMessageA(GetParent(Handle()), kMirrorRequest, 0, 0); }

LRESULT ScreenView::OnChar(WPARAM code) {
    editor_.TypeCode(static_cast<uint32_t>(std::min<uint64_t>(code, UINT32_MAX)));
    InvalidateRect(Handle(), nullptr, FALSE);
    return 0;
}

LRESULT ScreenView::OnMouseMove(int x, int y) {
    MoveTo(editor_, x, y);
    InvalidateRect(Handle(), nullptr, FALSE);
    return 0;
}

LRESULT ScreenView::OnButtonDown(int x, int y) {
    // The release must come here wherever it happens, or the character stays lifted.
    if (PressAt(editor_, x, y)) SetCapture(Handle());
    return 0;
}

LRESULT ScreenView::OnButtonUp() {
    editor_.Release();
    EndDrag();
    return 0;
}

LRESULT ScreenView::OnCaptureLost(HWND newOwner) {
    if (newOwner != Handle() && editor_.LoseCapture()) EndDrag();
    return 0;
}

void ScreenView::EndDrag() {
    InvalidateRect(Handle(), nullptr, TRUE);
    if (GetCapture() == Handle()) ReleaseCapture();
}

LRESULT ScreenView::OnDoubleClick(int x, int y) {
    const int slot = PaletteSlotAt(doc_, x, y);
    if (slot != kNoSlot) EditUserCharacter(doc_.glyphs, slot);
    InvalidateRect(Handle(), nullptr, TRUE);
    NotifyFrame();
    return 0;
}
