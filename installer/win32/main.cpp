// Setup.exe: the printer driver installation wizard.
#include <windows.h>
#include <commctrl.h>

#include "core/os_page.h"
#include "win32/win32_desktop.h"
#include "win32/win32_registry.h"
#include "win32/win32_system_info.h"
#include "win32/wizard_frame.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    win32::Win32SystemInfo system;
    win32::Win32Registry registry;
    win32::Win32Desktop desktop;
    setup::OsPage osPage(system, registry, desktop);
    setup_win32::WizardPages pages{&osPage};
    setup_win32::RunWizard(instance, pages);
    return 0;
}
