#include "formats/png_image.h"

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <climits>
#include <memory>

namespace {

// Larger pictures are no logo for a 20 x 4 module and would only cost memory.
constexpr int kMaxDecodedSide = 4096;

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::vector<uint8_t> EncodePng(const PixelImage& image) {
    std::vector<uint8_t> rgb;
    rgb.reserve(image.pixels.size() * 3);
    for (uint32_t pixel : image.pixels) {
        rgb.push_back(static_cast<uint8_t>(pixel >> 16));
        rgb.push_back(static_cast<uint8_t>(pixel >> 8));
        rgb.push_back(static_cast<uint8_t>(pixel));
    }
    std::vector<uint8_t> png;
    if (stbi_write_png_to_func(AppendBytes, &png, image.width, image.height, 3, rgb.data(), image.width * 3) == 0) {
        png.clear();
    }
    return png;
}

bool DecodePng(const std::vector<uint8_t>& bytes, PixelImage& image, std::string& error) {
    if (bytes.size() > INT_MAX) {
        error = "too large";
        return false;
    }
    int width = 0, height = 0, channels = 0;
    const int size = static_cast<int>(bytes.size());
    if (stbi_info_from_memory(bytes.data(), size, &width, &height, &channels) == 0) {
        error = stbi_failure_reason();
        return false;
    }
    if (width > kMaxDecodedSide || height > kMaxDecodedSide) {
        error = std::to_string(width) + " x " + std::to_string(height) + " pixels is larger than a logo can be";
        return false;
    }
    std::unique_ptr<stbi_uc, void (*)(void*)> rgba(stbi_load_from_memory(bytes.data(), size, &width, &height, &channels, 4),
                                                   stbi_image_free);
    if (!rgba) {
        error = stbi_failure_reason();
        return false;
    }
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const stbi_uc* p = rgba.get() + i * 4;
        const bool opaque = p[3] >= 128;
        image.pixels[i] = opaque ? static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2] : 0xFFFFFF;
    }
    return true;
}
