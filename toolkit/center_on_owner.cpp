#include "toolkit/center_on_owner.h"

namespace {

int Clamp(int position, int size, LONG low, LONG high) {
    if (position < low) return low;
    if (position + size > high) return high - size;
    return position;
}

}  // namespace

void CenterOnOwner(HWND dialog, HWND owner) {
    if (owner == nullptr) owner = GetWindow(dialog, GW_OWNER);
    RECT box{};
    GetWindowRect(dialog, &box);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;

    if (owner != nullptr) {
        const LONG style = GetWindowLongA(owner, GWL_STYLE);
        if ((style & WS_VISIBLE) == 0 || (style & WS_MINIMIZE) != 0) owner = nullptr;
    }
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT centre = area;
    if (owner != nullptr) GetWindowRect(owner, &centre);

    const int x = Clamp((centre.left + centre.right) / 2 - width / 2, width, area.left, area.right);
    const int y = Clamp((centre.top + centre.bottom) / 2 - height / 2, height, area.top, area.bottom);
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
