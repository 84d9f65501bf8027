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

// False, with the decoder's reason, for bytes that are not a PNG picture it can read.
// Transparent pixels come back as white: a logo is drawn on an unlit background.
bool DecodePng(const std::vector<uint8_t>& bytes, PixelImage& image, std::string& error);
