#include "frame/status_parts.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kPartCount = 3;
constexpr WPARAM kFilePart = 1;
constexpr WPARAM kLinkPart = 2;
// What a part's edges and the control's text inset take from its width.
constexpr int kPartMargin = 12;
constexpr char kEllipsis[] = "...";
constexpr size_t kTextCapacity = 300;

class StatusDc {
public:
    explicit StatusDc(HWND bar) : bar_(bar), dc_(GetDC(bar)) {
        const HFONT font = reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0));
        if (font != nullptr) oldFont_ = SelectObject(dc_, font);
    }
    ~StatusDc() {
        if (oldFont_ != nullptr) SelectObject(dc_, oldFont_);
        ReleaseDC(bar_, dc_);
    }
    StatusDc(const StatusDc&) = delete;
    StatusDc& operator=(const StatusDc&) = delete;

    int Width(const char* text, size_t length) const {
        SIZE size{};
        GetTextExtentPoint32A(dc_, text, static_cast<int>(length), &size);
        return size.cx;
    }
    int Width(const char* text) const { return Width(text, std::strlen(text)); }

    // The text as it fits in `width` pixels: whole, or its longest head followed by "...".
    void Fit(const char* text, int width, char (&fitted)[kTextCapacity]) const {
        size_t length = std::min(std::strlen(text), kTextCapacity - sizeof kEllipsis);
        if (length == std::strlen(text) && Width(text, length) <= width) {
            std::memcpy(fitted, text, length);
            fitted[length] = '\0';
            return;
        }
        const int room = width - Width(kEllipsis);
        while (length > 0 && Width(text, length) > room) --length;
        std::memcpy(fitted, text, length);
        std::memcpy(fitted + length, kEllipsis, sizeof kEllipsis);
    }

private:
    HWND bar_;
    HDC dc_;
    HGDIOBJ oldFont_ = nullptr;
};

// Empty for a part whose text would not fit, which none of ours does.
void ReadPart(HWND bar, WPARAM part, char (&text)[kTextCapacity]) {
    text[0] = '\0';
    if (LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, part, 0)) < sizeof text) {
        SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    }
}

void SetPartText(HWND bar, WPARAM part, const char* text) {
    char current[kTextCapacity];
    ReadPart(bar, part, current);
    if (std::strcmp(current, text) != 0) SendMessageA(bar, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text));
}

}  // namespace

const char* NameWithoutFolder(const char* path) {
    const char* name = path;
    for (const char* c = path; *c != '\0'; ++c) {
        if (*c == '\\' || *c == '/' || *c == ':') name = c + 1;
    }
    return name;
}

void ShowStatusParts(HWND statusBar, const char* fileName, const char* linkText) {
    if (statusBar == nullptr) return;
    RECT bar{};
    GetClientRect(statusBar, &bar);
    const StatusDc dc(statusBar);
    const int grip = (GetWindowLongA(statusBar, GWL_STYLE) & SBARS_SIZEGRIP) ? GetSystemMetrics(SM_CXVSCROLL) : 0;

    // The first part keeps what it shows; the link gets what it needs as long as the file
    // keeps at least two fifths of the rest.
    char ready[kTextCapacity];
    ReadPart(statusBar, 0, ready);
    const int first = dc.Width(ready) + kPartMargin;
    const int rest = std::max(0, static_cast<int>(bar.right) - first);
    const int fileNeeds = dc.Width(fileName) + kPartMargin;
    const int linkNeeds = dc.Width(linkText) + kPartMargin + grip;
    const int link = std::min(linkNeeds, rest - std::min(fileNeeds, rest * 2 / 5));
    const int edges[kPartCount] = {first, first + rest - link, -1};
    // Every mirror, so every keystroke, comes here: a bar whose parts stay is not redrawn.
    int current[kPartCount] = {};
    if (SendMessageA(statusBar, SB_GETPARTS, kPartCount, reinterpret_cast<LPARAM>(current)) != kPartCount ||
        !std::equal(edges, edges + kPartCount, current)) {
        SendMessageA(statusBar, SB_SETPARTS, kPartCount, reinterpret_cast<LPARAM>(edges));
    }

    char fitted[kTextCapacity];
    dc.Fit(fileName, rest - link - kPartMargin, fitted);
    SetPartText(statusBar, kFilePart, fitted);
    dc.Fit(linkText, link - kPartMargin - grip, fitted);
    SetPartText(statusBar, kLinkPart, fitted);
}
