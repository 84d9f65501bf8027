// brevant-cli.exe render draws, pixel for pixel, what the editor's preview draws for the same
// file, everywhere but the cell under the editor's cursor.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "document/start_screen_file.h"
#include "formats/png_image.h"
#include "run_program.h"
#include "view_harness.h"

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

DWORD Render(const std::string& screen, const std::string& png) {
    return RunProgram(std::string("\"") + BREVANT_CLI_EXE + "\" render \"" + screen + "\" -o \"" + png + "\"");
}

// Odd pixel bytes (0x78 lit, 2 dark, the hidden column 5 lit), codes 255 and 0xFE, every user character.
std::vector<uint8_t> OddScreen() {
    std::vector<uint8_t> file = {0x0A, 0x80, 0x00, 0x00};
    for (size_t i = 0; i < 448; ++i) file.push_back(static_cast<uint8_t>((i * 7) % 5 == 0 ? 1 : 0));
    file[4 + 1] = 0x78;
    file[4 + 2] = 2;
    file[4 + 56 + 5] = 1;
    file[4 + 56 * 3 + 7 + 6] = 1;
    for (int i = 0; i < 80; ++i) file.push_back(static_cast<uint8_t>(i < 8 ? i : 0xA0 + i));
    file[452 + 40] = 0xFF;
    file[452 + 41] = 0xFE;
    return file;
}

TEST(CliRender, PictureEqualsThePreviewOutsideTheCursorCell) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::vector<std::string> screens;
    for (const char* name : {"weather-2x20", "shop-2x16", "battery-4x20", "logo-2x20"}) {
        screens.push_back(std::string(EXAMPLES_DIR) + "/" + name + ".kss");
    }
    screens.push_back(std::string(temp) + "brevant-odd.kss");
    WriteAll(screens.back(), OddScreen());

    for (const std::string& screen : screens) {
        ViewHarness h;
        const std::vector<uint8_t> bytes = ReadAll(screen);
        ASSERT_GE(bytes.size(), 484u) << screen;
        ASSERT_EQ(ReadStartScreen(h.doc, bytes.data(), bytes.size()), LoadOutcome::Complete) << screen;
        h.Flush();
        const Picture editor(h.View());

        const std::string png = std::string(temp) + "brevant-render.png";
        DeleteFileA(png.c_str());
        ASSERT_EQ(Render(screen, png), 0u) << screen;
        PixelImage image;
        std::string error;
        ASSERT_TRUE(DecodePng(ReadAll(png), image, error)) << screen << ": " << error;
        ASSERT_EQ(image.width, static_cast<int>(17 * h.doc.columns)) << screen;
        ASSERT_EQ(image.height, static_cast<int>(26 * h.doc.rows)) << screen;

        int compared = 0, different = 0;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                if (x < 17 && y < 26) continue;  // the editor marks its cursor here
                const uint32_t rgb = image.pixels[static_cast<size_t>(y) * image.width + x];
                const COLORREF expected = RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
                if (editor.At(x, y) != expected && ++different <= 5) {
                    ADD_FAILURE() << screen << " at " << x << "," << y << ": editor " << std::hex << editor.At(x, y)
                                  << ", picture " << expected;
                }
                ++compared;
            }
        }
        EXPECT_EQ(different, 0) << screen;
        EXPECT_EQ(compared, image.width * image.height - 17 * 26);
    }
}

}  // namespace
