#include "win32/dialog_binding.h"

namespace win32 {

void Win32Controls::SetCheck(int id, bool checked) {
    CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32Controls::Enable(int id, bool enabled) {
    EnableWindow(GetDlgItem(dialog_, id), enabled ? TRUE : FALSE);
}

namespace {
INT_PTR CALLBACK BoundDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* handler = reinterpret_cast<plat::DialogHandler*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        Win32Controls controls(dialog);
        handler->OnInit(controls);
        return TRUE;
    }
    auto* handler = reinterpret_cast<plat::DialogHandler*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!handler) return FALSE;
    if (message == WM_COMMAND) {
        Win32Controls controls(dialog);
        handler->OnCommand(controls, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}
}  // namespace

HWND CreateBoundDialog(HINSTANCE instance, int templateId, HWND parent, plat::DialogHandler& handler) {
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, BoundDialogProc,
                              reinterpret_cast<LPARAM>(&handler));
}

}  // namespace win32
