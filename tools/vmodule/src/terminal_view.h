#pragma once

#include <optional>
#include <string>

#include "render/terminal_glass.h"
#include "tools/vmodule/src/module_glass.h"

namespace vmodule {

// Draws the module in place on standard output, one frame per call.
class TerminalView {
public:
    TerminalView(FontGlyphs font, std::optional<GlassStyle> style, std::string caption, std::string note);
    ~TerminalView();
    TerminalView(const TerminalView&) = delete;
    TerminalView& operator=(const TerminalView&) = delete;

    void Draw(const ModuleInterpreter& module);
    // After a resize: choose the style again and repaint the whole screen.
    void Resized(const ModuleInterpreter& module);

private:
    GlassStyle ChooseStyle(DisplayGeometry geometry) const;

    FontGlyphs font_;
    std::optional<GlassStyle> forcedStyle_;
    std::string caption_;
    std::string note_;
    bool clearNext_ = true;
};

}  // namespace vmodule
