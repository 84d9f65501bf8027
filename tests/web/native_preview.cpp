// The page's preview as the core draws it natively: the start-screen file opened as the page
// opens it, then each argument typed, written to standard output as "W H\n" and RGBA bytes.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "web/bindings/web_editor.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: native_preview FILE.kss [TEXT]...\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    WebEditor editor;
    editor.Open(bytes);
    for (int i = 2; i < argc; ++i) {
        for (const char* c = argv[i]; *c != '\0'; ++c) editor.Type(static_cast<uint8_t>(*c));
    }
    const std::vector<uint8_t>& rgba = editor.Render();
    std::printf("%d %d\n", editor.Width(), editor.Height());
    std::fwrite(rgba.data(), 1, rgba.size(), stdout);
    return 0;
}
