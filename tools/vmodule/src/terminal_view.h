#pragma once

#include <optional>
#include <string>

#include "dot_renderer.h"

namespace vmodule {

// Draws the module in place on standard output, one frame per call.
class TerminalView {
public:
    TerminalView(FontTable font, std::optional<RenderStyle> style, std::string caption, std::string note);
    ~TerminalView();
    TerminalView(const TerminalView&) = delete;
    TerminalView& operator=(const TerminalView&) = delete;

    void draw(const ModuleInterpreter& module);
    // After a resize: choose the style again and repaint the whole screen.
    void resized(const ModuleInterpreter& module);

private:
    RenderStyle chooseStyle(DisplayGeometry geometry) const;

    FontTable font_;
    std::optional<RenderStyle> forcedStyle_;
    std::string caption_;
    std::string note_;
    bool clearNext_ = true;
};

}  // namespace vmodule
