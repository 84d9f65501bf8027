#include "frame/about_dialog.h"

#include "toolkit/center_on_owner.h"
#include "resources/resource_ids.h"

INT_PTR AboutDialog::Run(HWND owner) { return RunModal(IDD_ABOUT, owner); }

INT_PTR AboutDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return OnInitDialog();
    if (message == WM_COMMAND) return OnCommand(LOWORD(wParam));
    return FALSE;
}

INT_PTR AboutDialog::OnInitDialog() {
    CenterOnOwner(Handle(), GetParent(Handle()));
    return TRUE;
}

INT_PTR AboutDialog::OnCommand(WORD id) {
    if (id != IDOK && id != IDCANCEL) return FALSE;
    EndDialog(Handle(), id);
    return TRUE;
}
