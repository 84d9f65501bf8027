#pragma once
#include <windows.h>

// Owns one solid GDI brush; a null handle means the brush could not be made.
class SolidBrush {
public:
    SolidBrush() = default;
    explicit SolidBrush(COLORREF colour) : handle_(CreateSolidBrush(colour)) {}
    ~SolidBrush() { Release(); }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;

    void Reset(COLORREF colour) {
        Release();
        handle_ = CreateSolidBrush(colour);
    }
    HBRUSH Get() const { return handle_; }

private:
    void Release() {
        if (handle_ != nullptr) DeleteObject(handle_);
        handle_ = nullptr;
    }
    HBRUSH handle_ = nullptr;
};
