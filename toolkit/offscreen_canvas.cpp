#include "toolkit/offscreen_canvas.h"

OffscreenCanvas::OffscreenCanvas(HDC target, const RECT& area) : target_(target), area_(area) {
    memory_ = CreateCompatibleDC(target_);
    LPtoDP(target_, reinterpret_cast<POINT*>(&area_), 2);
    bitmap_ = CreateCompatibleBitmap(target_, area_.right - area_.left, area_.bottom - area_.top);
    if (memory_ == nullptr) return;
    if (bitmap_ != nullptr) previous_ = SelectObject(memory_, bitmap_);
    DPtoLP(memory_, reinterpret_cast<POINT*>(&area_), 2);
    SetWindowOrgEx(memory_, area_.left, area_.top, nullptr);
}

OffscreenCanvas::~OffscreenCanvas() {
    if (memory_ != nullptr && previous_ != nullptr) SelectObject(memory_, previous_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (memory_ != nullptr) DeleteDC(memory_);
}

void OffscreenCanvas::CopyToTarget() const {
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, memory_, area_.left,
           area_.top, SRCCOPY);
}
