#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

#include <gtest/gtest.h>

#include "document/screen_document.h"
#include "view/screen_view.h"

inline constexpr COLORREF kGrey = 0xB4B4B4;
inline constexpr COLORREF kPanel = 0xD44A39;
inline constexpr COLORREF kCell = 0xB44A39;
inline constexpr COLORREF kCursor = 0xFF544D;
inline constexpr COLORREF kWhite = 0xFFFFFF;

// Rows of a 5 x 8 design, bit 4 the leftmost dot.
using Design = uint8_t[8];
inline constexpr Design kLetterA = {0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x00};
inline constexpr Design kDefaultUser[8] = {
    {0x00, 0x00, 0x1F, 0x07, 0x01, 0x00, 0x00, 0x0C}, {0x00, 0x00, 0x00, 0x18, 0x1E, 0x0F, 0x07, 0x1B},
    {0x00, 0x03, 0x03, 0x07, 0x07, 0x07, 0x13, 0x1B}, {0x18, 0x1E, 0x12, 0x1B, 0x1F, 0x1F, 0x1E, 0x1E},
    {0x0C, 0x0F, 0x0F, 0x1B, 0x1B, 0x18, 0x18, 0x00}, {0x19, 0x19, 0x18, 0x0C, 0x0C, 0x0C, 0x0C, 0x00},
    {0x18, 0x18, 0x18, 0x1C, 0x0C, 0x0C, 0x04, 0x04}, {0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}};
inline bool DotLit(const Design& design, int column, int row) { return (design[row] >> (4 - column)) & 1; }

inline constexpr COLORREF kMarker = 0x00FF00;  // never painted by the view

// A window's client area rendered through WM_PRINTCLIENT (or another message that takes a
// device context) into a 32-bit memory bitmap filled with the marker colour first.
class Picture {
public:
    explicit Picture(HWND window, UINT message = WM_PRINTCLIENT);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    LRESULT Result() const { return result_; }

private:
    int width_ = 0;
    int height_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    LRESULT result_ = 0;
};

// The box of 15 x 24 pixels at (x, y) holds exactly the design in white on `box`.
::testing::AssertionResult ShowsDesign(const Picture& picture, int x, int y, const Design& design, COLORREF box);
// Every pixel of the rectangle has the colour.
::testing::AssertionResult AllOf(const Picture& picture, RECT area, COLORREF colour);

// A visible, active top-level window that counts the WM_USER notifications of the preview inside it.
class ViewHarness {
public:
    explicit ViewHarness(uint16_t sizeCode = 0x8008);
    ~ViewHarness();
    ViewHarness(const ViewHarness&) = delete;
    ViewHarness& operator=(const ViewHarness&) = delete;

    HWND Parent() const { return parent_; }
    HWND View() const { return view.Handle(); }
    int Notifications() const { return notifications_; }
    const EditState& State() const { return view.State(); }
    void ApplySize(uint16_t code) { SetDisplaySize(doc, code); }

    void Char(WPARAM code) { SendMessageA(View(), WM_CHAR, code, 1); }
    void Type(const char* text);
    void Move(int x, int y) { SendMessageA(View(), WM_MOUSEMOVE, 0, Point(x, y)); }
    void Down(int x, int y) { SendMessageA(View(), WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y)); }
    void Up(int x, int y) { SendMessageA(View(), WM_LBUTTONUP, 0, Point(x, y)); }
    void DoubleClick(int x, int y) { SendMessageA(View(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(x, y)); }
    // Press and release in the middle of a cell.
    void ClickCell(int column, int row);
    // Draws once, so that a pending change is out of the way; gives the notifications it caused.
    int Flush();

    ScreenDocument doc;
    ScreenView view{doc};

private:
    static LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }
    static LRESULT CALLBACK ParentProc(HWND, UINT, WPARAM, LPARAM);
    HWND parent_ = nullptr;
    int notifications_ = 0;
};

// Does something with the user-character editor once it is up inside a modal loop; the action
// must close it. Returns the dialog's window as it was seen (gone by then).
HWND WithEditor(const std::function<void()>& open, const std::function<void(HWND)>& action);

// Colour of a pixel square of the editor, as the dialog paints it.
COLORREF SquareColour(HWND dialog, int controlId);
