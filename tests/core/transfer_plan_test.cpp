#include "link/transfer_plan.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "document/display_size.h"
#include "link/display_protocol.h"
#include "test_support.h"

namespace {

using Kind = RecordingLine::Event::Kind;

// What each line has sent since the protocol was first written, worked out here step by step:
// one write call per byte, the mirror's rows as blocks of 20, a pause after each stored
// character, after text bytes 0, 8, 16, ... and at the end.
std::vector<TransferStep> PlannedStore(const ScreenDocument& doc, size_t cells) {
    std::vector<TransferStep> steps;
    auto byte = [&](uint8_t b) { steps.push_back({{b}, 0}); };
    for (uint8_t code = 0; code < 8; ++code) {
        for (uint8_t b : {uint8_t{0xFE}, uint8_t{0xC2}, code}) byte(b);
        for (size_t row = 0; row < 8; ++row) byte(PackedRow(doc, code, row));
        steps.push_back({{}, 20});
    }
    byte(0xFE);
    byte(0x40);
    for (size_t k = 0; k < cells; ++k) {
        byte(doc.cells[k] == 0xFE ? 0x20 : doc.cells[k]);
        if (k % 8 == 0) steps.push_back({{}, 20});
    }
    steps.push_back({{}, 150});
    return steps;
}

std::vector<TransferStep> PlannedMirror(const ScreenDocument& doc) {
    std::vector<TransferStep> steps;
    auto byte = [&](uint8_t b) { steps.push_back({{b}, 0}); };
    for (uint8_t code = 0; code < 8; ++code) {
        for (uint8_t b : {uint8_t{0xFE}, uint8_t{0x4E}, code}) byte(b);
        for (size_t row = 0; row < 8; ++row) byte(PackedRow(doc, code, row));
    }
    for (uint8_t row = 1; row <= 2; ++row) {
        for (uint8_t b : {uint8_t{0xFE}, uint8_t{0x47}, uint8_t{1}, row}) byte(b);
        std::vector<uint8_t> block;
        for (size_t i = (row - 1u) * 20; i < row * 20u; ++i) block.push_back(doc.cells[i] == 0xFE ? 0x20 : doc.cells[i]);
        steps.push_back({block, 0});
    }
    return steps;
}

// 0xFE in the text, pixel bytes 2 and 0x80 among the dots and in the two hidden columns.
ScreenDocument OddDocument(uint16_t size, uint32_t rowsBefore) {
    ScreenDocument doc = StartupDocument();
    if (rowsBefore == 4) SetDisplaySize(doc, kSize4x20);
    SetDisplaySize(doc, size);
    for (size_t i = 0; i < kCellCount; ++i) doc.cells[i] = static_cast<uint8_t>(0xF0 + i % 16);
    for (size_t i = 0; i < kUserGlyphBytes; ++i) doc.glyphs[i] = static_cast<uint8_t>(i % 5 == 0 ? 2 : i % 7 == 6 ? 0x80 : i % 3 == 0);
    return doc;
}

void ExpectSteps(const TransferPlan& plan, const std::vector<TransferStep>& expected) {
    ASSERT_EQ(plan.steps.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(plan.steps[i].bytes, expected[i].bytes) << "step " << i;
        EXPECT_EQ(plan.steps[i].pauseMs, expected[i].pauseMs) << "step " << i;
    }
}

// The events a line sees when the protocol runs the first `stepsRun` steps of the plan: each write
// its own call, each pause in its place. (The recording line keeps no event for a refused write.)
void ExpectRunAsPlanned(const std::vector<RecordingLine::Event>& events, const TransferPlan& plan,
                        size_t stepsRun = SIZE_MAX) {
    stepsRun = std::min(stepsRun, plan.steps.size());
    ASSERT_EQ(events.size(), stepsRun + 2);
    EXPECT_EQ(events.front().kind, Kind::Open);
    EXPECT_EQ(events.back().kind, Kind::Close);
    for (size_t i = 0; i < stepsRun; ++i) {
        const RecordingLine::Event& event = events[i + 1];
        const TransferStep& step = plan.steps[i];
        if (step.IsPause()) {
            EXPECT_EQ(event.kind, Kind::Pause) << i;
            EXPECT_EQ(event.value, step.pauseMs) << i;
        } else {
            EXPECT_EQ(event.kind, step.bytes.size() == 1 ? Kind::Byte : Kind::Block) << i;
            EXPECT_EQ(event.bytes, step.bytes) << i;
        }
    }
}

TEST(TransferPlan, EveryGeometryWithOddBytesPlansExactlyWhatTheLinesSendAndRunsStepByStep) {
    struct Case {
        uint16_t size;
        uint32_t rowsBefore;
        size_t cells;
    };
    for (const Case& c : {Case{kSize2x20, 2, 40}, Case{kSize2x16, 2, 32}, Case{kSize2x16, 4, 64},
                          Case{kSize4x20, 2, 80}}) {
        SCOPED_TRACE(std::to_string(c.size) + " after " + std::to_string(c.rowsBefore) + " rows");
        const ScreenDocument doc = OddDocument(c.size, c.rowsBefore);
        const TransferPlan store = StorePlan(doc);
        const TransferPlan mirror = MirrorPlan(doc);
        ExpectSteps(store, PlannedStore(doc, c.cells));
        ExpectSteps(mirror, PlannedMirror(doc));
        EXPECT_EQ(store.ByteCount(), 90 + c.cells);
        EXPECT_EQ(mirror.ByteCount(), kMirrorBytes);
        EXPECT_EQ(store.Bytes().size(), store.ByteCount());

        DisplayProtocol protocol;
        RecordingLine line;
        const TransferResult stored = protocol.StoreScreen(doc, kDefaultLinkSettings, line, line);
        EXPECT_EQ(stored.bytesTotal, store.ByteCount());
        EXPECT_EQ(line.Bytes(), store.Bytes());
        ExpectRunAsPlanned(line.events, store);
        RecordingLine mirrorLine;
        protocol.MirrorScreen(doc, kDefaultLinkSettings, mirrorLine);
        ExpectRunAsPlanned(mirrorLine.events, mirror);
    }
}

TEST(TransferPlan, AWriteThatFailsEndsTheRunWithNoPauseAfterIt) {
    const ScreenDocument doc = OddDocument(kSize2x20, 2);
    for (size_t budget : {size_t{0}, size_t{10}, size_t{11}, size_t{95}, size_t{129}}) {
        DisplayProtocol protocol;
        RecordingLine line;
        line.byteBudget = budget;
        const TransferResult result = protocol.StoreScreen(doc, kDefaultLinkSettings, line, line);
        EXPECT_EQ(result.outcome, TransferResult::Outcome::WriteFailed) << budget;
        EXPECT_EQ(result.bytesSent, budget);
        const std::vector<uint8_t> all = StorePlan(doc).Bytes();
        EXPECT_EQ(line.Bytes(), std::vector<uint8_t>(all.begin(), all.begin() + budget));
        // Every step up to the write that fails, that write refused, nothing after it.
        const TransferPlan plan = StorePlan(doc);
        size_t failing = 0;
        for (size_t sent = 0; sent + plan.steps[failing].bytes.size() <= budget; ++failing) {
            sent += plan.steps[failing].bytes.size();
        }
        ExpectRunAsPlanned(line.events, plan, failing);
    }
}

}  // namespace
