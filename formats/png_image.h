#pragma once
#include <cstdint>
#include <string>
#include <vector>

// 0x00RRGGBB pixels, row by row, as the renderers draw them.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

std::vector<uint8_t> EncodePng(const PixelImage& image);

// False for bytes that are not a PNG picture it can read, with the reason: "not a PNG picture",
// "picture cut short" or "picture too large (W x H; at most 4096 x 4096)".
// Transparent pixels come back as white: a logo is drawn on an unlit background.
bool DecodePng(const std::vector<uint8_t>& bytes, PixelImage& image, std::string& error);
