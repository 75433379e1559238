// One removal (a printer with its driver, a port monitor, a print processor
// and the USB driver tool) once per platform call it makes, with exactly that
// call failing: the log must say what happened, the list must hold exactly
// what the spooler still has, the controls must be usable again and every
// handle given back. And the removal dying at each of those calls in turn: a
// second run must finish it, the spooler running.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sim/fault_sweep.h"
#include "tests/uninstall_fixture.h"

namespace {

using uninstall_test::UninstallFixture;

constexpr const char* kPrinter = "KTR-P410(S)";
constexpr const char* kMonitor = "KTR Serial Port";
constexpr const char* kProcessor = "KTRPrint";

enum class Stage {
    Refused,   // the check before the walk refused: nothing started
    EndsWalk,  // the walk ends at the printer: no USB tool, no restart question
    Walks,     // the walk goes through
};

// How a run must end: where it stops, the log lines it must show ("%d" for
// the error) and the items left in the list.
struct Outcome {
    Stage stage = Stage::Walks;
    std::vector<std::string> lines;
    std::vector<std::string> remaining;
};

// A call, by operation and which of its calls it is (0: any), failing with
// `error` (0: any). The first rule that matches decides.
struct Rule {
    std::string_view op;
    std::size_t occurrence;
    long error;
    Outcome outcome;
};

const std::string kInfoError = "Erro ao ler as informações da Impressora";
const std::string kNoMemory = "Erro ao alocar memória";
const std::vector<std::string> kAll{kPrinter, kMonitor, kProcessor};

// The calls in order: the spooler's state and the check of every printer (the
// package's and another) before the walk, then the printer, its restart and
// driver, the monitor, its restart and files, the processor, its restart and
// file, the USB tool.
const std::vector<Rule> kRules{
    {"Spooler.EnumPrinters", 1, 0, {Stage::Refused, {kInfoError}, kAll}},
    {"Spooler.OpenPrinterAllAccess", 1, 0, {Stage::Refused, {"Erro Abertura Impressora KTR-P410(S)"}, kAll}},
    {"Spooler.OpenPrinterAllAccess", 2, 0, {Stage::Refused, {"Erro Abertura Impressora Outra impressora"}, kAll}},
    {"Spooler.GetPrinter", 1, plat::kErrorNotEnoughMemory, {Stage::Refused, {kNoMemory}, kAll}},
    {"Spooler.GetPrinter", 2, plat::kErrorNotEnoughMemory, {Stage::Refused, {kNoMemory}, kAll}},
    {"Spooler.GetPrinter", 1, 0, {Stage::Refused, {kInfoError}, kAll}},
    {"Spooler.GetPrinter", 2, 0, {Stage::Refused, {kInfoError}, kAll}},
    {"Spooler.OpenPrinterAllAccess", 3, 0, {Stage::EndsWalk, {"Erro Abertura Impressora KTR-P410(S)"}, kAll}},
    {"Spooler.GetPrinter", 3, plat::kErrorNotEnoughMemory, {Stage::EndsWalk, {kNoMemory}, kAll}},
    {"Spooler.GetPrinter", 3, 0, {Stage::EndsWalk, {kInfoError}, kAll}},
    {"Spooler.DeletePrinter", 0, 0, {Stage::Walks, {"Delete printer error."}, {kPrinter}}},
    {"Spooler.DeletePrinterDriverEx",
     0,
     plat::kErrorPrinterDriverInUse,
     {Stage::Walks, {"O driver está em uso e não pode ser apagado"}, {}}},
    {"Spooler.DeletePrinterDriverEx", 0, 0, {Stage::Walks, {"Erro ao apagar driver da impressora    er=%d"}, {}}},
    // A refused start is made again once the spooler has stopped: the items
    // after it still go. A failed stop or state query leaves it running; the
    // state that cannot be read before the check is taken as it is.
    {"Services.", 0, 0, {Stage::Walks, {}, {}}},
    // A monitor that will not go is tried again after a spooler restart.
    {"Spooler.DeleteMonitor", 0, 0, {Stage::Walks, {"KTR Serial Port foi deletada"}, {}}},
    {"Spooler.DeletePrintProcessor",
     0,
     plat::kErrorCanNotComplete,
     {Stage::Walks, {"KTRPrint está sendo utilizada e não pode ser deletada"}, {kProcessor}}},
    {"Spooler.DeletePrintProcessor", 0, 0, {Stage::Walks, {"Erro ao desinstalar KTRPrint"}, {kProcessor}}},
    {"Spooler.GetPrintProcessorDirectory", 0, 0, {Stage::Walks, {"Erro ao ler o Diretório do Sistema"}, {}}},
    {"System.SystemDirectory", 0, 0, {Stage::Walks, {"Get system Directory error."}, {}}},
    // Closing, reading the file names, making files writable and deleting
    // them, the tool's folder:
    // nothing the log reports.
    {"Spooler.ClosePrinter", 0, 0, {Stage::Walks, {}, {}}},
    {"Profile.GetString", 0, 0, {Stage::Walks, {}, {}}},
    {"Files.DeleteFile", 0, 0, {Stage::Walks, {}, {}}},
    {"Files.SetArchiveAttribute", 0, 0, {Stage::Walks, {}, {}}},
    {"System.CurrentDirectory", 0, 0, {Stage::Walks, {}, {}}},
    // A poll for the tool's window that sees none ends the wait early.
    {"Desktop.FindTopLevelWindow", 0, 0, {Stage::Walks, {}, {}}},
};

const std::map<std::string, long> kSecondErrors{
    {"Spooler.GetPrinter", plat::kErrorNotEnoughMemory},
    {"Spooler.DeleteMonitor", plat::kErrorPrintMonitorInUse},
    {"Spooler.DeletePrintProcessor", plat::kErrorCanNotComplete},
    {"Spooler.DeletePrinterDriverEx", plat::kErrorPrinterDriverInUse},
    {"Services.StartService", plat::kErrorServiceAlreadyRunning},
    {"Services.StopService", plat::kErrorServiceNotActive},
};

const Outcome* Expected(const sim::Fault& fault, long error) {
    for (const Rule& rule : kRules) {
        const bool sameOp = rule.op.ends_with('.') ? fault.call.op.starts_with(rule.op) : fault.call.op == rule.op;
        if (sameOp && (rule.occurrence == 0 || rule.occurrence == fault.occurrence) &&
            (rule.error == 0 || rule.error == error)) {
            return &rule.outcome;
        }
    }
    return nullptr;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The package installed, the dialog open with the package's items and the
// USB driver's box ticked, the restart question to be answered "&Não".
void PrepareRemoval(UninstallFixture& fixture) {
    fixture.InstalledPackage();
    fixture.Open();
    for (const char* item : {kPrinter, kMonitor, kProcessor}) fixture.Tick(item);
    fixture.controls.SetCheck(IDC_REMOVE_USB_DRIVER, true);
    fixture.machine.desktop.dialogClicks.push_back(IDC_RESTART_NO);
    // The USB driver tool shows its window for a while.
    fixture.machine.desktop.onStart = [&fixture](const sim::SimDesktop::Started&) {
        fixture.machine.desktop.windows.push_back({"QTRX print system setup", 0x99});
        fixture.machine.clock.At(fixture.machine.clock.now + 2600,
                                 [&fixture] { fixture.machine.desktop.RemoveWindow("QTRX print system setup"); });
    };
}

std::string RunRemoval(const sim::Fault* fault, std::vector<sim::FaultPlan::Call>* calls) {
    UninstallFixture fixture(7);
    PrepareRemoval(fixture);
    sim::FaultPlan& plan = fixture.machine.faults;
    if (fault) {
        plan.FailAt(fault->index, fault->error);
    } else {
        plan.Record();
    }
    const std::size_t handlesBefore = fixture.machine.OpenHandles();
    const std::size_t logBefore = fixture.Log().size();
    fixture.Remove();
    plan.Stop();
    *calls = plan.calls();

    Outcome expected{Stage::Walks, {}, {}};
    std::string problem;
    if (fault) {
        if (plan.injected() == 0) return "the call was not made again";
        const Outcome* rule = Expected(*fault, plan.injected());
        if (!rule) return "no rule for this call";
        expected = *rule;
    }
    if (fixture.machine.OpenHandles() != handlesBefore) problem += "handles left open; ";
    // The lines of this run only.
    std::vector<std::string> log = fixture.Log();
    log.erase(log.begin(), log.begin() + static_cast<std::ptrdiff_t>(logBefore));
    for (std::string line : expected.lines) {
        if (auto at = line.find("%d"); at != std::string::npos) line.replace(at, 2, std::to_string(plan.injected()));
        if (!Has(log, line)) problem += "no log line \"" + line + "\"; ";
    }
    if (fixture.Items() != expected.remaining) problem += "other items left in the list; ";
    // The list shows what the spooler still holds.
    const sim::SimSpooler& spooler = fixture.machine.spooler;
    const bool printerThere = spooler.Printer(kPrinter) != nullptr;
    const bool monitorThere = std::any_of(spooler.monitors.begin(), spooler.monitors.end(),
                                          [](const sim::SimMonitor& m) { return m.name == kMonitor; });
    const bool processorThere = std::any_of(spooler.processors.begin(), spooler.processors.end(),
                                            [](const sim::SimProcessor& p) { return p.name == kProcessor; });
    const std::vector<std::string> items = fixture.Items();
    if (printerThere != Has(items, kPrinter) || monitorThere != Has(items, kMonitor) ||
        processorThere != Has(items, kProcessor)) {
        problem += "the list and the spooler disagree; ";
    }
    const bool walked = expected.stage == Stage::Walks;
    const bool started = expected.stage != Stage::Refused;
    if (Has(log, "USB Device Driver foi deletada") != walked) problem += "the USB tool ran or did not; ";
    const bool asked = !fixture.machine.desktop.dialogsRun.empty();
    if (asked != (walked && expected.remaining.size() < kAll.size())) problem += "the restart question; ";
    if (Has(log, "Favor selecionar as impressoras a serem desinstaladas") != (started && !expected.remaining.empty())) {
        problem += "the line asking for a selection; ";
    }
    for (int id : {IDC_UNINSTALL, IDC_SELECT_ALL, plat::kIdCancel, IDC_REMOVE_USB_DRIVER}) {
        if (!fixture.Enabled(id)) problem += "control " + std::to_string(id) + " left disabled; ";
    }
    if (fixture.Enabled(IDC_ITEMS) != (!started || !expected.remaining.empty())) problem += "the list's state; ";
    if (fixture.dialog.workerRunning()) problem += "the worker still runs; ";
    return problem;
}

// The removal: without a crash point, one run recorded; with one, a run that
// dies there and a fresh Desinstalar on what it left, the package's items
// that it still lists ticked again. Nothing fails in the rerun: the ticked
// items must be gone at its end and the spooler running (a problem quotes the
// log's last line).
std::string RunCrashAndRerun(const std::size_t* crashAt, std::vector<sim::FaultPlan::Call>* calls, bool* reran) {
    UninstallFixture fixture(7);
    PrepareRemoval(fixture);
    sim::FaultPlan& plan = fixture.machine.faults;
    sim::SimControls controls;
    std::optional<uninstall::UninstallerDialog> dialog;
    if (!crashAt) {
        plan.Record();
        fixture.Remove();
        *calls = plan.calls();
    } else {
        plan.DieAt(*crashAt);
        fixture.Remove();
        const bool died = plan.dead();
        fixture.machine.ProcessEnded();
        if (!died) return "the program did not get there again";
        *reran = true;
        controls.window = fixture.controls.window;
        dialog.emplace(fixture.Services());
        dialog->OnInit(controls);
        for (int i = 0; i < controls.ItemCount(IDC_ITEMS); ++i) {
            if (Has(kAll, controls.ItemText(IDC_ITEMS, i))) controls.CheckItem(IDC_ITEMS, i, true);
        }
        controls.SetCheck(IDC_REMOVE_USB_DRIVER, true);
        fixture.machine.desktop.dialogClicks = {IDC_RESTART_NO};
        dialog->OnCommand(controls, IDC_UNINSTALL, plat::kBnClicked);
        dialog->WaitForWorker();
    }
    fixture.machine.ProcessEnded();
    std::string problem;
    if (!fixture.machine.services.IsRunning(plat::kSpoolerService)) problem += "the spooler stopped; ";
    const sim::SimSpooler& spooler = fixture.machine.spooler;
    if (spooler.Printer(kPrinter)) problem += "the printer still there; ";
    if (std::any_of(spooler.monitors.begin(), spooler.monitors.end(),
                    [](const sim::SimMonitor& m) { return m.name == kMonitor; })) {
        problem += "the monitor still there; ";
    }
    if (std::any_of(spooler.processors.begin(), spooler.processors.end(),
                    [](const sim::SimProcessor& p) { return p.name == kProcessor; })) {
        problem += "the processor still there; ";
    }
    if (!problem.empty()) {
        const std::vector<std::string>& log = dialog ? controls.controls[IDC_LOG].items : fixture.Log();
        problem += "the log ends \"" + (log.empty() ? std::string() : log.back()) + "\"";
    }
    return problem;
}

TEST(RemovalFaultSweep, EveryCallFailedOnceIsLoggedAndTheDialogComesBack) {
    const sim::SweepResult result = sim::Sweep(RunRemoval, kSecondErrors);
    std::printf("%s\n", result.Summary("removal on 7").c_str());
    EXPECT_GT(result.calls, 0u);
    for (const std::string& problem : result.problems) ADD_FAILURE() << problem;
}

TEST(RemovalFaultSweep, ARemovalThatDiedAtAnyCallIsFinishedByTheNextRun) {
    const sim::CrashSweepResult result = sim::CrashSweep(RunCrashAndRerun);
    std::printf("%s\n", result.Summary("removal on 7", "with a ticked item in place").c_str());
    EXPECT_GT(result.calls, 0u);
    for (const std::string& problem : result.problems) ADD_FAILURE() << problem;
}

}  // namespace
