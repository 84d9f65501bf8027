#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/app_module.h"
#include "toolkit/message_loop.h"
#include "../../core/test_support.h"
#include "dialog_driver.h"
#include "document/screen_document.h"
#include "frame/main_frame.h"
#include "port_reader.h"

// A registry value as stored: its type and its exact bytes; type REG_NONE when missing.
struct StoredValue {
    DWORD type = REG_NONE;
    std::string bytes;
};

void DeleteSettingsKey();
void StoreSetting(const char* name, DWORD type, const std::string& bytes);
StoredValue ReadSetting(const char* name);


// A real frame window on a thread whose loop is registered, its serial port read on COM4,
// and a scratch folder for files.
class FrameTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows the frame as the program does; the start-up mirror is left on the port.
    void Start(const CommApi& comm = SystemCommApi());
    void Close();
    void Command(WORD id);
    // Handles everything waiting, paints included.
    void Pump();
    // Everything that reached the far end of COM3 since the last call.
    std::vector<uint8_t> Sent();
    std::string ScratchPath(const char* name) const;
    std::string StatusText() const;
    // The text of one part of the status bar: 0 "Ready", 1 the file, 2 the link.
    std::string StatusPart(int part) const;
    bool StatusIsSimple() const;

    ScreenDocument& Doc() { return frame_->Document(); }
    HWND Frame() const { return frame_->Handle(); }
    HWND Preview() { return frame_->View().Handle(); }

    LoopRegistry registry_;
    MessageLoop loop_;
    std::unique_ptr<MainFrame> frame_;
    std::string scratch_;
    // Ends a dialog that a test did not expect, so that the test fails instead of hanging.
    std::unique_ptr<DialogDriver> guard_;
};
