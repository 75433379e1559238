#include "core/component_check.h"

#include "core/driver_file_copy.h"
#include "core/os_code.h"
#include "core/setup_text.h"
#include "core/spooler_control.h"
#include "registry_key.h"

namespace setup {

namespace {
constexpr plat::RootKey kMachine = plat::RootKey::LocalMachine;

// A file or name value names something unless it is empty or the "none"
// value (it begins with '0').
bool Configured(std::string_view value) {
    return !value.empty() && value.front() != '0';
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::string_view EnvironmentOf(OsCode target) {
    return target == OsCode::kWin98Me ? plat::kEnvironmentWin9x : "";
}

// True when the component's key exists; `outdated` tells whether its
// DriverVersion is missing or lower than `version`.
bool InstalledVersion(plat::Registry& registry, const std::string& key, std::uint32_t version, bool* outdated) {
    plat::RegistryKey open(registry);
    if (!open.Open(kMachine, key)) return false;
    std::uint32_t installed = 0;
    *outdated = !open.ReadDword(kVersionValue, &installed) || installed < version;
    return true;
}

void WriteVersion(plat::Registry& registry, const std::string& key, std::uint32_t version,
                  const std::string* driverFile = nullptr) {
    plat::RegistryKey open(registry);
    if (!open.Open(kMachine, key)) return;
    if (driverFile) (void)open.WriteString(kDriverValue, *driverFile);
    (void)open.WriteDword(kVersionValue, version);
}

// Installs a monitor that the spooler does not know yet: its files into the
// system directory, AddMonitor, its version value. `reportCopies` keeps the
// messages of failed copies in the result.
int InstallMonitor(InstallSession& session, const MonitorDescription& monitor, bool reportCopies) {
    const std::string before = session.resultMessage;
    std::string registered;
    (void)CopyComponentFile(session, monitor.dllName, kSystemDirectory, &registered);
    if (Configured(monitor.uiDllName)) {
        std::string ignored;
        (void)CopyComponentFile(session, monitor.uiDllName, kSystemDirectory, &ignored);
    }
    // A copy that failed shows up as AddMonitor's failure when it matters.
    if (!reportCopies) session.resultMessage = before;
    const long error = session.io.spooler.AddMonitor(monitor.name, EnvironmentOf(session.target), registered);
    if (error != plat::kErrorSuccess && error != plat::kErrorPrintMonitorAlreadyInstalled &&
        error != plat::kErrorAlreadyExists) {
        session.resultMessage =
            std::string(SetupString(IDS_ADD_MONITOR_FAILED)) + " Erro code is:" + std::to_string(error);
        return kMonitorAddFailed;
    }
    WriteVersion(session.io.registry, MonitorKey(monitor.name), monitor.version);
    return 0;
}

// The check of one monitor: installed fresh when its key is missing,
// otherwise `outdatedFlag` when its version is lower than the package's.
int CheckMonitor(InstallSession& session, const MonitorDescription& monitor, int outdatedFlag, bool reportCopies) {
    bool outdated = false;
    if (InstalledVersion(session.io.registry, MonitorKey(monitor.name), monitor.version, &outdated)) {
        return outdated ? outdatedFlag : 0;
    }
    return InstallMonitor(session, monitor, reportCopies);
}

// The copy of a replaced monitor file on the NT family, and the file name the
// monitor loads from then on: a name left by an earlier fallback copy ("n" +
// file) must not outlive a plain copy, or the new file is never loaded. False
// when the installation must stop.
bool ReplaceMonitorFile(InstallSession& session, const MonitorDescription& monitor) {
    std::string registered;
    const CopyResult copied = CopyComponentFile(session, monitor.dllName, kSystemDirectory, &registered);
    if (!copied.copied()) {
        // In use even under its new name: nothing can be replaced now.
        if (copied.inUse()) session.resultMessage = SetupString(IDS_FATAL_RESTART);
        return false;
    }
    WriteVersion(session.io.registry, MonitorKey(monitor.name), monitor.version, &registered);
    if (Configured(monitor.uiDllName)) {
        (void)CopyDriverFile(session, monitor.uiDllName, kSystemDirectory, session.target, false);
    }
    return true;
}

// The print processor's file copied over the old one on the NT family.
bool ReplaceProcessorFile(InstallSession& session, const ProcessorDescription& processor,
                          const std::string& processorDirectory) {
    std::string current;
    if (session.io.system.CurrentDirectory(&current) != 0) {
        session.resultMessage = SetupString(IDS_NO_CURRENT_DIR);
        return false;
    }
    const std::string source = current + std::string(PackageFolder(session.target)) + processor.file;
    const std::string destination = processorDirectory + "\\" + processor.file;
    if (source.size() >= kMaxPath || destination.size() >= kMaxPath ||
        CopyWithNormalAttributes(session.io.files, source, destination, false) != plat::kErrorSuccess) {
        session.resultMessage = std::string(SetupString(IDS_COPY_FAILED)) + source;
        return false;
    }
    WriteVersion(session.io.registry, ProcessorKey(session.target, processor.name), processor.version);
    return true;
}

// Windows 98/Me: the component's key made when missing, its file copied in
// (under "n" + name when the old one is loaded) and both values written.
bool ReplaceWithoutSpooler(InstallSession& session, const std::string& key, std::string_view file, int copyTarget,
                           std::uint32_t version) {
    (void)plat::RegistryKey::CreateKey(session.io.registry, kMachine, key);
    std::string registered;
    const CopyResult copied = CopyComponentFile(session, file, copyTarget, &registered);
    if (copied.inUse()) {
        session.resultMessage = SetupString(IDS_FATAL_RESTART);
        return false;
    }
    if (!copied.copied()) return false;
    WriteVersion(session.io.registry, key, version, &registered);
    return true;
}

// The replacement itself, with the spooler stopped.
bool ReplaceFirstOutdated(InstallSession& session, int updateFlags, const MonitorDescriptions& monitors,
                          const ProcessorDescription& processor, const std::string& processorDirectory) {
    if (updateFlags & kComMonitorOutdated) return ReplaceMonitorFile(session, monitors.com);
    if (updateFlags & kUsbMonitorOutdated) return ReplaceMonitorFile(session, monitors.usb);
    if (updateFlags & kProcessorOutdated) return ReplaceProcessorFile(session, processor, processorDirectory);
    return true;
}
}  // namespace

std::string MonitorKey(std::string_view monitorName) {
    return "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\" + std::string(monitorName);
}

std::string ProcessorKey(OsCode target, std::string_view processorName) {
    const std::string_view environment = target == OsCode::kWin98Me ? plat::kEnvironmentWin9x : plat::kEnvironmentNt;
    return "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" + std::string(environment) +
           "\\Print Processors\\" + std::string(processorName);
}

unsigned AfterStartWait(OsCode target) {
    switch (target) {
        case OsCode::kNt4:
        case OsCode::kWin2000:
            return 1000;
        case OsCode::kWinXp:
        case OsCode::kServer2003:
            return 2500;
        default:
            return 0;
    }
}

int CheckPortMonitors(InstallSession& session, const MonitorDescriptions& monitors, std::string_view portName) {
    if (Contains(portName, "LPT")) return 0;
    if (Contains(portName, "COM") && Configured(monitors.com.dllName) && session.target != OsCode::kWin98Me) {
        // A failed UI-file copy stays in the result and ends the installation
        // at the next copy.
        return CheckMonitor(session, monitors.com, kComMonitorOutdated, true);
    }
    if (Contains(portName, "USB_") && Configured(monitors.usb.dllName) && session.target != OsCode::kNt4) {
        return CheckMonitor(session, monitors.usb, kUsbMonitorOutdated, false);
    }
    return 0;
}

int CheckLanguageMonitor(InstallSession& session, const MonitorDescriptions& monitors, std::string_view portName) {
    if (!Contains(portName, "USB_") || !Configured(monitors.language.dllName) || session.target == OsCode::kNt4) return 0;
    return CheckMonitor(session, monitors.language, kLanguageMonitorOutdated, false);
}

int CheckPrintProcessor(InstallSession& session, const ProcessorDescription& processor) {
    if (processor.name == "WinPrint") return 0;
    const std::string key = ProcessorKey(session.target, processor.name);
    bool outdated = false;
    if (InstalledVersion(session.io.registry, key, processor.version, &outdated)) {
        return outdated ? kProcessorOutdated : 0;
    }
    std::string registered = processor.file;
    if (Configured(processor.file)) {
        const std::string before = session.resultMessage;
        (void)CopyComponentFile(session, processor.file, kProcessorDirectory, &registered);
        session.resultMessage = before;  // a missing file shows up as AddPrintProcessor's failure
    }
    if (session.io.spooler.AddPrintProcessor(EnvironmentOf(session.target), registered, processor.name) !=
        plat::kErrorSuccess) {
        session.resultMessage = SetupString(IDS_ADD_PROCESSOR_FAILED);
        return kProcessorAddFailed;
    }
    WriteVersion(session.io.registry, key, processor.version);
    session.io.clock.Sleep(kAfterProcessorAdded);
    return 0;
}

bool UpdateOutdatedComponent(InstallSession& session, int updateFlags, const MonitorDescriptions& monitors,
                             const ProcessorDescription& processor) {
    if (session.target == OsCode::kWin98Me) {
        if (updateFlags & kUsbMonitorOutdated) {
            return ReplaceWithoutSpooler(session, MonitorKey(monitors.usb.name), monitors.usb.dllName, kSystemDirectory,
                                         monitors.usb.version);
        }
        if (updateFlags & kProcessorOutdated) {
            return ReplaceWithoutSpooler(session, ProcessorKey(OsCode::kWin98Me, processor.name), processor.file,
                                         kProcessorDirectory, processor.version);
        }
        return true;
    }

    std::string processorDirectory;
    if (updateFlags & kProcessorOutdated) {
        if (session.io.spooler.GetPrintProcessorDirectory(&processorDirectory) != plat::kErrorSuccess ||
            processorDirectory.size() >= kDirectoryBuffer) {
            session.resultMessage = SetupString(IDS_NO_PROCESSOR_DIR);
            return false;
        }
    }
    StopSpooler(session);
    session.io.clock.Sleep(kAfterStopForUpdate);
    if (!ReplaceFirstOutdated(session, updateFlags, monitors, processor, processorDirectory)) {
        // The machine must not be left unable to print: the spooler comes back
        // and the failure stays the result.
        const std::string failure = session.resultMessage;
        StartSpooler(session);
        session.resultMessage = failure;
        return false;
    }
    StartSpooler(session);
    if (const unsigned wait = AfterStartWait(session.target)) session.io.clock.Sleep(wait);
    if (!WaitSpoolerRunning(session)) return false;
    StartSpooler(session);
    session.io.clock.Sleep(kAfterSecondStart);
    return true;
}

bool ReplaceLanguageMonitor(InstallSession& session, const MonitorDescription& language) {
    std::string registered;
    const CopyResult copied = CopyComponentFile(session, language.dllName, kSystemDirectory, &registered);
    if (!copied.copied()) {
        if (copied.inUse()) session.resultMessage = SetupString(IDS_FATAL_RESTART);
        return false;
    }
    WriteVersion(session.io.registry, MonitorKey(language.name), language.version, &registered);
    return true;
}

}  // namespace setup
