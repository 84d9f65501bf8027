#include "cli/provisioning/port_transfer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "document/display_size.h"
#include "document/screen_document.h"
#include "link/display_protocol.h"

namespace {

// A line that notes, in order, what the transfer did to it: 'w' a write, 'd' a drain, 'p' a
// pause begun, 'c' the close.
class NotingLine final : public DrainableLine {
public:
    int32_t Open(const char*, int32_t, ParityMode) override {
        open_ = true;
        return kOpenOk;
    }
    bool WriteByte(uint32_t value) override {
        const uint8_t byte = static_cast<uint8_t>(value);
        return Write(&byte, 1) == 1;
    }
    uint32_t Write(const uint8_t* bytes, uint32_t count) override {
        events += 'w';
        sent.insert(sent.end(), bytes, bytes + count);
        return count;
    }
    void Close() override {
        events += 'c';
        open_ = false;
    }
    const char* FailureReason() const override { return ""; }
    bool Drain() override {
        events += 'd';
        lastDrain = std::chrono::steady_clock::now();
        return drainsLeft-- > 0;
    }
    bool IsOpen() const override { return open_; }

    std::string events;
    std::vector<uint8_t> sent;
    std::vector<uint32_t> pauses;
    int drainsLeft = 1000;
    std::chrono::steady_clock::time_point lastDrain;

private:
    bool open_ = false;
};

class NotingPauses final : public Sleeper {
public:
    NotingPauses(NotingLine& line, PortTransfer& transfer) : line_(line), transfer_(transfer) {}
    void Sleep(uint32_t milliseconds) override {
        line_.events += 'p';
        line_.pauses.push_back(milliseconds);
        transfer_.Sleep(milliseconds);
        waitedAfterDrain.push_back(std::chrono::steady_clock::now() - line_.lastDrain);
    }

    std::vector<std::chrono::steady_clock::duration> waitedAfterDrain;

private:
    NotingLine& line_;
    PortTransfer& transfer_;
};

ScreenDocument Screen(uint16_t size) {
    ScreenDocument doc;
    SetDisplaySize(doc, size);
    for (size_t i = 0; i < kCellCount; ++i) doc.cells[i] = static_cast<uint8_t>(0xF8 + i % 8);
    for (size_t i = 0; i < kUserGlyphBytes; ++i) doc.glyphs[i] = static_cast<uint8_t>(i % 4);
    return doc;
}

TEST(PortTransfer, EveryPauseAndTheCloseWaitForTheWrittenBytesToLeaveAndTheLineGetsThePlan) {
    for (uint16_t size : {kSize2x20, kSize2x16, kSize4x20}) {
        const ScreenDocument doc = Screen(size);
        NotingLine line;
        StopFlag stop;
        PortTransfer transfer(line, stop);
        NotingPauses pauses(line, transfer);
        DisplayProtocol protocol;
        const TransferResult result = protocol.StoreScreen(doc, "line", 19200, transfer, pauses);
        ASSERT_TRUE(result.Reached());
        EXPECT_FALSE(transfer.DrainFailed());

        const TransferPlan plan = StorePlan(doc);
        EXPECT_EQ(line.sent, plan.Bytes());
        std::string planned;
        std::vector<uint32_t> plannedPauses;
        for (const TransferStep& step : plan.steps) {
            planned += step.IsPause() ? "pd" : "w";
            if (step.IsPause()) plannedPauses.push_back(step.pauseMs);
        }
        // The drain sits between the pause's start and its wait: nothing is written in between,
        // so the wait begins only once every byte before it has left.
        EXPECT_EQ(line.events, planned + "dc") << size;
        EXPECT_EQ(line.pauses, plannedPauses);
        // And the whole pause still lies ahead once the drain is over.
        ASSERT_EQ(pauses.waitedAfterDrain.size(), plannedPauses.size());
        for (size_t i = 0; i < plannedPauses.size(); ++i) {
            EXPECT_GE(pauses.waitedAfterDrain[i], std::chrono::milliseconds(plannedPauses[i])) << "pause " << i;
        }
    }
}

TEST(PortTransfer, ADrainThatFailsAtTheEndOrBeforeAPauseIsNoted) {
    const ScreenDocument doc = Screen(kSize2x20);
    for (int drains : {0, 5, 13}) {
        NotingLine line;
        line.drainsLeft = drains;
        StopFlag stop;
        PortTransfer transfer(line, stop);
        DisplayProtocol protocol;
        protocol.StoreScreen(doc, "line", 19200, transfer, transfer);
        EXPECT_TRUE(transfer.DrainFailed()) << drains;
    }
}

}  // namespace
