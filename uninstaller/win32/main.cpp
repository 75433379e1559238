// Desinstalar.exe: lists and removes the package's printers, monitors and
// print processors. So far only its window: the list and removal come later.
#include <windows.h>
#include <commctrl.h>

#include "resource.h"

namespace {
INT_PTR CALLBACK UninstallerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_UNINSTALLER), nullptr, UninstallerProc, 0);
    return 0;
}
