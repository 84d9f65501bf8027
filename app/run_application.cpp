#include "app/run_application.h"

#include <commctrl.h>
#include <objbase.h>

#include <memory>
#include <new>

#include "app/file_association.h"
#include "app/single_instance.h"
#include "frame/main_frame.h"
#include "toolkit/app_module.h"
#include "toolkit/message_loop.h"

namespace {

// A file handed over by a later start goes to the frame like one named on our command line.
class FrameFileReceiver final : public HandedFileReceiver {
public:
    explicit FrameFileReceiver(MainFrame& frame) : frame_(frame) {}
    void OpenHandedFile(const char* path) override { frame_.OpenNamedFile(path); }

private:
    MainFrame& frame_;
};

// Creates and shows the main window, opens the named file and runs the loop until quit.
int RunApplication(MainFrame& mainFrame, SingleInstance& instance, const char* commandLineTail, int showCommand) {
    LoopRegistry& loops = *gAppModule.loopRegistry;
    const DWORD thread = GetCurrentThreadId();
    MessageLoop loop;
    // The frame needs the loop while it is created; without one there is nothing to run.
    if (!loops.Register(thread, loop)) return 0;

    FileAssociation association;
    association.RegisterFileType();

    const HWND frame = mainFrame.Create();
    if (frame == nullptr) {
        loops.Unregister(thread);
        return 0;
    }
    instance.mainWindow = frame;
    ShowWindow(frame, showCommand);
    if (commandLineTail != nullptr && commandLineTail[0] != '\0') mainFrame.OpenNamedFile(commandLineTail);

    const int result = loop.Run();
    loops.Unregister(thread);
    return result;
}

}  // namespace

int ApplicationMain(HINSTANCE instance, const char* commandLineTail, int showCommand) {
    CoInitialize(nullptr);
    // Lets the system set up its window classes for this process before our first window
    // exists; the start-up has always begun this way and is kept in its order.
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

    bool handedOver = false;
    int result = 0;
    {
        // The frame outlives its window: the window is gone when the loop returns.
        MainFrame frame;
        FrameFileReceiver receiver(frame);
        SingleInstance single(receiver);
        single.ClaimInstance(commandLineTail);
        handedOver = single.otherInstanceFound;
        if (!handedOver) result = RunApplication(frame, single, commandLineTail, showCommand);
        single.Release();
    }

    gAppModule.loopRegistry = nullptr;
    loops.reset();
    gAppModule.Term();
    // The hand-over path leaves COM to the process exit.
    if (!handedOver) CoUninitialize();
    return result;
}
