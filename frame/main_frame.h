#pragma once
#include <windows.h>

#include "toolkit/message_loop.h"
#include "toolkit/window.h"
#include "frame/document_host.h"
#include "document/screen_document.h"
#include "frame/link_status.h"
#include "link/display_protocol.h"
#include "link/serial_channel.h"
#include "link/link_settings.h"
#include "view/screen_view.h"

// The program's one top-level window: menu, preview, status bar and the commands.
class MainFrame final : public Window, public MessageFilter, public IdleHandler, public DocumentHost {
public:
    // The kernel calls of the serial port can be replaced to test failures no real port gives on demand.
    explicit MainFrame(const CommApi& comm = SystemCommApi()) : comm_(comm) {}

    // Title, menu and accelerators from resource 128, system default position and size.
    HWND Create();

    // Takes a path from outside (command line, another instance): refused with a message if it
    // is too long, otherwise it becomes the file name and is loaded.
    void OpenNamedFile(const char* path);

    ScreenDocument& Document() { return doc_; }
    ScreenView& View() { return view_; }
    const LinkSettings& Settings() const { return settings_; }
    bool MirrorDisabled() const { return protocol_.mirrorDisabled; }
    HWND StatusBar() const { return statusBar_; }

    bool FilterMessage(MSG& message) override;
    bool HandleIdle() override;

    void ResizeForGeometry() override;
    void RedrawFrame() override;
    void MirrorScreen() override;
    void ShowMessage(const char* text, const char* caption) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCreate();
    void OnDestroy();
    LRESULT OnChar(WPARAM code, LPARAM keyData);
    bool OnCommand(WORD id);
    void OnInitMenuPopup(HMENU menu);
    void OnSize(WPARAM kind);
    void OnSetFocus();
    LRESULT OnEraseBackground(WPARAM wParam, LPARAM lParam);
    void OnMenuSelect(WORD item, WORD flags, HMENU menu);

    void Open();
    void Save();
    void SaveAs();
    void ConfigurePort();
    void WriteToDisplay();
    void ToggleStatusBar();
    void LayOut();
    void ShowStatus();
    void RegisterWithLoop();

    HWND statusBar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    ScreenDocument doc_;
    ScreenView view_{doc_};
    LinkSettings settings_;
    DisplayProtocol protocol_;
    const CommApi& comm_;
    LinkText linkText_ = {};
};
