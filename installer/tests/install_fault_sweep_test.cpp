// The installation once per platform call it makes, with exactly that call
// failing: each run must end as the failing step's handling says (stopped
// with the step's message, or finished where the failure does not matter),
// never report success after a failure that stops it, and give back every
// handle it took. And the installation dying at each of those calls in turn:
// a second run on what it left must leave a printer that prints, or stop with
// its own message, and never leave the spooler stopped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/component_check.h"
#include "core/printer_module.h"
#include "core/setup_text.h"
#include "core/usb_identity.h"
#include "sim/fault_sweep.h"
#include "tests/install_fixture.h"

namespace {

using namespace setup;
using setup_test::InstallFixture;

// How a run must end.
struct Outcome {
    bool finishes = true;
    // The start of ResultMessage when it stops; "%d" stands for the error.
    std::string message;
    // When it finishes: the wish it could not fulfil, named on a line below
    // the success text; none when empty.
    std::string_view unfulfilled = {};
};
const Outcome kFinishes{true, {}};
Outcome Stops(std::string message) {
    return {false, std::move(message)};
}
Outcome FinishesWithout(std::string_view unfulfilled) {
    return {true, {}, unfulfilled};
}

constexpr std::string_view kSystemDirText = "Erro ao ler o diretório do sistema";  // 102, and 107
constexpr std::string_view kDriverDirText = "Erro ao ler o diretório do driver de impressora";
constexpr std::string_view kProcessorDirText = "Erro ao ler o diretório de processo de impressão";
constexpr std::string_view kCopyText = "Erro ao copiar arquivos de drivers";

// A call whose failure is decided by its operation ("Registry." stands for
// all of the registry's), a part of its subject (any when empty) and the
// injected error (any when 0). The first rule that matches decides.
struct Rule {
    std::string_view op;
    std::string_view subject;
    long error;
    Outcome outcome;
    std::size_t occurrence = 0;  // which call of the operation (from 1); 0: any
};
const std::vector<Rule> kRules{
    // Serial settings not stored: the printer is installed, and the final
    // message says so. The NT family's Ports key, Windows 98/Me's serial
    // class key with its DCB and the profile's text. (A value's call names
    // its key in lower case.)
    {"Registry.OpenKey", "CurrentVersion\\Ports", 0, FinishesWithout(kSerialSettingsNotStored)},
    {"Registry.SetValue", "currentversion\\ports", 0, FinishesWithout(kSerialSettingsNotStored)},
    {"Registry.OpenKey", "Class\\Ports", 0, FinishesWithout(kSerialSettingsNotStored)},
    {"Registry.QueryValue", "class\\ports", 0, FinishesWithout(kSerialSettingsNotStored)},
    {"Registry.SetValue", "class\\ports", 0, FinishesWithout(kSerialSettingsNotStored)},
    {"Profile.WriteProfileString", "COM", 0, FinishesWithout(kSerialSettingsNotStored)},
    // NT 4.0 keeps the default printer in the profile.
    {"Profile.WriteProfileString", "device", 0, FinishesWithout(kDefaultPrinterNotSet)},
    // Version values and port records: written or not, the printer is
    // installed.
    {"Registry.", "", 0, kFinishes},
    {"Profile.", "", 0, kFinishes},
    {"Files.SetArchiveAttribute", "", 0, kFinishes},
    {"Files.FileExists", "", 0, kFinishes},
    // The version-3 folder is there already; where it is not, the copy into
    // it fails (NT 4.0 below).
    {"Files.CreateFolder", "", 0, kFinishes},
    // The default printer is a wish, not a step; one not fulfilled is named.
    {"Spooler.SetDefaultPrinter", "", 0, FinishesWithout(kDefaultPrinterNotSet)},
    {"Spooler.OpenPrinter", "", 0, FinishesWithout(kDefaultPrinterNotSet)},
    {"Spooler.GetPrinter", "", 0, FinishesWithout(kDefaultPrinterNotSet)},
    {"Spooler.SetPrinterAttributes", "", 0, FinishesWithout(kDefaultPrinterNotSet)},
    {"Spooler.ClosePrinter", "", 0, kFinishes},
    {"Spooler.AddMonitor", "", plat::kErrorPrintMonitorAlreadyInstalled, kFinishes},
    {"Spooler.AddMonitor", "", 0, Stops("Erro ao adicionar monitor Erro code is:%d")},
    {"Spooler.AddPrintProcessor", "", 0, Stops("Erro ao adicionar processo de impressão")},
    {"Spooler.EnumPorts", "", plat::kErrorNotEnoughMemory, Stops("Instalador da Impressora não pôde alocar")},
    {"Spooler.EnumPorts", "", 0, Stops("Erro ao enumerar portas er = %d")},
    {"Spooler.AddPrinterDriver", "", 0, Stops("Erro ao adicionar driver de impressora   er = %d")},
    // A taken name: a USB port has room for one printer; on another port
    // the next free "(n)" is taken.
    {"Spooler.AddPrinter", "USB_", plat::kErrorPrinterAlreadyExists,
     Stops("Atingido limite máximo de impressoras na mesma porta")},
    {"Spooler.AddPrinter", "", plat::kErrorPrinterAlreadyExists, kFinishes},
    {"Spooler.AddPrinter", "", 0, Stops("Erro ao adicionar impressoraer = %d")},
    // The spooler's state asked before anything else: one that cannot be
    // read is taken as it is (running here), and during a restart the next
    // query is asked.
    {"Services.QueryServiceState", "", 0, kFinishes},
    // Windows 98/Me's own UNIDRV.DLL: the directories it is looked for in.
    {"System.SystemDirectory", "system32\\UNIDRV.DLL", 0, Stops("Erro ao ler o diretório do sistema er= %d")},
    {"System.WindowsDirectory", "", 0, Stops("Erro ao ler o diretório do windows er= %d")},
};

// What a failed copy of one file leads to.
enum class After {
    OwnMessage,         // the copy's own message (or its directory's) stops the installation
    MonitorNotAdded,    // the copy is not reported; AddMonitor misses the file (126)
    ProcessorNotAdded,  // the copy is not reported; AddPrintProcessor misses the file
    DriverNotAdded,     // the copy is not reported; AddPrinterDriver misses the file (2)
    Finishes,           // nothing comes of it
};
// The copies of an installation, by the end of the destination path; a
// failure of the directory reads before a copy counts as the copy's. `failed`
// holds while no file of that name lies at the destination. One that lies
// there serves: refused as in use (32 or 5), the copy is no failure (a
// monitor or processor file goes in under "n" + name beside it), and where a
// failed copy is not reported the spooler finds the earlier file.
struct CopyStep {
    std::string_view destination;
    After failed;
    setup::OsCode target = setup::OsCode::kUnknown;  // kUnknown: any
};
const std::vector<CopyStep> kCopies{
    {"system32\\KTRCOMMN.DLL", After::MonitorNotAdded},
    {"system32\\KTRCOMUI.DLL", After::OwnMessage},  // caught at the next copy
    {"system32\\KTRUSBMN.DLL", After::MonitorNotAdded},
    {"system32\\KTRUSB9X.DLL", After::MonitorNotAdded},
    {"system32\\KTRUSBUI.DLL", After::Finishes},
    {"system32\\KTRLMON.DLL", After::MonitorNotAdded},
    {"system32\\KTRLM9X.DLL", After::MonitorNotAdded},
    {"prtprocs\\w32x86\\KTRPROC.DLL", After::ProcessorNotAdded},
    // Windows 98/Me: the system's backup UNIDRV.DLL, else the package's.
    {"system32\\UNIDRV.DLL", After::Finishes},
    {"w32x86\\3\\7404VXCONTROL.INI", After::OwnMessage},
    // The Unidrv core files: not reported, but the driver lists them.
    {"\\TTFSUB.GPD", After::DriverNotAdded},
    {"\\STDNAMES.GPD", After::DriverNotAdded},
    {"\\UNIRES.DLL", After::DriverNotAdded},
    // Windows 98/Me: the driver's one file fills three of its slots, and
    // files the driver does not name.
    {"\\KTRP410.DRV", After::OwnMessage, OsCode::kWin98Me},
    {"\\7404VXUI.DLL", After::OwnMessage, OsCode::kWin98Me},
    {"\\ICONLIB.DLL", After::OwnMessage, OsCode::kWin98Me},
    {"\\UNIDRV.DLL", After::OwnMessage, OsCode::kWin98Me},
    {"\\DMCOLOR.DLL", After::OwnMessage, OsCode::kWin98Me},
    // Every other driver file is named by the driver.
    {"spool\\drivers\\w32x86\\", After::OwnMessage},
};

// The operations that make or prepare a copy.
bool CopyOp(std::string_view op) {
    return op == "Files.CopyFile" || op == "Spooler.GetPrinterDriverDirectory" ||
           op == "Spooler.GetPrintProcessorDirectory" || op == "System.CurrentDirectory" ||
           op == "System.SystemDirectory";
}

// The message of a failed copy, or of the directory read before it.
std::string OwnMessage(std::string_view op, std::string_view destination) {
    if (op == "Spooler.GetPrinterDriverDirectory") return std::string(kDriverDirText);
    if (op == "Spooler.GetPrintProcessorDirectory") return std::string(kProcessorDirText);
    if (op != "Files.CopyFile") return std::string(kSystemDirText);
    const std::string_view file = destination.substr(destination.rfind('\\') + 1);
    return std::string(kCopyText) + std::string(file) + "  er = %d";
}

struct Scenario {
    const char* name;
    setup::OsCode target;
    const char* port;
    std::string success;  // ResultMessage of a finished installation
    // What the machine holds before; rules and copies of its own, consulted
    // before the common ones.
    std::function<void(sim::SimMachine&)> prepare = {};
    std::vector<Rule> rules = {};
    std::vector<CopyStep> copies = {};
};

const Rule* Match(const std::vector<Rule>& rules, const sim::Fault& fault, long error) {
    for (const Rule& rule : rules) {
        const bool sameOp = rule.op.ends_with('.') ? fault.call.op.starts_with(rule.op) : fault.call.op == rule.op;
        if (sameOp && fault.subject.find(rule.subject) != std::string::npos &&
            (rule.error == 0 || rule.error == error) && (rule.occurrence == 0 || rule.occurrence == fault.occurrence)) {
            return &rule;
        }
    }
    return nullptr;
}

// `destinationThere`: a file lay where the failed call (or the copy it
// prepares) copies to.
Outcome Expected(const Scenario& scenario, const sim::Fault& fault, long error, bool destinationThere) {
    for (const std::vector<Rule>* rules : {&scenario.rules, &kRules}) {
        if (const Rule* rule = Match(*rules, fault, error)) return rule->outcome;
    }
    if (fault.call.op == "Files.CopyFile" && destinationThere &&
        (error == plat::kErrorSharingViolation || error == plat::kErrorAccessDenied)) {
        return kFinishes;
    }
    std::vector<CopyStep> copies = scenario.copies;
    copies.insert(copies.end(), kCopies.begin(), kCopies.end());
    if (CopyOp(fault.call.op)) {
        for (const CopyStep& copy : copies) {
            if (!fault.subject.ends_with(copy.destination) &&
                !(copy.destination.ends_with('\\') && fault.subject.find(copy.destination) != std::string::npos)) {
                continue;
            }
            if (copy.target != setup::OsCode::kUnknown && copy.target != scenario.target) continue;
            const After after = destinationThere && copy.failed != After::OwnMessage ? After::Finishes : copy.failed;
            switch (after) {
                case After::OwnMessage:
                    return Stops(OwnMessage(fault.call.op, fault.subject));
                case After::MonitorNotAdded:
                    return Stops("Erro ao adicionar monitor Erro code is:126");
                case After::ProcessorNotAdded:
                    return Stops("Erro ao adicionar processo de impressão");
                case After::DriverNotAdded:
                    return Stops("Erro ao adicionar driver de impressora   er = 2");
                case After::Finishes:
                    return kFinishes;
            }
        }
    }
    return Stops("(no rule for this call)");
}

// Replaces "%d" by the error.
std::string WithError(std::string text, long error) {
    if (auto at = text.find("%d"); at != std::string::npos) text.replace(at, 2, std::to_string(error));
    return text;
}

// The second error of the operations whose callers tell codes apart.
const std::map<std::string, long> kSecondErrors{
    {"Files.CopyFile", plat::kErrorAccessDenied},
    {"Spooler.AddMonitor", plat::kErrorPrintMonitorAlreadyInstalled},
    {"Spooler.AddPrinter", plat::kErrorPrinterAlreadyExists},
    {"Spooler.EnumPorts", plat::kErrorNotEnoughMemory},
    {"Services.StartService", plat::kErrorServiceAlreadyRunning},
    {"Services.StopService", plat::kErrorServiceNotActive},
};

// The serial port monitor installed before, older than the package's: it is
// replaced with the spooler stopped.
void OutdatedSerialMonitor(sim::SimMachine& machine) {
    machine.files.Write("C:\\WINDOWS\\system32\\KTRCOMMN.DLL", "old monitor");
    machine.spooler.monitors.push_back({"KTR Serial Port", "Windows NT x86", "KTRCOMMN.DLL"});
    machine.registry.PutDword(plat::RootKey::LocalMachine, MonitorKey("KTR Serial Port"), "DriverVersion", 0);
}
const std::vector<Rule> kSpoolerRestartRules{
    // The spooler that does not come back stops the installation; a failed
    // second start leaves its message for the next copy.
    {"Services.StartService", "", 0, Stops("StartSpoolService error"), 1},
    {"Services.StartService", "", plat::kErrorServiceAlreadyRunning, kFinishes, 2},
    {"Services.StartService", "", 0, Stops("Erro ao iniciar o serviço de spool, código erro = %d"), 2},
    // A stop that fails leaves the spooler running; a query that fails is
    // asked again.
    {"Services.", "", 0, kFinishes},
};
// The replaced monitor file: its own failure stops the installation.
const std::vector<CopyStep> kReplacedMonitor{
    {"system32\\KTRCOMMN.DLL", After::OwnMessage},
};

// An earlier run died with the spooler stopped for an update: it is started
// before anything else.
void SpoolerLeftStopped(sim::SimMachine& machine) {
    machine.services.Add(plat::kSpoolerService, plat::kServiceStopped);
}
const std::vector<Rule> kStoppedSpoolerRules{
    // A start refused, or answered "already running" by a spooler that
    // stays stopped: nothing is installed.
    {"Services.StartService", "", plat::kErrorServiceAlreadyRunning, Stops("StartSpoolService error")},
    {"Services.StartService", "", 0, Stops("Erro ao iniciar o serviço de spool, código erro = %d")},
    // Its state unknown, the spooler is not started: the first spooler call
    // that needs it fails.
    {"Services.QueryServiceState", "", 0, Stops("Erro ao adicionar processo de impressão"), 1},
    // A poll that fails is asked again.
    {"Services.", "", 0, kFinishes},
};

// The files an earlier installation left behind, its registrations gone:
// every file of the package's folder in the driver directory, the
// control-font table in its version-3 folder, the processor's file.
void FilesOfAnEarlierInstallation(sim::SimMachine& machine) {
    const std::string folder = std::string(setup_test::kPackageFolder) + "win7\\";
    std::vector<std::string> names;
    ASSERT_EQ(machine.files.ListFolder(folder, &names), plat::kErrorSuccess);
    for (const std::string& name : names) {
        if (name != "." && name != "..") machine.files.Write(machine.spooler.driverDirectory + "\\" + name, "earlier");
    }
    machine.files.Write(machine.spooler.driverDirectory + "\\3\\7404VXCONTROL.INI", "earlier");
    machine.files.Write(machine.spooler.processorDirectory + "\\KTRPROC.DLL", "earlier");
}
// NT 4.0 without a version-3 folder: the folder not made, the control-font
// file cannot go in.
const std::vector<Rule> kNoVersion3FolderRules{
    {"Files.CreateFolder", "", 0, Stops(std::string(kCopyText) + "7404VXCONTROL.INI  er = 3")},
};

// The scenario's request and machine, before the installation.
void PrepareInstallation(InstallFixture& fixture, const Scenario& scenario) {
    fixture.Choose(kModuleReceipt, "KTR-P410", scenario.port);
    fixture.request.makeDefault = true;
    // Where the serial settings go, so that they are written.
    fixture.machine.registry.PutString(plat::RootKey::LocalMachine,
                                       "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", "COM2:", "");
    fixture.machine.registry.Put(plat::RootKey::LocalMachine, "System\\CurrentControlSet\\Services\\Class\\Ports\\0000",
                                 "PortSubClass", {plat::kRegBinary, {1}});
    if (scenario.prepare) scenario.prepare(fixture.machine);
}

// One installation of the scenario, with `fault` (or none); what was wrong
// with its end.
std::string RunInstallation(const Scenario& scenario, const sim::Fault* fault,
                            std::vector<sim::FaultPlan::Call>* calls) {
    InstallFixture fixture(scenario.target);
    PrepareInstallation(fixture, scenario);
    sim::FaultPlan& plan = fixture.machine.faults;
    if (fault) {
        plan.FailAt(fault->index, fault->error);
    } else {
        plan.Record();
    }
    // Left stopped, and not started because its state could not be read.
    const bool stoppedBefore = !fixture.machine.services.IsRunning(plat::kSpoolerService);
    // There before the installation, or copied there by it before the fault.
    bool destinationThere = fault && fixture.machine.files.Exists(fault->subject);
    const std::size_t handlesBefore = fixture.machine.OpenHandles();
    const int state = fixture.Install();
    plan.Stop();
    *calls = plan.calls();
    for (std::size_t i = 0; fault && i < fault->index && i < calls->size(); ++i) {
        const sim::FaultPlan::Call& call = (*calls)[i];
        if (call.op == "Files.CopyFile" && call.detail == fault->subject) destinationThere = true;
    }

    std::string problem;
    if (fixture.machine.OpenHandles() != handlesBefore) {
        problem += "handles left open: " + std::to_string(fixture.machine.OpenHandles() - handlesBefore) + "; ";
    }
    Outcome expected = kFinishes;
    if (fault) {
        if (plan.injected() == 0) return problem + "the call was not made again";
        expected = Expected(scenario, *fault, plan.injected(), destinationThere);
        expected.message = WithError(expected.message, plan.injected());
    }
    // The spooler is never left stopped, unless starting it is what failed,
    // or it was stopped before and its state could not be read.
    const bool stateUnread =
        fault && stoppedBefore && fault->call.op == "Services.QueryServiceState" && fault->occurrence == 1;
    if (!fixture.machine.services.IsRunning(plat::kSpoolerService) &&
        !(fault && fault->call.op == "Services.StartService") && !stateUnread) {
        problem += "the spooler left stopped; ";
    }
    const bool finished = state == InstallProgress::kDone;
    // A finished installation has its printer on the chosen port.
    const std::vector<std::string> printers = fixture.machine.spooler.PrinterNames();
    if (finished && std::none_of(printers.begin(), printers.end(), [&](const std::string& name) {
            return fixture.machine.spooler.Printer(name)->portName == fixture.request.printerPort;
        })) {
        problem += "finished without a printer on the port; ";
    }
    std::string success = scenario.success;
    if (!expected.unfulfilled.empty()) {
        success = (success.empty() ? std::string(kInstalledText) : success) + "\n" + std::string(expected.unfulfilled);
    }
    if (expected.finishes) {
        if (!finished || fixture.Result() != success) {
            problem += "expected to finish, ended " + std::to_string(state) + " with \"" + fixture.Result() + "\"";
        }
    } else if (finished || !fixture.Result().starts_with(expected.message)) {
        problem += "expected to stop with \"" + expected.message + "\", ended " + std::to_string(state) + " with \"" +
                   fixture.Result() + "\"";
    }
    return problem;
}

// The installations both sweeps run.
const std::vector<Scenario>& Scenarios() {
    const std::string installed = "Driver de impressora instalado com sucesso";
    static const std::vector<Scenario> scenarios{
        {"LPT on 98/Me", OsCode::kWin98Me, "LPT1:", ""},
        {"COM on 98/Me", OsCode::kWin98Me, "MDCOM1:", ""},
        {"USB on 98/Me", OsCode::kWin98Me, "USB_KTR-P410_1", ""},
        {"LPT on 7", OsCode::kWin7, "LPT1:", installed},
        {"COM on 7", OsCode::kWin7, "MDCOM1:", installed},
        {"USB on 7", OsCode::kWin7, "USB_KTR-P410_1", installed + "\nFavor reiniciar a impressora"},
        {"COM on 7 over an older monitor", OsCode::kWin7, "MDCOM1:", installed, OutdatedSerialMonitor, kSpoolerRestartRules,
         kReplacedMonitor},
        {"LPT on 7 over an earlier installation's files", OsCode::kWin7, "LPT1:", installed, FilesOfAnEarlierInstallation},
        {"LPT on 7 with the spooler left stopped", OsCode::kWin7, "LPT1:", installed, SpoolerLeftStopped,
         kStoppedSpoolerRules},
        {"LPT on NT 4.0", OsCode::kNt4, "LPT1:", installed, {}, kNoVersion3FolderRules},
    };
    return scenarios;
}

TEST(InstallFaultSweep, EveryCallFailedOnceEndsAsItsStepSays) {
    for (const Scenario& scenario : Scenarios()) {
        const sim::SweepResult result = sim::Sweep(
            [&](const sim::Fault* fault, std::vector<sim::FaultPlan::Call>* calls) {
                return RunInstallation(scenario, fault, calls);
            },
            kSecondErrors);
        std::printf("%s\n", result.Summary(std::string("install ") + scenario.name).c_str());
        EXPECT_GT(result.calls, 0u) << scenario.name;
        for (const std::string& problem : result.problems) ADD_FAILURE() << scenario.name << ": " << problem;
    }
}

// What keeps the installation's printer from printing through its port; ""
// when nothing does. The printer (or one named "(n)" after it, made by a
// second run) lies on the port with the driver; the driver, the port's
// monitor, the language monitor and the processor are registered and the
// files the spooler loads for them are there; a raw job goes through; the
// spooler runs.
std::string WhyItCannotPrint(InstallFixture& fixture) {
    sim::SimMachine& machine = fixture.machine;
    const InstallRequest& request = fixture.request;
    const InstallDescriptions& d = request.descriptions;
    if (!machine.services.IsRunning(plat::kSpoolerService)) return "the spooler stopped";
    const plat::PrinterInfo2* printer = nullptr;
    for (const std::string& name : machine.spooler.PrinterNames()) {
        const plat::PrinterInfo2* candidate = machine.spooler.Printer(name);
        if ((name == request.printerName || name.starts_with(request.printerName + "(")) &&
            candidate->portName == request.printerPort) {
            printer = candidate;
        }
    }
    if (!printer) return "no printer on the port";
    const std::string& drivers = machine.spooler.driverDirectory;
    auto missing = [&](const std::string& directory, std::string_view file) {
        return !machine.files.Exists(directory + "\\" + std::string(file));
    };
    const auto driver =
        std::find_if(machine.spooler.drivers.begin(), machine.spooler.drivers.end(), [&](const auto& x) {
            return plat::EqualsNoCase(x.name, printer->driverName) &&
                   plat::EqualsNoCase(x.environment, machine.spooler.localEnvironment);
        });
    if (driver == machine.spooler.drivers.end()) return "the driver not registered";
    std::vector<std::string> files{driver->driverPath, driver->dataFile, driver->configFile, driver->helpFile};
    files.insert(files.end(), driver->dependentFiles.begin(), driver->dependentFiles.end());
    // What the driver loads without naming it.
    for (const std::string& slot :
         {d.files.dataFileLibrary, d.files.uiPlugin, d.files.renderingPlugin, d.files.pluginConfig}) {
        if (!slot.empty() && slot.front() != '0') files.push_back(slot);
    }
    if (request.osCode == OsCode::kWin98Me) files.insert(files.end(), {"ICONLIB.DLL", "DMCOLOR.DLL"});
    for (const std::string& file : files) {
        if (!file.empty() && missing(drivers, file)) return "the driver's " + file + " missing";
    }
    const std::string& font = d.files.controlFont;
    if (!font.empty() && font.front() != '0' && missing(drivers + "\\3", font)) return "the control-font table missing";
    if (request.osCode == OsCode::kWin98Me && missing(machine.system.systemDirectory, "UNIDRV.DLL") &&
        missing(drivers, "UNIDRV.DLL")) {
        return "no UNIDRV.DLL";
    }
    if (std::none_of(machine.spooler.ports.begin(), machine.spooler.ports.end(),
                     [&](const std::string& port) { return plat::EqualsNoCase(port, printer->portName); })) {
        return "the port unknown";
    }
    // A registered component's file as the spooler loads it: the one its key
    // names.
    auto loaded = [&](const std::string& key, const std::string& registered) {
        const std::optional<std::string> named = fixture.Text(key, "Driver");
        return named ? *named : registered;
    };
    std::vector<const MonitorDescription*> monitors;
    if (request.portName.find("COM") != std::string::npos && request.osCode != OsCode::kWin98Me) {
        monitors.push_back(&d.monitors.com);
    }
    if (request.portName.find("USB_") != std::string::npos) monitors.push_back(&d.monitors.usb);
    if (driver->monitorName && !driver->monitorName->empty()) monitors.push_back(&d.monitors.language);
    for (const MonitorDescription* wanted : monitors) {
        const auto monitor = std::find_if(machine.spooler.monitors.begin(), machine.spooler.monitors.end(),
                                          [&](const sim::SimMonitor& m) { return m.name == wanted->name; });
        if (monitor == machine.spooler.monitors.end()) return "the monitor " + wanted->name + " not registered";
        const std::string file = loaded(MonitorKey(monitor->name), monitor->dllName);
        if (missing(machine.system.systemDirectory, file)) {
            return "the monitor " + wanted->name + "'s " + file + " missing";
        }
    }
    if (printer->printProcessor != "WinPrint") {
        const auto processor = std::find_if(
            machine.spooler.processors.begin(), machine.spooler.processors.end(), [&](const sim::SimProcessor& p) {
                return p.name == printer->printProcessor && p.environment == machine.spooler.localEnvironment;
            });
        if (processor == machine.spooler.processors.end()) return "the processor not registered";
        const std::string file = loaded(ProcessorKey(request.osCode, processor->name), processor->fileName);
        if (missing(machine.spooler.processorDirectory, file)) return "the processor's " + file + " missing";
    }
    plat::PrinterHandle handle = 0;
    std::uint32_t job = 0, written = 0;
    const std::uint8_t bytes[] = {0x1B, 0x40};
    long error = machine.spooler.OpenPrinter(printer->printerName, &handle);
    if (error == 0) {
        error = machine.spooler.StartDocPrinter(handle, "teste", "RAW", &job);
        if (error == 0) error = machine.spooler.WritePrinter(handle, bytes, sizeof bytes, &written);
        if (error == 0) error = machine.spooler.EndDocPrinter(handle);
        (void)machine.spooler.ClosePrinter(handle);
    }
    return error == 0 ? "" : "a raw job failed with " + std::to_string(error);
}

// The installation of the scenario: without a crash point, one run recorded;
// with one, a run that dies there and a fresh run on what it left. Whatever
// the rerun reports, its printer must print: nothing fails in the rerun, so a
// stop means that the dead run left something the installation cannot get
// past (a spooler stopped, a component half made).
std::string RunCrashAndRerun(const Scenario& scenario, const std::size_t* crashAt,
                             std::vector<sim::FaultPlan::Call>* calls, bool* reran) {
    InstallFixture fixture(scenario.target);
    PrepareInstallation(fixture, scenario);
    sim::FaultPlan& plan = fixture.machine.faults;
    if (!crashAt) {
        plan.Record();
        const int state = fixture.Install();
        *calls = plan.calls();
        fixture.machine.ProcessEnded();
        if (state != InstallProgress::kDone) return "ended with \"" + fixture.Result() + "\"";
        return WhyItCannotPrint(fixture);
    }
    plan.DieAt(*crashAt);
    (void)fixture.Install();
    const bool died = plan.dead();
    fixture.machine.ProcessEnded();
    if (!died) return "the program did not get there again";
    *reran = true;
    const int state = fixture.Install();
    fixture.machine.ProcessEnded();
    const std::string why = WhyItCannotPrint(fixture);
    if (why.empty()) return "";
    if (state == InstallProgress::kDone) return "the rerun reported success, yet " + why;
    return "the rerun stopped with \"" + fixture.Result() + "\" and " + why;
}

TEST(InstallFaultSweep, AnInstallationThatDiedAtAnyCallIsMadeGoodByTheNextRun) {
    for (const Scenario& scenario : Scenarios()) {
        const sim::CrashSweepResult result =
            sim::CrashSweep([&](const std::size_t* crashAt, std::vector<sim::FaultPlan::Call>* calls, bool* reran) {
                return RunCrashAndRerun(scenario, crashAt, calls, reran);
            });
        std::printf("%s\n", result.Summary(scenario.name, "unable to print").c_str());
        EXPECT_GT(result.calls, 0u) << scenario.name;
        for (const std::string& problem : result.problems) ADD_FAILURE() << scenario.name << ": " << problem;
    }
}

// The attached printer's identity, read and written before a USB
// installation: each call of the USB library failed once. Whatever fails,
// the library is freed, no device stays open and no entry point is called
// unbound.
struct UsbRule {
    std::string_view op;
    std::size_t occurrence;  // 0: any
    int result;
    std::string_view message;  // the one message box, none when empty
};

std::string JudgeUsb(const sim::SimMachine& machine, const UsbRule& expected, int result) {
    std::string problem;
    if (result != expected.result) problem += "result " + std::to_string(result) + "; ";
    std::vector<std::string> boxes;
    for (const auto& box : machine.desktop.boxes) boxes.push_back(box.text);
    if (boxes != (expected.message.empty() ? std::vector<std::string>{} : std::vector{std::string(expected.message)})) {
        problem += "other message boxes; ";
    }
    if (machine.OpenHandles() != 0) problem += "library or device left open; ";
    if (machine.usb.unboundCalls != 0) problem += "an entry point called unbound; ";
    return problem;
}

sim::SweepResult SweepUsb(const std::vector<UsbRule>& rules, const std::function<int(const UsbContext&)>& call) {
    return sim::Sweep(
        [&](const sim::Fault* fault, std::vector<sim::FaultPlan::Call>* calls) -> std::string {
            sim::SimMachine machine;
            machine.usb.slots[2] = 13;  // one printer, in the third slot
            const std::string library = std::string(setup_test::kPackageFolder) + "MdUsbInt.dll";
            machine.files.Write(library, "MdUsbInt");
            const UsbContext context{machine.usb, machine.desktop, 0x77, {library}};
            if (fault) {
                machine.faults.FailAt(fault->index, fault->error);
            } else {
                machine.faults.Record();
            }
            const int result = call(context);
            machine.faults.Stop();
            *calls = machine.faults.calls();
            if (!fault) return JudgeUsb(machine, rules.back(), result);
            for (const UsbRule& rule : rules) {
                if (fault->call.op == rule.op && (rule.occurrence == 0 || rule.occurrence == fault->occurrence)) {
                    return JudgeUsb(machine, rule, result);
                }
            }
            return "no rule for this call";
        },
        {});
}

TEST(InstallFaultSweep, TheUsbIdentityGivesTheLibraryBackWhateverFails) {
    // The last rule is the end without a fault.
    const std::vector<UsbRule> read{
        {"Usb.Load", 0, kNoUsbPrinter, kUsbLibraryMissing},
        {"Usb.Bind", 0, kNoUsbPrinter, kUsbEntryMissing},
        {"Usb.GetDescriptor", 0, kNoUsbPrinter, kUsbReadFailed},
        // The second pass over the slots opens the printer's slot as its 11th
        // open; without it there is no printer, and nothing to say.
        {"Usb.OpenDeviceX", 11, kNoUsbPrinter, ""},
        {"Usb.OpenDeviceX", 0, 13, ""},
    };
    const std::vector<UsbRule> write{
        {"Usb.Load", 0, false, kUsbLibraryMissing}, {"Usb.Bind", 0, false, kUsbEntryMissing},
        {"Usb.UWrite", 0, false, kUsbWriteFailed},  {"Usb.OpenDeviceX", 3, false, kUsbDeviceNotFound},
        {"Usb.OpenDeviceX", 0, true, ""},
    };
    for (const auto& [name, result] :
         {std::pair{"read the USB identity",
                    SweepUsb(read, [](const UsbContext& usb) { return ReadUsbDeviceId(usb); })},
          std::pair{"write the USB identity",
                    SweepUsb(write, [](const UsbContext& usb) { return WriteUsbDeviceId(usb, 3) ? 1 : 0; })}}) {
        std::printf("%s\n", result.Summary(name).c_str());
        EXPECT_GT(result.calls, 0u) << name;
        for (const std::string& problem : result.problems) ADD_FAILURE() << name << ": " << problem;
    }
}

}  // namespace
