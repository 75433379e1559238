#include "core/install_worker.h"

#include <array>

#include "core/component_check.h"
#include "core/driver_file_copy.h"
#include "core/os_code.h"
#include "core/printer_registration.h"
#include "core/serial_port_settings.h"
#include "core/setup_text.h"
#include "core/spooler_control.h"
#include "core/usb_port_record.h"
#include "registry_key.h"

namespace setup {

namespace {
// A file slot names a file unless it is empty or the "none" value.
bool Configured(std::string_view slot) {
    return !slot.empty() && slot.front() != '0';
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The USB port monitor needs the system's ports readable before the printer
// is created on one of its ports.
bool PortsEnumerate(InstallSession& session) {
    std::vector<std::string> ports;
    const long error = session.io.spooler.EnumPorts(&ports);
    if (error == plat::kErrorSuccess) return true;
    session.resultMessage = error == plat::kErrorNotEnoughMemory
                                ? std::string(SetupString(IDS_NO_MEMORY))
                                : std::string(SetupString(IDS_ENUM_PORTS_FAILED)) + " er = " + std::to_string(error);
    return false;
}

// Step 6: the driver's files, stopping at the first copy that failed.
bool CopyDriverFiles(InstallSession& session, const DriverFileSet& files) {
    for (const std::string* file : {&files.configFile, &files.dataFile, &files.driverPath, &files.helpFile}) {
        (void)CopyDriverFile(session, *file, kDriverDirectory, session.target, false);
        if (session.failed()) return false;
    }
    for (const std::string* file :
         {&files.dataFileLibrary, &files.uiPlugin, &files.renderingPlugin, &files.pluginConfig}) {
        if (!Configured(*file)) continue;
        (void)CopyDriverFile(session, *file, kDriverDirectory, session.target, false);
        if (session.failed()) return false;
    }
    // The control-font table is the shop's once installed: every printer of
    // the machine shares it, and the plug-in edits it in place.
    (void)CopyDriverFile(session, files.controlFont, kDriverDirectoryVersion3, session.target, false, Existing::kKeep);
    return !session.failed();
}

// Windows 98/Me: UNIDRV.DLL from the system's own backup, else the package's.
void CopyWin9xUnidrv(InstallSession& session) {
    std::string systemDirectory;
    if (const long error = session.io.system.SystemDirectory(&systemDirectory)) {
        session.resultMessage = std::string(SetupString(IDS_NO_SYSTEM_DIR)) + " er= " + std::to_string(error);
        return;
    }
    const std::string installed = systemDirectory + "\\UNIDRV.DLL";
    if (session.io.files.FileExists(installed)) return;
    std::string windowsDirectory;
    if (const long error = session.io.system.WindowsDirectory(&windowsDirectory)) {
        session.resultMessage = std::string(SetupString(IDS_NO_WINDOWS_DIR)) + " er= " + std::to_string(error);
        return;
    }
    const std::string backup = windowsDirectory + "\\Sysbckup\\UNIDRV.DLL";
    if (backup.size() < kMaxPath && installed.size() < kMaxPath &&
        CopyWithNormalAttributes(session.io.files, backup, installed, true) == plat::kErrorSuccess) {
        return;
    }
    (void)CopyDriverFile(session, "UNIDRV.DLL", kDriverDirectory, session.target, false);
}

void SetUsbPortInUse(plat::Registry& registry, std::string_view port) {
    if (!plat::RegistryKey::CreateKey(registry, plat::RootKey::LocalMachine, kPrinterPortKey)) return;
    plat::RegistryKey key(registry);
    if (key.Open(plat::RootKey::LocalMachine, kPrinterPortKey)) (void)key.WriteDword(port, 0);
}

// The steps; false at the first that stops the installation.
bool RunSteps(InstallSession& session, const InstallRequest& request) {
    const InstallDescriptions& d = request.descriptions;
    const bool usb = request.portKind == kPortUsb;

    session.io.clock.Sleep(kWorkerStartWait);
    // Every step below needs the spooler, and an earlier run that died
    // between stopping and starting it for an update left it stopped.
    if (!StartStoppedSpooler(session)) return false;
    int updateFlags = CheckPortMonitors(session, d.monitors, request.portName);
    if (updateFlags == kMonitorAddFailed) return false;
    const int processor = CheckPrintProcessor(session, d.processor);
    if (processor == kProcessorAddFailed) return false;
    updateFlags |= processor;
    if (updateFlags != 0 && !UpdateOutdatedComponent(session, updateFlags, d.monitors, d.processor)) return false;

    if (usb && !PortsEnumerate(session)) return false;
    const DriverFileSet& files = d.files;
    if (!Configured(files.configFile) || !Configured(files.dataFile) || !Configured(files.driverPath) ||
        !Configured(files.helpFile)) {
        session.resultMessage = SetupString(IDS_DRIVERS_MISSING);
        return false;
    }
    if (!CopyDriverFiles(session, files)) return false;
    CopyUnidrvCoreFiles(session, d.ddkFlag);
    if (session.target == OsCode::kWin98Me &&
        (Contains(request.modelName, "KTR-Q350") || Contains(request.modelName, "KTR-P410"))) {
        (void)CopyDriverFile(session, "DMCOLOR.DLL", kDriverDirectory, session.target, false);
        if (session.failed()) return false;
    }
    if ((d.ddkFlag && !Configured(files.dataFileLibrary)) || !d.driverFits) {
        session.resultMessage = SetupString(IDS_DRIVERS_MISSING);
        return false;
    }

    if (Configured(d.monitors.language.dllName)) {
        const int language = CheckLanguageMonitor(session, d.monitors, request.portName);
        if (language == kMonitorAddFailed) return false;
        if (language == kLanguageMonitorOutdated && !ReplaceLanguageMonitor(session, d.monitors.language)) {
            return false;
        }
    }

    if (!AddDriver(session, d.driver)) return false;
    if (usb) SetUsbPortInUse(session.io.registry, request.printerPort);
    plat::PrinterInfo2 printer = d.printer;
    printer.printerName = request.printerName;
    printer.portName = request.printerPort;
    if (!AddPrinterUniqueName(session, &printer, usb)) return false;
    // The printer is there; what follows are wishes. One that could not be
    // fulfilled is named on a line of its own below the success text.
    std::string unfulfilled;
    if (request.makeDefault && !SetDefaultPrinterByName(session, printer.printerName)) {
        unfulfilled.append("\n").append(kDefaultPrinterNotSet);
    }
    if (request.portKind == kPortCom && !WriteSerialSettings(session, request.portName, request.serial)) {
        unfulfilled.append("\n").append(kSerialSettingsNotStored);
    }

    if (session.target != OsCode::kWin98Me) {
        session.resultMessage = SetupString(usb ? IDS_INSTALLED_USB : IDS_INSTALLED);
    } else if (!unfulfilled.empty() && session.resultMessage.empty()) {
        // On Windows 98/Me the wizard shows its own success text for an empty
        // result; the lines need it written here.
        session.resultMessage = kInstalledText;
    }
    session.resultMessage += unfulfilled;
    return true;
}
}  // namespace

void DescribeInstallation(DriverKeyReader& reader, InstallRequest* request) {
    const DriverSelection driver{request->module, request->modelName, request->osCode, request->rasterGraphic};
    InstallDescriptions& d = request->descriptions;
    d = InstallDescriptions{};
    d.files = reader.ReadDriverFileSet(driver);
    d.driverFits = reader.ReadDriverDescription(driver, &d.driver);
    d.printer = reader.ReadPrinterDescription(driver);
    d.monitors = reader.ReadMonitorDescriptions(request->module, request->osCode);
    // The language monitor serves USB ports only.
    if (request->portKind == kPortUsb) d.driver.monitorName = d.monitors.language.name;
    d.processor = ProcessorDescription{d.printer.printProcessor, d.files.processorFile, reader.ReadProcessorVersion()};
    d.ddkFlag = reader.ReadDdkFlag(driver);
}

void CopyUnidrvCoreFiles(InstallSession& session, bool ddkFlag) {
    if (session.target == OsCode::kWin98Me) {
        (void)CopyDriverFile(session, "ICONLIB.DLL", kDriverDirectory, session.target, false);
        CopyWin9xUnidrv(session);
        return;
    }
    if (FromWindows2000(session.target) && ddkFlag) {
        // The system may hold these already; a copy that fails is no loss.
        const std::string before = session.resultMessage;
        for (std::string_view file : {"TTFSUB.GPD", "STDNAMES.GPD", "UNIRES.DLL"}) {
            (void)CopyDriverFile(session, file, kDriverDirectory, session.target, false);
        }
        session.resultMessage = before;
    }
}

void InstallWorker(InstallServices io, const InstallRequest& request, InstallProgress& progress) {
    InstallSession session{io, request.osCode, {}};
    const bool done = RunSteps(session, request);
    progress.Finish(done ? InstallProgress::kDone : InstallProgress::kFailed, std::move(session.resultMessage));
}

void RunInstallWorker(const InstallWorkerFn& worker, const InstallRequest& request, InstallProgress& progress) {
    try {
        worker(request, progress);
    } catch (...) {
        progress.Finish(InstallProgress::kFailed, std::string(kWorkerFailed));
    }
}

}  // namespace setup
