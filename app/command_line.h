#pragma once
#include <windows.h>

// The command line after the program name and the blanks that follow it, quotes and all.
// Lead bytes are those of the given code page (the ANSI code page by default).
const char* CommandLineTail(const char* commandLine, UINT codePage = CP_ACP);

// How the shell asked the window to be shown: the startup info's choice, or SW_SHOWDEFAULT.
int StartupShowCommand();
