#pragma once
#include <windows.h>

#include "app/window.h"
#include "document/screen_document.h"

// The life-size preview of the module: draws the document and edits it in place.
// (Interface agreed with the frame; the view's owner fills in the rest.)
class ScreenView final : public Window {
public:
    explicit ScreenView(ScreenDocument& doc) : doc_(doc) {}
    ~ScreenView() override;

    // A child of the frame with a client edge; its WM_CREATE prepares the document.
    HWND Create(HWND parent);

    // The geometry may have shrunk under the cursor: keep the cursor in the visible grid.
    void ClampCursor();

    ScreenDocument& Document() { return doc_; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    ScreenDocument& doc_;
};
