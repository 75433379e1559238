#include "core/removal.h"

#include "core/restart_dialog.h"
#include "core/uninstaller_text.h"
#include "registry_key.h"
#include "resource.h"
#include "scoped_printer.h"
#include "programs/spooler_restart.h"
#include "text.h"

namespace uninstall {

namespace {
bool Names(std::string_view value) {
    return !value.empty() && value.front() != '0';
}
}  // namespace

void Removal::Log(std::string_view line) {
    const int index = controls_.AddItem(IDC_LOG, line);
    controls_.Select(IDC_LOG, index);
}

std::string Removal::ReadIni(std::string_view section, std::string_view key) {
    return io_.profile.GetString(setup_.profilePath, section, key, "0", kIniValueBuffer);
}

bool Removal::ReadPrinter(plat::PrinterHandle printer, plat::PrinterInfo2* info) {
    const long error = io_.spooler.GetPrinter(printer, info);
    if (error == plat::kErrorSuccess) return true;
    Log(UninstallerString(error == plat::kErrorNotEnoughMemory ? IDS_NO_MEMORY : IDS_PRINTER_INFO_ERROR));
    return false;
}

bool Removal::ReadLocalPrinter(const std::string& name, plat::PrinterInfo2* info) {
    plat::ScopedPrinter printer = plat::OwnedPrinter(io_.spooler);
    if (io_.spooler.OpenPrinterAllAccess(name, printer.receive()) != plat::kErrorSuccess) {
        Log(WithItem(UninstallerString(IDS_OPEN_PRINTER_ERROR), name));
        return false;
    }
    return ReadPrinter(printer.get(), info);
}

bool Removal::PreCheck() {
    if (!StartStoppedSpooler()) return false;
    std::vector<std::string> printers;
    if (io_.spooler.EnumPrinterNames(&printers) != plat::kErrorSuccess) {
        Log(UninstallerString(IDS_PRINTER_INFO_ERROR));
        return false;
    }
    for (const std::string& name : printers) {
        plat::PrinterInfo2 info;
        if (!ReadLocalPrinter(name, &info)) return false;
        if (info.jobs != 0) {
            Log(UninstallerString(IDS_JOBS_FIRST));
            return false;
        }
    }
    return true;
}

void Removal::Run() {
    for (int id : {IDC_UNINSTALL, IDC_ITEMS, IDC_SELECT_ALL, plat::kIdCancel, IDC_REMOVE_USB_DRIVER}) {
        controls_.Enable(id, false);
    }
    for (int index = 0; index < controls_.ItemCount(IDC_ITEMS); ++index) {
        io_.clock.Sleep(kBeforeItem);
        if (!controls_.IsItemChecked(IDC_ITEMS, index)) continue;
        item_ = controls_.ItemText(IDC_ITEMS, index);
        Next next = Next::Continue;
        if (MatchesAny(item_, setup_.patterns.monitors)) {
            next = RemoveMonitor(&index);
        } else if (setup_.osCode != programs::OsCode::kWin98Me && MatchesAny(item_, setup_.patterns.processors)) {
            next = RemoveProcessor(&index);
        } else {
            next = RemovePrinter(&index);
        }
        if (next == Next::EndWalk) return EndWalk();
    }
    if (controls_.IsChecked(IDC_REMOVE_USB_DRIVER)) RemoveUsbDriver();
    if (changed_) {
        RestartDialog restart(io_.desktop);
        io_.desktop.RunDialog(IDD_RESTART, controls_.Window(), restart);
    }
    EndWalk();
}

Removal::Next Removal::RemoveMonitor(int* index) {
    Log(WithItem(UninstallerString(IDS_DELETING), item_));
    if (setup_.osCode == programs::OsCode::kWin98Me && !Win98PortsFree()) {
        Log(WithItem(UninstallerString(IDS_IN_USE), item_));
        return Next::Continue;
    }
    long error = io_.spooler.DeleteMonitor(item_);
    if (error != plat::kErrorSuccess) {
        // The spooler may still hold the monitor's ports: once more after a restart.
        RestartSpooler();
        io_.clock.Sleep(kAfterRestart);
        error = io_.spooler.DeleteMonitor(item_);
    }
    if (error != plat::kErrorSuccess) return ComponentFailed(error == plat::kErrorPrintMonitorInUse);
    if (plat::Contains(item_, "USB")) {
        (void)plat::RegistryKey::DeleteKey(io_.registry, plat::RootKey::LocalMachine,
                                           "SOFTWARE\\MERIDAN\\INSTALLPRINTER");
        (void)plat::RegistryKey::DeleteKey(io_.registry, plat::RootKey::LocalMachine, "SOFTWARE\\MERIDAN\\PORTNAME");
    }
    RestartSpooler();
    io_.clock.Sleep(kAfterRestart);
    DeleteMonitorFiles(item_);
    Removed(index);
    return Next::Continue;
}

Removal::Next Removal::RemoveProcessor(int* index) {
    Log(WithItem(UninstallerString(IDS_DELETING), item_));
    const long error = io_.spooler.DeletePrintProcessor(item_);
    if (error != plat::kErrorSuccess) return ComponentFailed(error == plat::kErrorCanNotComplete);
    RestartSpooler();
    io_.clock.Sleep(kAfterRestart);
    DeleteProcessorFile(item_);
    Removed(index);
    return Next::Continue;
}

Removal::Next Removal::ComponentFailed(bool inUse) {
    Log(WithItem(UninstallerString(inUse ? IDS_IN_USE : IDS_UNINSTALL_ERROR), item_));
    io_.clock.Sleep(kAfterFailure);
    return Next::Continue;
}

void Removal::Removed(int* index) {
    Log(WithItem(UninstallerString(IDS_DELETED), item_));
    // The items after it move up: the walk looks at this index again.
    controls_.DeleteItem(IDC_ITEMS, (*index)--);
    changed_ = true;
}

Removal::Next Removal::RemovePrinter(int* index) {
    plat::ScopedPrinter printer = plat::OwnedPrinter(io_.spooler);
    if (io_.spooler.OpenPrinterAllAccess(item_, printer.receive()) != plat::kErrorSuccess) {
        Log(WithItem(UninstallerString(IDS_OPEN_PRINTER_ERROR), item_));
        return Next::EndWalk;
    }
    Log(WithItem(UninstallerString(IDS_DELETING_PRINTER), item_));
    plat::PrinterInfo2 info;
    if (!ReadPrinter(printer.get(), &info)) {
        io_.clock.Sleep(kAfterFailure);
        return Next::EndWalk;
    }
    if (info.jobs != 0) {
        Log(WithItem(UninstallerString(IDS_JOBS_QUEUED), item_));
        io_.clock.Sleep(kAfterFailure);
        return Next::EndWalk;
    }
    if (io_.spooler.DeletePrinter(printer.get()) != plat::kErrorSuccess) {
        Log(UninstallerString(IDS_DELETE_PRINTER_ERROR));
        io_.clock.Sleep(kAfterFailure);
        return Next::Continue;
    }
    io_.clock.Sleep(kAfterPrinterDeleted);
    printer.reset();
    Removed(index);
    RestartSpooler();
    io_.clock.Sleep(kAfterPrinterRestart);
    if (programs::FromWindows2000(setup_.osCode)) {
        DeleteDriver(info);
        io_.clock.Sleep(kAfterFailure);
        io_.clock.Sleep(kAfterDriver);
    } else {
        // Windows 98/Me and NT 4.0 keep the driver.
        io_.clock.Sleep(kAfterDriver);
    }
    return Next::Continue;
}

void Removal::DeleteDriver(const plat::PrinterInfo2& printer) {
    Log(WithItem(UninstallerString(IDS_DELETING_DRIVER), item_));
    const long error = setup_.driverExBound ? io_.spooler.DeletePrinterDriverEx(printer.serverName, printer.driverName,
                                                                                plat::kDeleteUnusedFiles, 0)
                                            : io_.spooler.DeletePrinterDriver(printer.serverName, printer.driverName);
    if (error == plat::kErrorSuccess) return;
    if (error == plat::kErrorPrinterDriverInUse) {
        Log(UninstallerString(IDS_DRIVER_IN_USE));
    } else {
        Log(std::string(UninstallerString(IDS_DELETE_DRIVER_ERROR)) + std::string(kErrorCode) + std::to_string(error));
    }
}

bool Removal::Win98PortsFree() {
    std::vector<std::string> printers;
    if (io_.spooler.EnumPrinterNames(&printers) != plat::kErrorSuccess) return true;
    for (const std::string& name : printers) {
        plat::PrinterInfo2 info;
        if (!ReadLocalPrinter(name, &info)) return false;
        if (plat::Contains(info.portName, "MDCOM")) {
            Log(WithItem(UninstallerString(IDS_JOBS_QUEUED), item_));
            return false;
        }
    }
    return true;
}

// A spooler that takes longer than the wait to stop refuses the start while
// it is still stopping, and then stays stopped: every later item would fail
// with 1722 and nothing would print. So its state is asked after the start,
// and once it has stopped it is started again (once: a spooler that dies
// while loading is not started over and over).
void Removal::RestartSpooler() {
    programs::StopSpooler(io_.services, io_.clock, kSpoolerStopped);
    (void)StartSpoolerAndWait();
}

// A program that died between stopping and starting the spooler (Setup
// replacing a component, or an earlier removal) left it stopped, and nothing
// else starts it: no printer could be listed, read or removed, nothing
// prints. A state that cannot be read is left to the calls that follow, as
// it always was.
bool Removal::StartStoppedSpooler() {
    if (!programs::IsNtFamily(setup_.osCode) || !programs::SpoolerLeftStopped(io_.services)) return true;
    return StartSpoolerAndWait();
}

bool Removal::StartSpoolerAndWait() {
    long error = programs::StartSpooler(io_.services);
    if (programs::WaitSpoolerRunning(io_.services, io_.clock, &error)) return true;
    Log(error != plat::kErrorSuccess ? programs::SpoolerStartFailedText(error)
                                     : std::string(programs::kSpoolerNotRunningText));
    return false;
}

void Removal::DeleteMonitorFiles(std::string_view monitor) {
    std::string section;
    for (char c : monitor) {
        if (c != ' ') section += c;
    }
    section += programs::ItemSectionSuffix(setup_.osCode);
    const std::string monitorFile = ReadIni(section, "MonitorPDLLName");
    const std::string uiFile = ReadIni(section, "MonitorPUIDLLName");
    std::string directory;
    if (io_.system.SystemDirectory(&directory) != plat::kErrorSuccess) {
        Log(kNoSystemDirectory);
        return;
    }
    for (const std::string* file : {&monitorFile, &uiFile}) {
        if (Names(*file)) DeleteOwnFile(directory + "\\" + *file);
    }
}

void Removal::DeleteProcessorFile(std::string_view processor) {
    const std::string file =
        ReadIni(std::string(processor) + std::string(programs::ItemSectionSuffix(setup_.osCode)), "ProcessorDllName");
    std::string directory;
    if (io_.spooler.GetPrintProcessorDirectory(&directory) != plat::kErrorSuccess) {
        Log(kNoProcessorDirectory);
        return;
    }
    if (Names(file)) DeleteOwnFile(directory + "\\" + file);
}

// A file of the package's: an older installation from a CD may have left it
// read-only, which DeleteFile refuses.
void Removal::DeleteOwnFile(const std::string& path) {
    (void)io_.files.SetArchiveAttribute(path);
    (void)io_.files.DeleteFile(path);
}

void Removal::RemoveUsbDriver() {
    Log(kRemovingUsbDriver);
    std::string current;
    (void)io_.system.CurrentDirectory(&current);
    // A tool that is not there (the program started from another folder)
    // removed nothing, and there is no window of it to wait for. One that
    // started but never shows its window costs only the waits below.
    if (const long error = io_.desktop.StartProgram(current + "\\" + std::string(kUsbTool), "22")) {
        Log(std::string(kRunFailed) + std::string(kUsbTool) + std::string(kErrorCode) + std::to_string(error));
        return;
    }
    io_.clock.Sleep(kUsbToolStart);
    while (io_.desktop.FindTopLevelWindow(kUsbToolWindow)) io_.clock.Sleep(kUsbToolPoll);
    io_.clock.Sleep(kUsbToolLinger);
    Log(kUsbDriverRemoved);
}

void Removal::EndWalk() {
    if (controls_.ItemCount(IDC_ITEMS) > 0) {
        Log(UninstallerString(IDS_SELECT_PRINTERS));
        for (int id : {IDC_ITEMS, IDC_UNINSTALL, IDC_SELECT_ALL, plat::kIdCancel}) controls_.Enable(id, true);
    } else {
        for (int id : {plat::kIdCancel, IDC_UNINSTALL, IDC_SELECT_ALL}) controls_.Enable(id, true);
    }
    if (programs::FromWindows2000(setup_.osCode)) controls_.Enable(IDC_REMOVE_USB_DRIVER, true);
}

}  // namespace uninstall
