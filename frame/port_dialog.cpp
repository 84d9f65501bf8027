#include "frame/port_dialog.h"

#include <shlwapi.h>

#include "link/display_protocol.h"
#include "toolkit/center_on_owner.h"
#include "resources/resource_ids.h"

namespace {

constexpr char kPortNamePrefix[] = "Com";

}  // namespace

INT_PTR PortDialog::Run(HWND owner) { return RunModal(IDD_PORT, owner); }

INT_PTR PortDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return OnInitDialog();
    if (message == WM_COMMAND) return OnCommand(LOWORD(wParam));
    return FALSE;
}

INT_PTR PortDialog::OnInitDialog() {
    CenterOnOwner(Handle(), GetParent(Handle()));
    portList_ = GetDlgItem(Handle(), IDC_PORT_LIST);
    char name[5];
    for (int port = 1; BuildPortName(port, name, kPortNamePrefix); ++port) {
        SendMessageA(portList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    if (portNumber >= 1 && portNumber <= kLastPortNumber) SendMessageA(portList_, CB_SETCURSEL, portNumber - 1, 0);
    return TRUE;
}

INT_PTR PortDialog::OnCommand(WORD id) {
    if (id == IDOK) ReadChoice();
    if (id != IDOK && id != IDCANCEL) return FALSE;
    EndDialog(Handle(), id);
    return TRUE;
}

// With nothing selected the text is empty and the port stays as it was.
void PortDialog::ReadChoice() {
    char text[256] = {};
    const int length = GetWindowTextA(portList_, text, sizeof text);
    constexpr int kPrefixLength = sizeof kPortNamePrefix - 1;
    if (length > kPrefixLength) portNumber = StrToIntA(text + kPrefixLength);
}
