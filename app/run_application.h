#pragma once
#include <windows.h>

// The process from start-up to tear-down; returns the exit code.
int ApplicationMain(HINSTANCE instance, const char* commandLineTail, int showCommand);

// Creates and shows the main window, opens the named file and runs the loop until quit.
int RunApplication(const char* commandLineTail, int showCommand);
