#include "web/bindings/web_editor.h"

#include <algorithm>

#include "document/built_in_glyphs.h"
#include "document/display_size.h"
#include "document/exact_start_screen.h"
#include "document/start_screen_file.h"
#include "formats/code_export.h"
#include "formats/format_error.h"
#include "formats/logo_cells.h"
#include "formats/png_image.h"
#include "formats/screen_json.h"
#include "render/preview_input.h"
#include "render/preview_raster.h"

namespace {

// Enough to take back a long session of typing; each step is one whole screen.
constexpr size_t kUndoSteps = 500;

bool SameScreen(const ScreenDocument& a, const ScreenDocument& b) {
    return a.sizeCode == b.sizeCode && a.columns == b.columns && a.rows == b.rows &&
           a.paletteOffset == b.paletteOffset && a.cells == b.cells && a.glyphs == b.glyphs;
}

}  // namespace

WebEditor::WebEditor() : doc_(FreshEditorDocument(kBuiltInGlyphs)), editor_(doc_) {}

int WebEditor::Width() const { return PanelWidth(doc_); }

int WebEditor::Height() const { return PaletteTop(doc_) + kBoxHeight + kPaletteGap; }

const std::vector<uint8_t>& WebEditor::Render() {
    const int width = Width(), height = Height();
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    const EditState& state = editor_.State();
    const PreviewMarks marks{state.cursorColumn, state.cursorRow, state.dragging != 0,
                             state.draggedCode,  state.mouseColumn, state.mouseRow};
    RenderPreview(doc_, &marks, width, height, PixelTarget{pixels.data(), width, height, width, 0, 0});
    rgba_.resize(pixels.size() * 4);
    for (size_t i = 0; i < pixels.size(); ++i) {
        rgba_[i * 4] = static_cast<uint8_t>(pixels[i] >> 16);
        rgba_[i * 4 + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        rgba_[i * 4 + 2] = static_cast<uint8_t>(pixels[i]);
        rgba_[i * 4 + 3] = 0xFF;
    }
    return rgba_;
}

void WebEditor::Press(int x, int y) {
    beforeDrag_ = doc_;
    PressAt(editor_, x, y);
}

bool WebEditor::TakeChange() {
    const bool pending = editor_.ChangePending();
    editor_.ChangeMirrored();
    return pending;
}

void WebEditor::Move(int x, int y) { MoveTo(editor_, x, y); }

bool WebEditor::Release() {
    editor_.Release();
    return Changed(beforeDrag_);
}

bool WebEditor::LoseCapture() {
    editor_.LoseCapture();
    return Changed(beforeDrag_);
}

bool WebEditor::Type(uint32_t code) {
    const ScreenDocument before = doc_;
    editor_.TypeCode(code);
    return Changed(before);
}

int WebEditor::PaletteSlotAt(int x, int y) const { return ::PaletteSlotAt(doc_, x, y); }

std::string WebEditor::Pattern(int code) const {
    if (code < 0 || code >= static_cast<int>(kUserGlyphCount)) return {};
    const auto glyph = doc_.GlyphOf(static_cast<size_t>(code));
    std::string pattern;
    for (size_t i = 0; i < kPatternDots; ++i) {
        pattern += glyph[i / kDotColumns * kGlyphRowBytes + i % kDotColumns] != 0 ? kLitDot : kDarkDot;
    }
    return pattern;
}

bool WebEditor::SetPattern(int code, const std::string& pattern) {
    if (code < 0 || code >= static_cast<int>(kUserGlyphCount)) return false;
    const ScreenDocument before = doc_;
    if (!DrawGlyph(doc_.GlyphOf(static_cast<size_t>(code)), pattern)) return false;
    Changed(before);
    return true;
}

bool WebEditor::SetSize(const std::string& name) {
    const DisplaySize* size = FindDisplaySize(name);
    if (size == nullptr) return false;
    const ScreenDocument before = doc_;
    SetDisplaySize(doc_, size->code);
    editor_.ClampCursor();
    Changed(before);
    return true;
}

std::string WebEditor::SizeName() const {
    const char* name = GeometryName(doc_.sizeCode);
    return name != nullptr ? name : "";
}

void WebEditor::New() {
    const ScreenDocument before = doc_;
    ClearDocument(doc_);
    editor_.Reset();
    Changed(before);
}

std::string WebEditor::Open(const std::vector<uint8_t>& bytes) {
    const ScreenDocument before = doc_;
    const size_t size = std::min(bytes.size(), kMaxStartScreenBytes);
    const LoadOutcome outcome = ReadStartScreen(doc_, bytes.data(), size);
    editor_.Reset();
    editor_.ClampCursor();
    Changed(before);
    if (outcome == LoadOutcome::TextShort) {
        return "Error loading: the file ends before its text does; the cells it does not reach kept what they showed";
    }
    return "";
}

std::vector<uint8_t> WebEditor::Save() const {
    StartScreenBytes bytes{};
    const size_t size = WriteStartScreen(doc_, bytes);
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(size));
}

std::string WebEditor::ExportJson() const { return StartScreenToJson(WholeStartScreen(doc_)); }

std::string WebEditor::ExportC() const { return StartScreenToC(doc_); }

std::string WebEditor::ExportArduino() const { return StartScreenToArduino(doc_); }

std::vector<uint8_t> WebEditor::ExportPng() const {
    PixelImage panel{PanelWidth(doc_), PanelHeight(doc_), {}};
    panel.pixels.resize(static_cast<size_t>(panel.width) * static_cast<size_t>(panel.height));
    if (!RenderPanel(doc_, panel.pixels)) return {};
    return EncodePng(panel);
}

std::string WebEditor::ImportJson(const std::string& json, const std::string& source) {
    try {
        const ExactStartScreen file = StartScreenFromJson(json, source);
        const ScreenDocument before = doc_;
        const std::vector<uint8_t> bytes = WriteExactStartScreen(file);
        ReadStartScreen(doc_, bytes.data(), std::min(bytes.size(), kMaxStartScreenBytes));
        editor_.Reset();
        Changed(before);
        return "";
    } catch (const FormatError& error) {
        return error.what();
    }
}

std::string WebEditor::PlaceLogo(const std::vector<uint8_t>& rgba, int width, int height, int row, int column,
                                 const std::string& source) {
    if (width <= 0 || height <= 0 || rgba.size() / 4 / static_cast<size_t>(width) < static_cast<size_t>(height)) {
        return source + ": not a picture";
    }
    PixelImage picture{width, height, {}};
    picture.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        // Transparent pixels are unlit background, as for a PNG file.
        const bool clear = rgba[i * 4 + 3] < 128;
        picture.pixels[i] = clear ? 0xFFFFFFu
                                  : static_cast<uint32_t>(rgba[i * 4]) << 16 | static_cast<uint32_t>(rgba[i * 4 + 1]) << 8 |
                                        rgba[i * 4 + 2];
    }
    const ScreenDocument before = doc_;
    try {
        ::PlaceLogo(doc_, picture, static_cast<uint32_t>(row), static_cast<uint32_t>(column), source);
    } catch (const FormatError& error) {
        return error.what();
    }
    Changed(before);
    return "";
}

bool WebEditor::Changed(const ScreenDocument& before) {
    if (SameScreen(before, doc_)) return false;
    undo_.push_back(before);
    if (undo_.size() > kUndoSteps) undo_.erase(undo_.begin());
    redo_.clear();
    return true;
}

void WebEditor::Restore(const ScreenDocument& screen) {
    doc_ = screen;
    editor_.ClampCursor();
}

bool WebEditor::Undo() {
    if (undo_.empty()) return false;
    redo_.push_back(doc_);
    Restore(undo_.back());
    undo_.pop_back();
    return true;
}

bool WebEditor::Redo() {
    if (redo_.empty()) return false;
    undo_.push_back(doc_);
    Restore(redo_.back());
    redo_.pop_back();
    return true;
}
