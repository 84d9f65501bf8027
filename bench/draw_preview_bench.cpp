// Prints the median time of one DrawPreview of a 4x20 screen, all cells a fully lit glyph and
// all cells blank.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "toolkit/app_module.h"
#include "view/screen_view.h"

namespace {

constexpr int kRuns = 500;

double MedianMicroseconds(ScreenView& view, HDC dc) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        LARGE_INTEGER start{}, stop{};
        QueryPerformanceCounter(&start);
        view.DrawPreview(dc);
        GdiFlush();
        QueryPerformanceCounter(&stop);
        times.push_back(1e6 * static_cast<double>(stop.QuadPart - start.QuadPart) / frequency.QuadPart);
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

}  // namespace

int main() {
    gAppModule.Init(GetModuleHandleA(nullptr));
    const HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 420, 220, nullptr, nullptr,
                                        GetModuleHandleA(nullptr), nullptr);
    static ScreenDocument doc;
    static ScreenView view(doc);
    view.Create(parent);
    MoveWindow(view.Handle(), 0, 0, 400, 180, FALSE);
    SetDisplaySize(doc, 0x800A, nullptr);

    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 400, -180, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(dc, bitmap);

    const size_t cells = doc.columns * doc.rows;
    for (size_t row = 0; row < kGlyphRows; ++row)
        std::fill_n(doc.glyphs.begin() + row * kGlyphRowBytes, 6, uint8_t{1});
    std::fill_n(doc.cells.begin(), cells, uint8_t{0});
    std::printf("DrawPreview 4x20, every cell fully lit: median %.1f us over %d runs\n",
                MedianMicroseconds(view, dc), kRuns);
    std::fill_n(doc.cells.begin(), cells, kSpace);
    std::printf("DrawPreview 4x20, blank:                median %.1f us over %d runs\n",
                MedianMicroseconds(view, dc), kRuns);

    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DestroyWindow(parent);
    gAppModule.Term();
    return 0;
}
