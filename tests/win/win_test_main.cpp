#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "toolkit/app_module.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    gAppModule.Init(GetModuleHandleA(nullptr));
    const int result = RUN_ALL_TESTS();
    gAppModule.Term();
    return result;
}
