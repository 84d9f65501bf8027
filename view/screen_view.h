#pragma once
#include <windows.h>

#include <cstdint>

#include "toolkit/window.h"
#include "document/screen_document.h"
#include "toolkit/pixel_surface.h"

// Sent to the parent after a change; the frame answers by mirroring the screen. Its number is
// fixed: a host that embeds the preview listens for exactly WM_USER.
inline constexpr UINT kMirrorRequest = WM_USER;

// Cursor, mouse cell and drag of the preview; nothing outside the view writes it.
struct EditState {
    uint8_t dragging = 0;
    uint32_t draggedCode = 0;  // low byte significant
    int32_t cursorColumn = 0;
    int32_t cursorRow = 0;
    int32_t mouseColumn = 0;
    int32_t mouseRow = 0;
    uint32_t changePending = 0;  // the next drawing notifies the frame
};

// The life-size preview of the module: draws the document and edits it in place.
class ScreenView final : public Window {
public:
    explicit ScreenView(ScreenDocument& doc) : doc_(doc) {}
    ~ScreenView() override;

    // A child of the frame with a client edge; its WM_CREATE prepares the document.
    HWND Create(HWND parent);

    // The geometry may have shrunk under the cursor: keep the cursor in the visible grid.
    void ClampCursor();

    ScreenDocument& Document() { return doc_; }
    const EditState& State() const { return state_; }

    // The whole preview in client coordinates; tells the frame about a pending change.
    void DrawPreview(HDC dc);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    LRESULT OnCreate();
    LRESULT OnPaint(HDC given);
    LRESULT OnChar(WPARAM code);
    LRESULT OnMouseMove(int x, int y);
    LRESULT OnButtonDown(int x, int y);
    LRESULT OnButtonUp();
    LRESULT OnCaptureLost(HWND newOwner);
    LRESULT OnDoubleClick(int x, int y);

    void PaintThrough(HDC target, const RECT& area);
    void NotifyFrame();
    uint8_t* CellAt(int32_t column, int32_t row);

    ScreenDocument& doc_;
    PixelSurface surface_;
    EditState state_;
};
