#pragma once
#include <windows.h>

// Centres a dialog on its owner (or the work area) and keeps it inside the work area.
// Without an owner given, the dialog's own owner is used.
void CenterOnOwner(HWND dialog, HWND owner = nullptr);
