#pragma once
#include <windows.h>

#include <cstdint>

// A 32-bit top-down DIB section selected into its own memory context: pixels a program writes
// directly and copies to any context in one blit. Kept between drawings; it only grows.
class PixelSurface {
public:
    PixelSurface() = default;
    ~PixelSurface() { Release(); }
    PixelSurface(const PixelSurface&) = delete;
    PixelSurface& operator=(const PixelSurface&) = delete;

    // At least width x height pixels; false when they cannot be had.
    bool Fit(int width, int height);

    uint32_t* Pixels() const { return pixels_; }
    int Stride() const { return width_; }
    HDC Dc() const { return dc_; }

private:
    void Release();

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};
