#pragma once
#include <windows.h>

#include <cstdint>

#include "toolkit/window.h"
#include "document/screen_document.h"
#include "document/screen_editor.h"
#include "toolkit/pixel_surface.h"

// Sent to the parent after a change; the frame answers by mirroring the screen. Its number is
// fixed: a host that embeds the preview listens for exactly WM_USER.
inline constexpr UINT kMirrorRequest = WM_USER;

// The life-size preview of the module: draws the document and hands keys and mouse to its editor.
class ScreenView final : public Window {
public:
    explicit ScreenView(ScreenDocument& doc) : doc_(doc), editor_(doc) {}
    ~ScreenView() override;

    // A child of the frame with a client edge; its WM_CREATE prepares the document.
    HWND Create(HWND parent);

    // The geometry may have shrunk under the cursor: keep the cursor in the visible grid.
    void ClampCursor() { editor_.ClampCursor(); }

    ScreenDocument& Document() { return doc_; }
    const EditState& State() const { return editor_.State(); }

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
    void EndDrag();
    LRESULT OnCaptureLost(HWND newOwner);
    LRESULT OnDoubleClick(int x, int y);

    void PaintThrough(HDC target, const RECT& area);
    void NotifyFrame();

    ScreenDocument& doc_;
    ScreenEditor editor_;
    PixelSurface surface_;
};
