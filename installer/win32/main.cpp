// Setup.exe: the printer driver installation wizard.
#include <windows.h>
#include <commctrl.h>

#include "core/config_files.h"
#include "core/driver_key_reader.h"
#include "core/program_start.h"
#include "core/setup_wizard.h"
#include "resource.h"
#include "win32/no_throw.h"
#include "win32/system_library.h"
#include "win32/progress_window.h"
#include "win32/win32_clock.h"
#include "win32/win32_desktop.h"
#include "win32/win32_files_install.h"
#include "win32/win32_profile.h"
#include "win32/win32_registry.h"
#include "win32/win32_services.h"
#include "win32/win32_spooler_install.h"
#include "win32/win32_system_info.h"
#include "win32/win32_usb_library.h"
#include "win32/wizard_window.h"

namespace {
int RunSetup(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    win32::Win32SystemInfo system;
    win32::Win32Registry registry;
    win32::Win32Desktop desktop(instance);
    win32::Win32Profile profile;
    win32::Win32Clock clock;
    win32::Win32PaintingClock progressClock;
    win32::Win32FilesInstall files;
    win32::Win32SpoolerInstall spooler;
    win32::Win32Services services;
    if (!setup::PrepareSetupStart(desktop, system)) return 0;
    desktop.SetDialogOptions(IDD_PROGRESS, setup_win32::ProgressWindowOptions());

    const std::string folder = setup::ConfigFolder(system.ExecutablePath());
    setup::DriverKeyReader reader(profile, setup::MakeReaderPaths(folder));
    setup::ModulePage modulePage(reader);
    setup::InstallTypePage installTypePage;
    setup::OsPage osPage(system, registry, desktop);
    win32::Win32UsbLibrary usb;
    setup::PortPage portPage({profile, usb, desktop, files, system}, osPage, folder);
    setup_win32::Win32WizardWindow window(instance);
    const setup::InstallServices engine{profile, registry, files, spooler, services, system, clock, desktop};
    auto worker = [&engine](const setup::InstallRequest& request, setup::InstallProgress& progress) {
        setup::InstallWorker(engine, request, progress);
    };
    setup::SetupWizard wizard({modulePage, installTypePage, osPage, portPage}, window,
                              {profile, desktop, system, clock, usb, files, registry, worker, &progressClock}, folder);
    window.Run(wizard);
    return 0;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything is loaded: the program runs with administrator rights
    // from a folder anyone may have put files in.
    win32::RestrictDllSearch();
    // The dialogs catch what their handlers throw; this is what the start
    // itself (reading the configuration, building the pages) may throw.
    try {
        return RunSetup(instance);
    } catch (...) {
        win32::ReportInternalError(nullptr);
        return 1;
    }
}
