#pragma once
#include <windows.h>

// A memory bitmap standing in for an area of a target context, so that a picture is composed
// off screen and reaches the target in one copy. Unmade handles stay null and are skipped.
class OffscreenCanvas {
public:
    OffscreenCanvas(HDC target, const RECT& area);
    ~OffscreenCanvas();
    OffscreenCanvas(const OffscreenCanvas&) = delete;
    OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;

    HDC Dc() const { return memory_; }
    void CopyToTarget() const;

private:
    HDC target_;
    RECT area_;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};
