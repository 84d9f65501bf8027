#pragma once
#include <windows.h>
#include <commdlg.h>

// The platform calls behind the dialog; a seam so that tests can see the request.
struct FileDialogApi {
    BOOL(WINAPI* getOpenFileName)(LPOPENFILENAMEA);
    BOOL(WINAPI* getSaveFileName)(LPOPENFILENAMEA);
};

const FileDialogApi& SystemFileDialogApi();

inline constexpr char kScreenFileFilter[] = "Korvane Start Screens (*.kss)\0*.kss\0";
inline constexpr char kScreenFileExtension[] = "kss";

// Open or save dialog for start-screen files, built fresh for each use.
class ScreenFileDialog {
public:
    enum class Mode { Open, Save };

    explicit ScreenFileDialog(Mode mode, const FileDialogApi& api = SystemFileDialogApi()) : mode_(mode), api_(api) {}
    ScreenFileDialog(const ScreenFileDialog&) = delete;
    ScreenFileDialog& operator=(const ScreenFileDialog&) = delete;

    // The chosen path, or null when the user cancelled or the dialog could not be shown.
    const char* Run(HWND owner);

private:
    Mode mode_;
    const FileDialogApi& api_;
    char path_[MAX_PATH] = {};
    char fileTitle_[256] = {};
};
