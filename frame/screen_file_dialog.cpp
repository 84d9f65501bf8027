#include "frame/screen_file_dialog.h"

namespace {

using FileDialogCall = BOOL(WINAPI*)(LPOPENFILENAMEA);

BOOL WINAPI NoDialog(LPOPENFILENAMEA) { return FALSE; }

FileDialogCall Find(HMODULE library, const char* name) {
    const FARPROC found = library != nullptr ? GetProcAddress(library, name) : nullptr;
    return found != nullptr ? reinterpret_cast<FileDialogCall>(reinterpret_cast<void (*)()>(found)) : NoDialog;
}

}  // namespace

// The dialog library brings the shell and the printing libraries with it: it is loaded when a
// dialog is first wanted rather than before the window can show.
const FileDialogApi& SystemFileDialogApi() {
    static const FileDialogApi api = [] {
        const HMODULE library = LoadLibraryA("comdlg32.dll");
        return FileDialogApi{Find(library, "GetOpenFileNameA"), Find(library, "GetSaveFileNameA")};
    }();
    return api;
}

const char* ScreenFileDialog::Run(HWND owner) {
    path_[0] = '\0';
    fileTitle_[0] = '\0';
    OPENFILENAMEA request{};
    // The layout without the later extension fields.
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    request.hwndOwner = owner;
    request.lpstrFilter = kScreenFileFilter;
    request.nFilterIndex = 1;
    request.lpstrFile = path_;
    request.nMaxFile = sizeof path_;
    request.lpstrFileTitle = fileTitle_;
    request.nMaxFileTitle = sizeof fileTitle_;
    request.lpstrDefExt = kScreenFileExtension;
    request.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING;
    const auto show = mode_ == Mode::Open ? api_.getOpenFileName : api_.getSaveFileName;
    if (!show(&request)) return nullptr;
    path_[MAX_PATH - 1] = '\0';
    return path_;
}
