#include "core/uninstaller_dialog.h"

#include <new>

#include "core/uninstall_list.h"
#include "programs/os_code.h"
#include "core/uninstaller_text.h"
#include "resource.h"

namespace uninstall {

namespace {
// Dialog 100: its template holds the name and the version.
class AboutDialog : public plat::DialogHandler {
public:
    void OnInit(plat::Controls&) override {}
    void OnCommand(plat::Controls& controls, int id, int) override {
        if (id == plat::kIdOk || id == plat::kIdCancel) controls.Close(id);
    }
};
}  // namespace

UninstallerDialog::~UninstallerDialog() {
    WaitForWorker();
}

void UninstallerDialog::WaitForWorker() {
    worker_.Join();
}

void UninstallerDialog::OnInit(plat::Controls& controls) {
    if (!Initialise(controls)) controls.Close(plat::kIdCancel);
}

bool UninstallerDialog::Initialise(plat::Controls& controls) {
    setup_.osCode = programs::UninstallerOsCode(io_.system, io_.registry);
    int failure = 0;
    if (programs::FromWindows2000(setup_.osCode) && !io_.desktop.IsAdministrator()) failure = IDS_MUST_BE_ADMIN;
    // Windows 95 (4.0 of the 9x family) can remove the USB driver; 98/Me and
    // NT 4.0 cannot.
    const plat::OsVersion version = io_.system.GetVersion();
    const bool windows95 = version.platformId == plat::kPlatformWindows && version.major == 4 && version.minor == 0;
    if ((setup_.osCode == programs::OsCode::kWin98Me || setup_.osCode == programs::OsCode::kNt4) && !windows95) controls.Enable(IDC_REMOVE_USB_DRIVER, false);
    if (failure == 0) {
        const IniSearch search = FindUninstallIni(io_);
        failure = search.failure;
        setup_.profilePath = search.path;
    }
    if (failure != 0) {
        io_.desktop.ShowMessage(controls.Window(), UninstallerString(failure), kErrorCaption, plat::kMbOk);
        return false;
    }
    setup_.patterns = ReadPackagePatterns(io_.profile, setup_.profilePath);
    // The list is read from the spooler; one left stopped is started first
    // (and, should that fail, tried again when "&Desinstalar" is pressed).
    (void)Removal(io_, controls, setup_).StartStoppedSpooler();
    FillList(io_, controls, IDC_ITEMS, setup_.patterns, setup_.osCode);
    Removal(io_, controls, setup_).Log(UninstallerString(IDS_SELECT_PRINTERS));
    controls.SetText(IDC_INSTRUCTION, UninstallerString(IDS_INSTRUCTION));
    if (io_.spooler.BindDeletePrinterDriverEx(&setup_.driverExBound) != plat::kErrorSuccess) {
        io_.desktop.ShowMessage(controls.Window(), kNoWinspool, kCaption, plat::kMbOk);
    }
    return true;
}

void UninstallerDialog::OnCommand(plat::Controls& controls, int id, int) {
    // Nothing starts a second run, and the window does not close, while a
    // removal runs.
    if (running_.load()) return;
    switch (id) {
        case IDC_UNINSTALL:
            StartRemoval(controls);
            break;
        case IDC_SELECT_ALL:
            for (int index = 0; index < controls.ItemCount(IDC_ITEMS); ++index)
                controls.CheckItem(IDC_ITEMS, index, true);
            break;
        case plat::kIdCancel:
            WaitForWorker();
            controls.Close(plat::kIdCancel);
            break;
    }
}

void UninstallerDialog::StartRemoval(plat::Controls& controls) {
    if (!Removal(io_, controls, setup_).PreCheck()) return;
    WaitForWorker();  // the last run's thread, long ended
    running_.store(true);
    if (!worker_.Start([this, &controls] { RemovalWorker(controls); })) {
        running_.store(false);
        // A thread is mostly its stack: the handler fails as when memory runs
        // out, and the dialog stays as it was.
        throw std::bad_alloc();
    }
}

void UninstallerDialog::RemovalWorker(plat::Controls& controls) {
    try {
        Removal(io_, controls, setup_).Run();
    } catch (...) {
        // A worker that fails unexpectedly must still give the dialog back.
        Removal(io_, controls, setup_).Log(kRemovalFailed);
        for (int id : {IDC_ITEMS, IDC_UNINSTALL, IDC_SELECT_ALL, plat::kIdCancel}) controls.Enable(id, true);
    }
    running_.store(false);
}

bool UninstallerDialog::OnSysCommand(plat::Controls& controls, int command) {
    if (command != IDM_ABOUT) return false;
    AboutDialog about;
    io_.desktop.RunDialog(IDD_ABOUT, controls.Window(), about);
    return true;
}

void UninstallerDialog::OnHelp(plat::Controls&) {
    if (plat::WindowRef viewer = io_.desktop.FindTopLevelWindow(kHelpViewerCaption)) {
        io_.desktop.BringToFront(viewer);
    } else if (!io_.desktop.OpenDocument(kHelpFile)) {
        (void)io_.desktop.OpenDocument(kOtherHelpFile);
    }
}

}  // namespace uninstall
