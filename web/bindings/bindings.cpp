// The page's view of the core: the editor, and the transfer plans as plain JavaScript objects.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "web/bindings/web_editor.h"

namespace {

using emscripten::val;

std::vector<uint8_t> BytesOf(const val& array) { return emscripten::convertJSArrayToNumberVector<uint8_t>(array); }

// A copy, so the page keeps valid bytes whatever the editor does next.
val ByteArray(const std::vector<uint8_t>& bytes) {
    val array = val::global("Uint8Array").new_(bytes.size());
    array.call<void>("set", val(emscripten::typed_memory_view(bytes.size(), bytes.data())));
    return array;
}

// [{bytes: Uint8Array} or {pauseMs: N}, ...]
val PlanSteps(const TransferPlan& plan) {
    val steps = val::array();
    for (const TransferStep& step : plan.steps) {
        val item = val::object();
        if (step.IsPause()) {
            item.set("pauseMs", step.pauseMs);
        } else {
            item.set("bytes", ByteArray(step.bytes));
        }
        steps.call<void>("push", item);
    }
    return steps;
}

val Pixels(WebEditor& editor) {
    const std::vector<uint8_t>& rgba = editor.Render();
    return ByteArray(rgba);
}

std::string Open(WebEditor& editor, const val& bytes) { return editor.Open(BytesOf(bytes)); }
val Save(const WebEditor& editor) { return ByteArray(editor.Save()); }
val ExportPng(const WebEditor& editor) { return ByteArray(editor.ExportPng()); }
std::string PlaceLogo(WebEditor& editor, const val& rgba, int width, int height, int row, int column,
                      const std::string& source) {
    return editor.PlaceLogo(BytesOf(rgba), width, height, row, column, source);
}
val MirrorSteps(const WebEditor& editor) { return PlanSteps(editor.Mirror()); }
val StoreSteps(const WebEditor& editor) { return PlanSteps(editor.Store()); }

}  // namespace

EMSCRIPTEN_BINDINGS(brevant) {
    emscripten::class_<WebEditor>("Editor")
        .constructor<>()
        .function("width", &WebEditor::Width)
        .function("height", &WebEditor::Height)
        .function("pixels", &Pixels)
        .function("press", &WebEditor::Press)
        .function("move", &WebEditor::Move)
        .function("release", &WebEditor::Release)
        .function("loseCapture", &WebEditor::LoseCapture)
        .function("type", &WebEditor::Type)
        .function("moveCursor", &WebEditor::MoveCursor)
        .function("dragging", &WebEditor::Dragging)
        .function("takeChange", &WebEditor::TakeChange)
        .function("paletteSlotAt", &WebEditor::PaletteSlotAt)
        .function("pattern", &WebEditor::Pattern)
        .function("setPattern", &WebEditor::SetPattern)
        .function("setSize", &WebEditor::SetSize)
        .function("sizeName", &WebEditor::SizeName)
        .function("newScreen", &WebEditor::New)
        .function("open", &Open)
        .function("save", &Save)
        .function("exportJson", &WebEditor::ExportJson)
        .function("exportC", &WebEditor::ExportC)
        .function("exportArduino", &WebEditor::ExportArduino)
        .function("exportPng", &ExportPng)
        .function("importJson", &WebEditor::ImportJson)
        .function("placeLogo", &PlaceLogo)
        .function("mirrorPlan", &MirrorSteps)
        .function("storePlan", &StoreSteps)
        .function("undo", &WebEditor::Undo)
        .function("redo", &WebEditor::Redo)
        .function("canUndo", &WebEditor::CanUndo)
        .function("canRedo", &WebEditor::CanRedo)
        .function("forgetHistory", &WebEditor::ForgetHistory);
}
