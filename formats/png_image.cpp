#include "formats/png_image.h"

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <memory>

namespace {

// Larger pictures are no logo for a 20 x 4 module and would only cost memory.
constexpr uint32_t kMaxDecodedSide = 4096;

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
    static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    static constexpr uint8_t kHeaderType[] = {'I', 'H', 'D', 'R'};
    static constexpr uint8_t kEnd[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    constexpr size_t kHeaderEnd = 33;  // the signature and the whole IHDR chunk
    if (bytes.size() < 16 || !std::equal(kSignature, kSignature + sizeof kSignature, bytes.begin()) ||
        !std::equal(kHeaderType, kHeaderType + sizeof kHeaderType, bytes.begin() + 12)) {
        error = "not a PNG picture";
        return false;
    }
    if (bytes.size() < kHeaderEnd + sizeof kEnd ||
        !std::equal(kEnd, kEnd + sizeof kEnd, bytes.end() - static_cast<ptrdiff_t>(sizeof kEnd))) {
        error = "picture cut short";
        return false;
    }
    // The size is read from the header before anything is decoded, so memory stays bounded.
    const auto be32 = [&](size_t at) {
        return static_cast<uint32_t>(bytes[at]) << 24 | static_cast<uint32_t>(bytes[at + 1]) << 16 |
               static_cast<uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
    };
    const uint32_t width = be32(16), height = be32(20);
    if (width > kMaxDecodedSide || height > kMaxDecodedSide) {
        error = "picture too large (" + std::to_string(width) + " x " + std::to_string(height) + "; at most " +
                std::to_string(kMaxDecodedSide) + " x " + std::to_string(kMaxDecodedSide) + ")";
        return false;
    }
    int decodedWidth = 0, decodedHeight = 0, channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &decodedWidth, &decodedHeight, &channels, 4),
        stbi_image_free);
    if (!rgba || decodedWidth <= 0 || decodedHeight <= 0) {
        error = "not a PNG picture";
        return false;
    }
    image.width = decodedWidth;
    image.height = decodedHeight;
    image.pixels.assign(static_cast<size_t>(decodedWidth) * static_cast<size_t>(decodedHeight), 0);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const stbi_uc* p = rgba.get() + i * 4;
        const bool opaque = p[3] >= 128;
        image.pixels[i] = opaque ? static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2] : 0xFFFFFF;
    }
    return true;
}
