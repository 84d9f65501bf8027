// One DrawPreview of a 4x20 screen, every cell a fully lit glyph and every cell blank, against
// one blit of the same area from a DIB section: the copy any drawing ends with.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/bench_report.h"
#include "toolkit/app_module.h"
#include "view/screen_view.h"

namespace {

constexpr int kRuns = 500;
constexpr int kWidth = 400;
constexpr int kHeight = 180;

// A memory context holding a 32-bit DIB section of the view's size.
struct DibContext {
    DibContext() {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
    }
    ~DibContext() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

// Drawing calls one DrawPreview makes on its target, as an enhanced metafile records them.
UINT DrawingCalls(ScreenView& view) {
    const HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    IntersectClipRect(dc, 0, 0, kWidth, kHeight);
    ENHMETAHEADER header{};
    const HENHMETAFILE empty = CloseEnhMetaFile(dc);
    GetEnhMetaFileHeader(empty, sizeof header, &header);
    const UINT frame = header.nRecords;  // header, clip and end
    DeleteEnhMetaFile(empty);

    const HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    IntersectClipRect(recorder, 0, 0, kWidth, kHeight);
    view.DrawPreview(recorder);
    const HENHMETAFILE drawing = CloseEnhMetaFile(recorder);
    GetEnhMetaFileHeader(drawing, sizeof header, &header);
    DeleteEnhMetaFile(drawing);
    return header.nRecords - frame;
}

}  // namespace

int main(int argc, char** argv) {
    const Report report(argc, argv);
    gAppModule.Init(GetModuleHandleA(nullptr));
    const HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 420, 220, nullptr, nullptr,
                                        GetModuleHandleA(nullptr), nullptr);
    static ScreenDocument doc;
    static ScreenView view(doc);
    view.Create(parent);
    MoveWindow(view.Handle(), 0, 0, kWidth, kHeight, FALSE);
    SetDisplaySize(doc, 0x800A);

    const DibContext target;
    const DibContext source;
    const double blit = MedianMs(kRuns, [&] {
        BitBlt(target.dc, 0, 0, kWidth, kHeight, source.dc, 0, 0, SRCCOPY);
        GdiFlush();
    });
    const auto draw = [&] {
        view.DrawPreview(target.dc);
        GdiFlush();
    };

    const size_t cells = doc.columns * doc.rows;
    for (size_t row = 0; row < kGlyphRows; ++row)
        std::fill_n(doc.glyphs.begin() + row * kGlyphRowBytes, 6, uint8_t{1});
    std::fill_n(doc.cells.begin(), cells, uint8_t{0});
    std::string note = "baseline: one 400x180 blit; drawing calls on the target: " + std::to_string(DrawingCalls(view));
    report.Figure("draw-lit-4x20", MedianMs(kRuns, draw), blit, note.c_str());

    std::fill_n(doc.cells.begin(), cells, kSpace);
    note = "baseline: one 400x180 blit; drawing calls on the target: " + std::to_string(DrawingCalls(view));
    report.Figure("draw-blank-4x20", MedianMs(kRuns, draw), blit, note.c_str());

    DestroyWindow(parent);
    gAppModule.Term();
    return 0;
}
