#include "app/run_application.h"

#include <commctrl.h>
#include <objbase.h>

#include <memory>
#include <new>

#include "toolkit/app_module.h"
#include "app/file_association.h"
#include "toolkit/message_loop.h"
#include "app/single_instance.h"
#include "frame/main_frame.h"

namespace {

class FrameFileReceiver final : public HandedFileReceiver {
public:
    void OpenHandedFile(const char* path) override;
};

// Constructed in this order before the entry runs; the frame outlives its window.
FrameFileReceiver gFrameFileReceiver;
SingleInstance gSingleInstance(gFrameFileReceiver);
MainFrame gMainFrame;

void FrameFileReceiver::OpenHandedFile(const char* path) { gMainFrame.OpenNamedFile(path); }

}  // namespace

int RunApplication(const char* commandLineTail, int showCommand) {
    LoopRegistry& loops = *gAppModule.loopRegistry;
    const DWORD thread = GetCurrentThreadId();
    MessageLoop loop;
    // The frame needs the loop while it is created; without one there is nothing to run.
    if (!loops.Register(thread, loop)) return 0;

    FileAssociation association;
    association.RegisterFileType();

    const HWND frame = gMainFrame.Create();
    if (frame == nullptr) {
        loops.Unregister(thread);
        return 0;
    }
    gSingleInstance.mainWindow = frame;
    ShowWindow(frame, showCommand);
    if (commandLineTail != nullptr && commandLineTail[0] != '\0') gMainFrame.OpenNamedFile(commandLineTail);

    const int result = loop.Run();
    loops.Unregister(thread);
    return result;
}

int ApplicationMain(HINSTANCE instance, const char* commandLineTail, int showCommand) {
    CoInitialize(nullptr);
    DefWindowProcA(nullptr, 0, 0, 0);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    gAppModule.Init(instance);
    std::unique_ptr<LoopRegistry> loops(new (std::nothrow) LoopRegistry);
    if (loops == nullptr) {
        gAppModule.Term();
        CoUninitialize();
        return 0;
    }
    gAppModule.loopRegistry = loops.get();

    gSingleInstance.ClaimInstance(commandLineTail);
    const bool handedOver = gSingleInstance.otherInstanceFound;
    const int result = handedOver ? 0 : RunApplication(commandLineTail, showCommand);

    gSingleInstance.Release();
    gAppModule.loopRegistry = nullptr;
    loops.reset();
    gAppModule.Term();
    // The hand-over path leaves COM to the process exit.
    if (!handedOver) CoUninitialize();
    return result;
}
