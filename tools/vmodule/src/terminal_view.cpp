#include "tools/vmodule/src/terminal_view.h"

#include <cerrno>

#include <sys/ioctl.h>
#include <unistd.h>

namespace vmodule {

namespace {

constexpr const char* kHome = "\x1b[H";
constexpr const char* kClearScreen = "\x1b[2J";
constexpr const char* kClearToLineEnd = "\x1b[K";
constexpr const char* kClearBelow = "\x1b[J";
constexpr const char* kHideCursor = "\x1b[?25l";
constexpr const char* kShowCursor = "\x1b[?25h";

void WriteOut(const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        done += static_cast<std::size_t>(written);
    }
}

int TerminalColumns() {
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return 80;
    return size.ws_col;
}

}  // namespace

TerminalView::TerminalView(FontGlyphs font, std::optional<GlassStyle> style, std::string caption, std::string note)
    : font_(font), forcedStyle_(style), caption_(std::move(caption)), note_(std::move(note)) {
    WriteOut(kHideCursor);
}

TerminalView::~TerminalView() {
    WriteOut(std::string(kShowCursor) + "\n");
}

GlassStyle TerminalView::ChooseStyle(DisplayGeometry geometry) const {
    if (forcedStyle_) return *forcedStyle_;
    for (GlassStyle style : {GlassStyle::Blocks, GlassStyle::HalfBlocks})
        if (TerminalColumns() >= GlassWidth(geometry.columns, style)) return style;
    return GlassStyle::Quadrants;
}

void TerminalView::Draw(const ModuleInterpreter& module) {
    std::string frame = clearNext_ ? std::string(kClearScreen) + kHome : std::string(kHome);
    clearNext_ = false;
    for (const std::string& line : DrawGlass(GlassOf(module), font_, ChooseStyle(module.Geometry())))
        frame += line + kClearToLineEnd + "\n";
    frame += std::string(kClearToLineEnd) + "\n" + caption_ + "  cursor: column " +
             std::to_string(module.CursorAt().column + 1) + " row " + std::to_string(module.CursorAt().row + 1) +
             "  received: " + std::to_string(module.BytesReceived()) + " bytes" + kClearToLineEnd + "\n";
    if (!note_.empty()) frame += note_ + kClearToLineEnd + "\n";
    frame += "Ctrl-C quits; kill -USR1 " + std::to_string(getpid()) + " power-cycles the module.";
    frame += std::string(kClearToLineEnd) + kClearBelow;
    WriteOut(frame);
}

void TerminalView::Resized(const ModuleInterpreter& module) {
    clearNext_ = true;
    Draw(module);
}

}  // namespace vmodule
