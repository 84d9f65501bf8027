#pragma once
#include <windows.h>

#include "toolkit/window.h"

// The program's name, version and notice.
class AboutDialog final : public Dialog {
public:
    INT_PTR Run(HWND owner);

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnInitDialog();
    INT_PTR OnCommand(WORD id);
};
