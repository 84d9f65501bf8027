#pragma once
#include <windows.h>

#include <string>

// Runs the command line to its end: the exit code, or the system's error with the top bit set
// when the program could not be started.
DWORD RunProgram(std::string commandLine, DWORD timeoutMs = 60000);
