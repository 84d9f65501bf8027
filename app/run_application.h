#pragma once
#include <windows.h>

// The process from start-up to tear-down; returns the exit code.
int ApplicationMain(HINSTANCE instance, const char* commandLineTail, int showCommand);
