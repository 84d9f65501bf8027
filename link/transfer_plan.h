#pragma once
#include <cstdint>
#include <vector>

#include "document/screen_document.h"

// One step of a transfer: a write of `bytes` in one call, or, with no bytes, a pause of
// `pauseMs` that begins once every byte written before it has left the port.
struct TransferStep {
    std::vector<uint8_t> bytes;
    uint32_t pauseMs = 0;

    bool IsPause() const { return bytes.empty(); }
};

// A transfer as data, so that a line that must not block (a web page) can run it as well as
// one that can.
struct TransferPlan {
    std::vector<TransferStep> steps;

    uint32_t ByteCount() const;
    std::vector<uint8_t> Bytes() const;
};

// The user characters and the first two rows, as the module shows them while editing.
TransferPlan MirrorPlan(const ScreenDocument& doc);
// The user characters and the whole text, stored as the module's power-on screen.
TransferPlan StorePlan(const ScreenDocument& doc);
