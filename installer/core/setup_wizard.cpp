#include "core/setup_wizard.h"

#include "core/about_dialog.h"
#include "core/config_files.h"
#include "core/progress_dialog.h"
#include "core/setup_text.h"
#include "core/usb_identity.h"
#include "core/usb_port_record.h"
#include "resource.h"
#include "text.h"
#include "worker_thread.h"

namespace setup {

SetupWizard::SetupWizard(WizardPages pages, WizardWindow& window, WizardServices services, std::string configFolder)
    : pages_(pages), window_(window), services_(std::move(services)), configFolder_(std::move(configFolder)) {
    table_.push_back(Entry{&pages_.module, IDD_MODULE_PAGE});
    table_.push_back(Entry{&pages_.installType, IDD_INSTALL_TYPE_PAGE});
    table_.push_back(Entry{&pages_.os, IDD_OS_PAGE});
    table_.push_back(Entry{&pages_.port, IDD_PORT_PAGE});
}

void SetupWizard::Tell(plat::Controls& frame, std::string_view text, unsigned style) {
    services_.desktop.ShowMessage(frame.Window(), text, kWizardCaption, style);
}

void SetupWizard::OnInit(plat::Controls& frame) {
    ShowPage(frame, kModulePageIndex);
    frame.SetText(IDC_BACK, kBackText);
    frame.SetText(plat::kIdOk, pageCount() < 2 ? kInstallText : kNextText);
    frame.SetText(plat::kIdCancel, kCancelText);
    if (!window_.LoadLeftPicture()) {
        Tell(frame, SetupString(IDS_NO_LEFT_BMP));
        frame.Close(plat::kIdCancel);
        return;
    }
    const OsCode code = GetOsCode(services_.system);
    if (FromWindows2000(code) && !services_.desktop.IsAdministrator()) {
        Tell(frame, kMustBeAdministrator);
        frame.Close(plat::kIdCancel);
    }
}

bool SetupWizard::ShowPage(plat::Controls& frame, int index) {
    if (index < 0 || index >= pageCount()) return false;
    const int leaving = current_;
    if (leaving >= 0) {
        if (!table_[leaving].page->SaveValues(window_.PageControls(leaving))) return false;
        window_.ShowPageWindow(leaving, false);
    }
    if (leaving == kInstallTypePageIndex && index == kModulePageIndex) baudPresetPending_ = true;
    if (leaving < 0) frame.Enable(plat::kIdOk, pages_.module.hasModels());
    if (index > leaving) {
        if (leaving == kModulePageIndex) LeaveModulePage();
        if (leaving == kOsPageIndex && !LeaveOsPage(frame)) {
            window_.ShowPageWindow(leaving, true);
            return false;
        }
    }
    current_ = index;
    window_.ShowPageWindow(index, true);
    return true;
}

int SetupWizard::ReadPortFlag(std::string_view key) {
    return ReadModelPortNumber(services_.profile, request_.moduleIniPath, pages_.module.modelName(), key);
}

bool SetupWizard::LeaveModulePage() {
    request_.module = pages_.module.module();
    BuildConfigPaths(configFolder_, request_.module, &request_.setupIniPath, &request_.moduleIniPath);
    pages_.installType.AllowAdvanced(window_.PageControls(kInstallTypePageIndex), ReadPortFlag("AdvancedSetup") != 0);
    return true;
}

bool SetupWizard::LeaveOsPage(plat::Controls& frame) {
    const bool supports2003 = ReadPortFlag("System2003Supported") != 0;
    const bool supportsVista = ReadPortFlag("SystemVistaSupported") != 0;
    const bool supports2008 = ReadPortFlag("System2008Supported") != 0;
    const bool supportsWin7 = ReadPortFlag("SystemWin7Supported") != 0;
    if (baudPresetPending_) {
        pages_.port.ApplyBaudPreset(window_.PageControls(kPortPageIndex), ReadPortFlag("BaudRate"));
        baudPresetPending_ = false;
    }
    int refusal = 0;
    switch (pages_.os.osCode()) {
        case OsCode::kServer2003:
            refusal = supports2003 ? 0 : IDS_NO_2003;
            break;
        case OsCode::kVista:
            refusal = supportsVista ? 0 : IDS_NO_VISTA;
            break;
        case OsCode::kServer2008:
            refusal = supports2008 ? 0 : IDS_NO_2008;
            break;
        case OsCode::kWin7:
            refusal = supportsWin7 ? 0 : IDS_NO_WIN7;
            break;
        default:  // the systems every model supports
            break;
    }
    if (refusal == 0) return true;
    Tell(frame, SetupString(refusal));
    return false;
}

void SetupWizard::OnCommand(plat::Controls& frame, int id, int) {
    switch (id) {
        case plat::kIdOk:
            if (current_ == kPortPageIndex) {
                Install(frame);
            } else {
                Next(frame);
            }
            break;
        case IDC_BACK:
            Back(frame);
            break;
        case plat::kIdCancel:
            frame.Close(plat::kIdCancel);
            break;
    }
}

void SetupWizard::Next(plat::Controls& frame) {
    ShowPage(frame, current_ + 1);
    if (current_ == kPortPageIndex) {
        // The module and its configuration paths were settled on leaving the module page.
        request_.modelName = pages_.module.modelName();
        request_.makeDefault = pages_.module.makeDefault();
        request_.installType = pages_.installType.installType();
        request_.osCode = pages_.os.osCode();
        pages_.port.SetInstallType(request_.installType);
        plat::Controls& portControls = window_.PageControls(kPortPageIndex);
        if (request_.installType == kInstallTypical) {
            pages_.port.FillPortListTypical(portControls, request_.modelName, request_.osCode, request_.module);
        } else {
            pages_.port.FillPortListAdvanced(portControls, request_.modelName, request_.osCode, request_.module);
        }
        frame.SetText(plat::kIdOk, kInstallText);
    }
    frame.Enable(IDC_BACK, true);
    frame.Focus(plat::kIdOk);
}

void SetupWizard::Back(plat::Controls& frame) {
    if (current_ > kModulePageIndex) {
        frame.SetText(plat::kIdOk, kNextText);
        ShowPage(frame, current_ - 1);
    }
    if (current_ == kModulePageIndex) {
        frame.Enable(IDC_BACK, false);
        frame.Focus(plat::kIdOk);
    }
    frame.Enable(plat::kIdOk, true);
}

void SetupWizard::SaveAllPages() {
    for (int index = 0; index < pageCount(); ++index) table_[index].page->SaveValues(window_.PageControls(index));
}

void SetupWizard::Install(plat::Controls& frame) {
    SaveAllPages();
    request_.portName = pages_.port.portName();
    request_.rasterGraphic = pages_.port.rasterGraphic();
    request_.serial = pages_.port.serial();
    request_.registeredPortName.clear();

    // The OS page has told the user already; nothing is installed on a system
    // the package has no drivers for.
    if (!pages_.os.systemSupported()) return Tell(frame, SetupString(IDS_OS_NOT_SUPPORTED));
    if (request_.modelName.empty()) return Tell(frame, SetupString(IDS_SELECT_MODULE));
    if (request_.osCode == OsCode::kServer2003 && ReadPortFlag("System2003Supported") == 0) {
        return Tell(frame, SetupString(IDS_NO_2003));
    }
    request_.portKind = PortKindOf(request_.portName);
    if (request_.portKind < 0) return Tell(frame, SetupString(IDS_BAD_PORT));
    if (request_.portKind == kPortUsb) {
        const OsCode running = GetOsCode(services_.system);
        if (running != OsCode::kWin98Me && running != OsCode::kNt4) {
            RunUsbDriverStep(services_.files, services_.system, services_.desktop, services_.clock);
        }
    }
    DriverKeyReader reader(services_.profile, MakeReaderPaths(configFolder_));
    DescribeInstallation(reader, &request_);

    request_.printerPort = request_.portName;
    if (request_.portKind == kPortUsb && !PrepareUsbPort(frame)) return;
    request_.printerName = PrinterNameFor(request_.modelName, request_.portName, request_.portKind);
    if (request_.osCode == OsCode::kNt4 && request_.portKind == kPortUsb) return Tell(frame, SetupString(IDS_NT4_NO_USB));

    RunWorker(frame);
    const std::string& result = progress_.resultMessage();
    Tell(frame, result.empty() ? kInstalledText : std::string_view(result));
    if (request_.osCode == OsCode::kWin98Me &&
        services_.desktop.ShowMessage(frame.Window(), SetupString(IDS_RESTART_QUESTION), kWizardCaption,
                                      plat::kMbYesNo) == plat::kIdYes &&
        !services_.desktop.RestartWindows()) {
        // Nothing shows this any more; it is kept as the program's last word.
        progress_.Finish(InstallProgress::kFailed, std::string(SetupString(IDS_RESTART_FAILED)));
    }
    window_.ShowPageWindow(current_, false);
    frame.Close(plat::kIdOk);
}

bool SetupWizard::PrepareUsbPort(plat::Controls& frame) {
    const UsbContext usb{services_.usb, services_.desktop, frame.Window(),
                         UsbLibraryPaths(configFolder_, services_.system)};
    if (!ReconcileUsbIdentity(usb, request_.installType, request_.portName)) return false;
    request_.registeredPortName = RegisteredPortName(request_.portName);
    if (!request_.registeredPortName.empty()) request_.printerPort = request_.registeredPortName;
    RecordUsbPort(services_.profile, services_.registry, request_.setupIniPath, request_.printerPort);
    return true;
}

void SetupWizard::RunWorker(plat::Controls& frame) {
    services_.desktop.MinimizeTopmost(frame.Window());
    progress_.Start();
    ProgressDialog progressDialog(services_.progressClock ? *services_.progressClock : services_.clock, progress_,
                                  request_.osCode);
    plat::WorkerThread worker;
    if (!worker.Start([this] { RunInstallWorker(services_.worker, request_, progress_); })) {
        // No thread, no installation: the progress window then runs down at once.
        progress_.Finish(InstallProgress::kFailed, std::string(kWorkerNotStarted));
    }
    services_.desktop.RunDialog(IDD_PROGRESS, frame.Window(), progressDialog);
    // On Windows 98/Me the window may close before the worker is done; its
    // result is read only once it has ended.
    worker.Join();
}

bool SetupWizard::OnSysCommand(plat::Controls& frame, int command) {
    if (command != IDM_ABOUT) return false;
    AboutDialog about;
    services_.desktop.RunDialog(IDD_ABOUT, frame.Window(), about);
    return true;
}

void SetupWizard::OnHelp(plat::Controls&) {
    if (plat::WindowRef viewer = services_.desktop.FindTopLevelWindow(kHelpViewerCaption)) {
        services_.desktop.BringToFront(viewer);
    } else {
        // The shell shows its own message when the guide cannot be opened.
        (void)services_.desktop.OpenDocument(kHelpFile);
    }
}

}  // namespace setup
