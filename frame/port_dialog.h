#pragma once
#include <windows.h>

#include <cstdint>

#include "toolkit/window.h"

// Chooses the serial port, COM1 to COM9.
class PortDialog final : public Dialog {
public:
    // 1 (OK) or 2 (Cancel); on OK portNumber holds the choice.
    INT_PTR Run(HWND owner);

    // Filled in by the caller before Run.
    int32_t portNumber = 0;

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnInitDialog();
    INT_PTR OnCommand(WORD id);
    void ReadChoice();

    HWND portList_ = nullptr;
};
