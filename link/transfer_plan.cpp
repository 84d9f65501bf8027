#include "link/transfer_plan.h"

#include "link/display_protocol.h"

namespace {

class PlanBuilder {
public:
    void Byte(uint8_t value) { plan_.steps.push_back({{value}, 0}); }
    void Block(std::vector<uint8_t> bytes) { plan_.steps.push_back({std::move(bytes), 0}); }
    void Pause(uint32_t milliseconds) { plan_.steps.push_back({{}, milliseconds}); }

    void Character(const ScreenDocument& doc, uint8_t command, uint8_t code) {
        Byte(kCommandPrefix);
        Byte(command);
        Byte(code);
        for (size_t row = 0; row < kGlyphRows; ++row) Byte(PackedGlyphRow(doc, code, row));
    }

    // Always 20 cells from cell 0 or 20, whatever the geometry: the module's first two lines are
    // what its owner watches while editing, and rows 3 and 4 reach it with "Write to Display".
    void MirrorRow(const ScreenDocument& doc, uint8_t row) {
        Byte(kCommandPrefix);
        Byte(kPlaceCursor);
        Byte(1);
        Byte(row);
        std::vector<uint8_t> block(kMirrorBlockBytes);
        const size_t first = (row - 1u) * kMirrorBlockBytes;
        for (size_t i = 0; i < kMirrorBlockBytes; ++i) block[i] = SafeTextByte(doc.cells[first + i]);
        Block(std::move(block));
    }

    TransferPlan Take() { return std::move(plan_); }

private:
    TransferPlan plan_;
};

}  // namespace

uint32_t TransferPlan::ByteCount() const {
    uint32_t count = 0;
    for (const TransferStep& step : steps) count += static_cast<uint32_t>(step.bytes.size());
    return count;
}

std::vector<uint8_t> TransferPlan::Bytes() const {
    std::vector<uint8_t> all;
    for (const TransferStep& step : steps) all.insert(all.end(), step.bytes.begin(), step.bytes.end());
    return all;
}

TransferPlan MirrorPlan(const ScreenDocument& doc) {
    PlanBuilder plan;
    for (uint8_t code = 0; code < kUserGlyphCount; ++code) plan.Character(doc, kDefineCharacter, code);
    plan.MirrorRow(doc, 1);
    plan.MirrorRow(doc, 2);
    return plan.Take();
}

TransferPlan StorePlan(const ScreenDocument& doc) {
    PlanBuilder plan;
    for (uint8_t code = 0; code < kUserGlyphCount; ++code) {
        plan.Character(doc, kStoreCharacter, code);
        plan.Pause(kCharacterPauseMs);
    }
    plan.Byte(kCommandPrefix);
    plan.Byte(kStoreText);
    const size_t cells = UsedCellCount(doc);
    for (size_t k = 0; k < cells; ++k) {
        plan.Byte(SafeTextByte(doc.cells[k]));
        if (k % kTextPauseEvery == 0) plan.Pause(kTextPauseMs);
    }
    plan.Pause(kFinalPauseMs);
    return plan.Take();
}
