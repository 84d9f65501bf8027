#include <windows.h>

#include "app/command_line.h"
#include "app/run_application.h"

// The runtime's own tail and show command are not used: both are taken from the system so that
// every compiler's runtime gives the same ones.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return ApplicationMain(instance, CommandLineTail(GetCommandLineA()), StartupShowCommand());
}
