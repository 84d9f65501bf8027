#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "document/screen_document.h"
#include "document/screen_editor.h"
#include "link/transfer_plan.h"

// The editor as the page holds it: the document, the editing rules, the preview's pixels and
// the undo history. Every rule, form and byte comes from the core; the page only draws and sends.
class WebEditor {
public:
    WebEditor();

    int Width() const;
    int Height() const;
    // The preview as RGBA bytes, Width() x Height(), ready for an ImageData.
    const std::vector<uint8_t>& Render();

    // Mouse and keys in preview pixels and character codes; true when the text or characters changed.
    void Press(int x, int y);
    void Move(int x, int y);
    bool Release();
    bool LoseCapture();
    bool Type(uint32_t code);
    void MoveCursor(int columns, int rows) { editor_.MoveCursor(columns, rows); }
    bool Dragging() const { return editor_.State().dragging != 0; }
    // Whether the module has yet to be sent an edit, as the editor mirrors; asking clears it.
    bool TakeChange();
    int PaletteSlotAt(int x, int y) const;

    // A user character as 40 dots, '#' lit and '.' dark, top row first.
    std::string Pattern(int code) const;
    bool SetPattern(int code, const std::string& pattern);

    // "2x20", "2x16" or "4x20"; false for anything else.
    bool SetSize(const std::string& name);
    std::string SizeName() const;
    void New();
    // "" when the whole screen was read; otherwise what happened, as the editor would say it.
    std::string Open(const std::vector<uint8_t>& bytes);
    std::vector<uint8_t> Save() const;

    std::string ExportJson() const;
    std::string ExportC() const;
    std::string ExportArduino() const;
    std::vector<uint8_t> ExportPng() const;
    // "" when imported; otherwise why not, the screen unchanged.
    std::string ImportJson(const std::string& json, const std::string& source);
    // A picture as RGBA bytes; "" when placed, otherwise why not, the screen unchanged.
    std::string PlaceLogo(const std::vector<uint8_t>& rgba, int width, int height, int row, int column,
                          const std::string& source);

    TransferPlan Mirror() const { return MirrorPlan(doc_); }
    TransferPlan Store() const { return StorePlan(doc_); }

    bool Undo();
    bool Redo();
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    void ForgetHistory() {
        undo_.clear();
        redo_.clear();
    }

private:
    // Keeps `before` for undo when the screen is no longer what it was.
    bool Changed(const ScreenDocument& before);
    void Restore(const ScreenDocument& screen);

    ScreenDocument doc_;
    ScreenEditor editor_;
    std::vector<uint8_t> rgba_;
    ScreenDocument beforeDrag_;
    std::vector<ScreenDocument> undo_;
    std::vector<ScreenDocument> redo_;
};
