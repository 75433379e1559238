// The installation once per platform call it makes, with exactly that call
// failing: each run must end as the failing step's handling says (stopped
// with the step's message, or finished where the failure does not matter),
// never report success after a failure that stops it, and give back every
// handle it took.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/component_check.h"
#include "core/printer_module.h"
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
};
const Outcome kFinishes{true, {}};
Outcome Stops(std::string message) {
    return {false, std::move(message)};
}

constexpr std::string_view kSystemDirText = "Erro ao ler o diretório do sistema";  // 102, and 107
constexpr std::string_view kDriverDirText = "Erro ao ler o diretório do driver de impressora";
constexpr std::string_view kProcessorDirText = "Erro ao ler o diretório de processo de impressão";
constexpr std::string_view kCopyText = "Erro ao copiar arquivos de drivers";

// A call whose failure is decided by the operation and what it works on
// alone: the operation ("Registry." for all of the registry's), `subject` a part of the call's subject (any when
// empty), `error` the injected error (any when 0). The first rule that matches decides.
struct Rule {
    std::string_view op;
    std::string_view subject;
    long error;
    Outcome outcome;
};
const std::vector<Rule> kRules{
    // Version values, port records and serial settings: written or not, the
    // printer is installed.
    {"Registry.", "", 0, kFinishes},
    {"Profile.", "", 0, kFinishes},
    {"Files.SetArchiveAttribute", "", 0, kFinishes},
    {"Files.FileExists", "", 0, kFinishes},
    // The default printer is a wish, not a step.
    {"Spooler.SetDefaultPrinter", "", 0, kFinishes},
    {"Spooler.OpenPrinter", "", 0, kFinishes},
    {"Spooler.GetPrinter", "", 0, kFinishes},
    {"Spooler.SetPrinterAttributes", "", 0, kFinishes},
    {"Spooler.ClosePrinter", "", 0, kFinishes},
    {"Spooler.AddMonitor", "", plat::kErrorPrintMonitorAlreadyInstalled, kFinishes},
    {"Spooler.AddMonitor", "", 0, Stops("Erro ao adicionar monitor Erro code is:%d")},
    {"Spooler.AddPrintProcessor", "", 0, Stops("Erro ao adicionar processo de impressão")},
    {"Spooler.EnumPorts", "", plat::kErrorNotEnoughMemory, Stops("Instalador da Impressora não pôde alocar")},
    {"Spooler.EnumPorts", "", 0, Stops("Erro ao enumerar portas er = %d")},
    {"Spooler.AddPrinterDriver", "", 0, Stops("Erro ao adicionar driver de impressora   er = %d")},
    // A taken name on a parallel or serial port: the next free "(n)".
    {"Spooler.AddPrinter", "USB_", plat::kErrorPrinterAlreadyExists,
     Stops("Atingido limite máximo de impressoras na mesma porta")},
    {"Spooler.AddPrinter", "", plat::kErrorPrinterAlreadyExists, kFinishes},
    {"Spooler.AddPrinter", "", 0, Stops("Erro ao adicionar impressoraer = %d")},
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
// failure of the directory reads before a copy counts as the copy's. `inUse`
// is what a destination held open (32 or 5) leads to: monitor and processor
// files go in under "n" + name, a driver file is silently left out.
struct CopyStep {
    std::string_view destination;
    After failed;
    After inUse;
    int target = -1;  // -1: any
};
const std::vector<CopyStep> kCopies{
    {"system32\\KTRCOMMN.DLL", After::MonitorNotAdded, After::Finishes},
    {"system32\\KTRCOMUI.DLL", After::OwnMessage, After::Finishes},  // caught at the next copy
    {"system32\\KTRUSBMN.DLL", After::MonitorNotAdded, After::Finishes},
    {"system32\\KTRUSB9X.DLL", After::MonitorNotAdded, After::Finishes},
    {"system32\\KTRUSBUI.DLL", After::Finishes, After::Finishes},
    {"system32\\KTRLMON.DLL", After::MonitorNotAdded, After::Finishes},
    {"system32\\KTRLM9X.DLL", After::MonitorNotAdded, After::Finishes},
    {"prtprocs\\w32x86\\KTRPROC.DLL", After::ProcessorNotAdded, After::Finishes},
    // Windows 98/Me: the system's backup UNIDRV.DLL, else the package's.
    {"system32\\UNIDRV.DLL", After::Finishes, After::Finishes},
    {"w32x86\\3\\7404VXCONTROL.INI", After::OwnMessage, After::Finishes},
    // The Unidrv core files: not reported, but the driver lists them.
    {"\\TTFSUB.GPD", After::DriverNotAdded, After::DriverNotAdded},
    {"\\STDNAMES.GPD", After::DriverNotAdded, After::DriverNotAdded},
    {"\\UNIRES.DLL", After::DriverNotAdded, After::DriverNotAdded},
    // Windows 98/Me: the driver's one file fills three of its slots, and
    // files the driver does not name.
    {"\\KTRP410.DRV", After::OwnMessage, After::Finishes, kOsWin98Me},
    {"\\7404VXUI.DLL", After::OwnMessage, After::Finishes, kOsWin98Me},
    {"\\ICONLIB.DLL", After::OwnMessage, After::Finishes, kOsWin98Me},
    {"\\UNIDRV.DLL", After::OwnMessage, After::Finishes, kOsWin98Me},
    {"\\DMCOLOR.DLL", After::OwnMessage, After::Finishes, kOsWin98Me},
    // Every other driver file is named by the driver.
    {"spool\\drivers\\w32x86\\", After::OwnMessage, After::DriverNotAdded},
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

Outcome Expected(const sim::Fault& fault, long error, int target) {
    for (const Rule& rule : kRules) {
        const bool sameOp = rule.op.ends_with('.') ? fault.call.op.starts_with(rule.op) : fault.call.op == rule.op;
        if (sameOp && fault.subject.find(rule.subject) != std::string::npos &&
            (rule.error == 0 || rule.error == error)) {
            return rule.outcome;
        }
    }
    if (CopyOp(fault.call.op)) {
        for (const CopyStep& copy : kCopies) {
            if (!fault.subject.ends_with(copy.destination) &&
                !(copy.destination.ends_with('\\') && fault.subject.find(copy.destination) != std::string::npos)) {
                continue;
            }
            if (copy.target != -1 && copy.target != target) continue;
            const bool inUse = fault.call.op == "Files.CopyFile" &&
                               (error == plat::kErrorSharingViolation || error == plat::kErrorAccessDenied);
            switch (inUse ? copy.inUse : copy.failed) {
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
};

struct Scenario {
    const char* name;
    int target;
    const char* port;
    std::string success;  // ResultMessage of a finished installation
};

// One installation of the scenario, with `fault` (or none); what was wrong
// with its end.
std::string RunInstallation(const Scenario& scenario, const sim::Fault* fault,
                            std::vector<sim::FaultPlan::Call>* calls) {
    InstallFixture fixture(scenario.target);
    fixture.Choose(kModuleReceipt, "KTR-P410", scenario.port);
    fixture.request.makeDefault = true;
    // Where the serial settings go, so that they are written.
    fixture.machine.registry.PutString(plat::RootKey::LocalMachine,
                                       "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", "COM2:", "");
    fixture.machine.registry.Put(plat::RootKey::LocalMachine, "System\\CurrentControlSet\\Services\\Class\\Ports\\0000",
                                 "PortSubClass", {plat::kRegBinary, {1}});
    sim::FaultPlan& plan = fixture.machine.faults;
    if (fault) {
        plan.FailAt(fault->index, fault->error);
    } else {
        plan.Record();
    }
    const std::size_t handlesBefore = fixture.machine.OpenHandles();
    const int state = fixture.Install();
    plan.Stop();
    *calls = plan.calls();

    std::string problem;
    if (fixture.machine.OpenHandles() != handlesBefore) {
        problem += "handles left open: " + std::to_string(fixture.machine.OpenHandles() - handlesBefore) + "; ";
    }
    Outcome expected = kFinishes;
    if (fault) {
        if (plan.injected() == 0) return problem + "the call was not made again";
        expected = Expected(*fault, plan.injected(), scenario.target);
        expected.message = WithError(expected.message, plan.injected());
    }
    const bool finished = state == InstallProgress::kDone;
    if (expected.finishes) {
        if (!finished || fixture.Result() != scenario.success) {
            problem += "expected to finish, ended " + std::to_string(state) + " with \"" + fixture.Result() + "\"";
        }
    } else if (finished || !fixture.Result().starts_with(expected.message)) {
        problem += "expected to stop with \"" + expected.message + "\", ended " + std::to_string(state) + " with \"" +
                   fixture.Result() + "\"";
    }
    return problem;
}

TEST(InstallFaultSweep, EveryCallFailedOnceEndsAsItsStepSays) {
    const std::string installed = "Driver de impressora instalado com sucesso";
    const Scenario scenarios[] = {
        {"LPT on 98/Me", kOsWin98Me, "LPT1:", ""},
        {"COM on 98/Me", kOsWin98Me, "MDCOM1:", ""},
        {"USB on 98/Me", kOsWin98Me, "USB_KTR-P410_1", ""},
        {"LPT on 7", kOsWin7, "LPT1:", installed},
        {"COM on 7", kOsWin7, "MDCOM1:", installed},
        {"USB on 7", kOsWin7, "USB_KTR-P410_1", installed + "\nFavor reiniciar a impressora"},
    };
    for (const Scenario& scenario : scenarios) {
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

}  // namespace
