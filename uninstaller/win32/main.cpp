// Desinstalar.exe: lists the package's printers, monitors and print
// processors found on the machine and removes the ones the user ticks.
#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "core/program_start.h"
#include "core/uninstaller_dialog.h"
#include "core/uninstaller_text.h"
#include "resource.h"
#include "win32/encoding.h"
#include "win32/no_throw.h"
#include "win32/system_library.h"
#include "win32/win32_clock.h"
#include "win32/win32_desktop.h"
#include "win32/win32_files.h"
#include "win32/win32_profile.h"
#include "win32/win32_registry.h"
#include "win32/win32_services.h"
#include "win32/win32_spooler_admin.h"
#include "win32/win32_system_info.h"

namespace {

// What only the window needs, done before the dialog's class fills it: the
// icon, the about entry of the system menu and the list view's look.
bool UninstallerWindowHook(HWND dialog, UINT message, WPARAM, LPARAM, INT_PTR*, void* context) {
    if (message != WM_INITDIALOG) return false;
    HINSTANCE instance = static_cast<HINSTANCE>(context);

    // Shared icons belong to the system: nothing to destroy with the window.
    for (const auto& [which, size] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
        const int pixels = GetSystemMetrics(size);
        HANDLE icon = LoadImageA(instance, MAKEINTRESOURCEA(IDI_UNINSTALLER), IMAGE_ICON, pixels, pixels, LR_SHARED);
        SendMessageA(dialog, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }

    HMENU menu = GetSystemMenu(dialog, FALSE);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_ABOUT,
                win32::Utf8ToAnsi(uninstall::UninstallerString(uninstall::IDS_ABOUT_ITEM)).c_str());

    // Added to the styles the list view already has.
    constexpr DWORD kListStyles = LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_TRACKSELECT | LVS_EX_FULLROWSELECT;
    SendDlgItemMessageA(dialog, IDC_ITEMS, LVM_SETEXTENDEDLISTVIEWSTYLE, kListStyles, kListStyles);
    return false;  // the dialog's class initialises next
}

int RunUninstaller(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    win32::Win32Profile profile;
    win32::Win32Registry registry;
    win32::Win32Files files;
    win32::Win32SpoolerAdmin spooler;
    win32::Win32Services services;
    win32::Win32SystemInfo system;
    win32::Win32Clock clock;
    win32::Win32Desktop desktop(instance);
    if (!uninstall::PrepareUninstallerStart(desktop, system)) return 0;

    desktop.SetDialogOptions(IDD_UNINSTALLER, {&UninstallerWindowHook, instance});
    uninstall::UninstallerDialog dialog({profile, registry, files, spooler, services, system, clock, desktop});
    desktop.RunDialog(IDD_UNINSTALLER, 0, dialog);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything is loaded: the program runs with administrator rights
    // from a folder anyone may have put files in.
    win32::RestrictDllSearch();
    // The dialog catches what its handlers throw; this is what the start
    // itself may throw.
    try {
        return RunUninstaller(instance);
    } catch (...) {
        win32::ReportInternalError(nullptr);
        return 1;
    }
}
