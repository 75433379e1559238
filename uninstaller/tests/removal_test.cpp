// The removal of the ticked items on a simulated machine: what the spooler,
// registry and disk hold afterwards, the log, the waits, the controls.
#include "core/removal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/uninstall_fixture.h"

namespace {

using namespace uninstall;
using uninstall_test::kProcessorDir;
using uninstall_test::kSystemDir;
using uninstall_test::UninstallFixture;

bool HasMonitor(const sim::SimSpooler& spooler, std::string_view name) {
    return std::any_of(spooler.monitors.begin(), spooler.monitors.end(),
                       [&](const sim::SimMonitor& monitor) { return monitor.name == name; });
}

TEST(Removal, APrinterAndTheMonitorAfterItGoInOneRun) {
    UninstallFixture fixture(7);
    fixture.InstalledPackage();
    // Installed from a CD by an older Setup: the file kept the read-only mark.
    fixture.machine.files.SetReadOnly(std::string(kSystemDir) + "\\KTRCOMMN.DLL");
    fixture.Open();
    ASSERT_EQ(fixture.Items(), (std::vector<std::string>{"KTR-P410(S)", "KTR Serial Port", "KTRPrint"}));
    fixture.Tick("KTR-P410(S)");
    fixture.Tick("KTR Serial Port");
    fixture.machine.desktop.dialogClicks.push_back(IDC_RESTART_NO);
    fixture.Remove();

    EXPECT_EQ(fixture.Log(), (std::vector<std::string>{
                                 "Favor selecionar as impressoras a serem desinstaladas",
                                 "Deletando Impressora KTR-P410(S), favor aguardar...",
                                 "KTR-P410(S) foi deletada",
                                 "Apagando driver da KTR-P410(S), favor aguardar...",
                                 "Apagando KTR Serial Port, favor aguardar...",
                                 "KTR Serial Port foi deletada",
                                 "Favor selecionar as impressoras a serem desinstaladas",
                             }));
    EXPECT_EQ(fixture.Items(), std::vector<std::string>{"KTRPrint"}) << "the monitor moved up and was still removed";
    const sim::SimSpooler& spooler = fixture.machine.spooler;
    EXPECT_EQ(spooler.PrinterNames(), std::vector<std::string>{"Outra impressora"});
    EXPECT_FALSE(HasMonitor(spooler, "KTR Serial Port"));
    ASSERT_EQ(spooler.driverDeletions.size(), 1u);
    EXPECT_EQ(spooler.driverDeletions[0].driver, "KTR-P410 Receipt");
    EXPECT_TRUE(spooler.driverDeletions[0].ex);
    EXPECT_EQ(spooler.driverDeletions[0].flags, plat::kDeleteUnusedFiles);
    EXPECT_FALSE(fixture.machine.files.Exists(std::string(kSystemDir) + "\\KTRCOMMN.DLL"));
    EXPECT_FALSE(fixture.machine.files.Exists(std::string(kSystemDir) + "\\KTRCOMUI.DLL"));
    EXPECT_TRUE(fixture.machine.files.Exists(std::string(kProcessorDir) + "\\KTRPROC.DLL"));
    // The spooler restarted after each removal, and runs.
    EXPECT_EQ(fixture.machine.services.history,
              (std::vector<std::string>{"stop Spooler", "start Spooler", "stop Spooler", "start Spooler"}));
    EXPECT_TRUE(fixture.machine.services.IsRunning("Spooler"));
    // Something was removed: the restart question, answered "&Não".
    ASSERT_EQ(fixture.machine.desktop.dialogsRun.size(), 1u);
    EXPECT_EQ(fixture.machine.desktop.dialogsRun[0].templateId, IDD_RESTART);
    EXPECT_EQ(fixture.machine.desktop.restartRequests, 0);
    for (int id : {IDC_ITEMS, IDC_UNINSTALL, IDC_SELECT_ALL, plat::kIdCancel, IDC_REMOVE_USB_DRIVER}) {
        EXPECT_TRUE(fixture.Enabled(id)) << id;
    }
    EXPECT_FALSE(fixture.dialog.workerRunning());
    EXPECT_EQ(fixture.machine.spooler.OpenHandleCount(), 0u);
    EXPECT_EQ(fixture.machine.registry.OpenHandleCount(), 0u);
}

TEST(Removal, EachItemWaitsAndThePrinterAndDriverHaveTheirPauses) {
    struct Case {
        int code;
        std::vector<unsigned> waits;
        std::size_t driverDeletions;
    } cases[] = {
        // item, after DeletePrinter, spooler stopped, after the restart, after the driver (100 + 1000)
        {7, {500, 100, 2000, 1000, 100, 1000}, 1},
        {2, {500, 100, 2000, 1000, 100, 1000}, 1},
        // NT 4.0 and 98/Me keep the driver: another 1000 ms instead.
        {1, {500, 100, 2000, 1000, 1000}, 0},
        {0, {500, 100, 2000, 1000, 1000}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        UninstallFixture fixture(c.code);
        fixture.Printer("KTR-P410(P)", "KTR-P410 Receipt");
        fixture.Open();
        fixture.Tick("KTR-P410(P)");
        fixture.Remove();
        EXPECT_EQ(fixture.machine.clock.waits, c.waits);
        EXPECT_EQ(fixture.machine.spooler.driverDeletions.size(), c.driverDeletions);
        EXPECT_EQ(fixture.machine.spooler.drivers.size(), 1u - c.driverDeletions);
        EXPECT_TRUE(fixture.machine.spooler.PrinterNames().empty());
        // Nothing left in the list: the list stays disabled, the buttons come back.
        EXPECT_FALSE(fixture.Enabled(IDC_ITEMS));
        EXPECT_TRUE(fixture.Enabled(IDC_UNINSTALL));
        EXPECT_EQ(fixture.Enabled(IDC_REMOVE_USB_DRIVER), c.code >= 2);
    }
}

// The spooler must run again after its restart, or every later item fails
// with 1722 and nothing prints: one slower to stop than the wait refuses the
// start and is started again once stopped; one that does not come back within
// the polls is reported.
TEST(Removal, TheSpoolerRunsAgainAfterItsRestart) {
    using Setup = std::function<void(sim::SimServices&)>;
    const std::vector<unsigned> allPolls{2000, 300, 300, 300, 300, 300, 300, 300, 300, 300};
    struct Case {
        const char* what;
        Setup spooler;
        std::vector<unsigned> restartWaits;  // from the stop to the running spooler, or to the last poll
        std::vector<std::string> history;
        std::string lineAfterRemoval;
    } cases[] = {
        {"slower to stop than the wait",
         [](sim::SimServices& s) { s.stopPendingQueries = 2; },
         {2000, 300, 300, 300},
         {"stop Spooler", "start Spooler"},
         "Apagando driver da KTR-P410(S), favor aguardar..."},
        {"still stopping after the polls",
         [](sim::SimServices& s) { s.stopPendingQueries = 20; },
         allPolls,
         {"stop Spooler"},
         "Erro ao iniciar o serviço de spool, código erro = 1056"},
        {"every start refused",
         [](sim::SimServices& s) { s.Fail(sim::ServiceOp::Start, 5); },
         allPolls,
         {"stop Spooler"},
         "Erro ao iniciar o serviço de spool, código erro = 5"},
        {"started, yet it dies while loading",
         [](sim::SimServices& s) { s.startsButDies = true; },
         allPolls,
         {"stop Spooler", "start Spooler", "start Spooler"},
         "StartSpoolService error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UninstallFixture fixture(7);
        fixture.InstalledPackage();
        fixture.Open();
        fixture.Tick("KTR-P410(S)");
        c.spooler(fixture.machine.services);
        fixture.Remove();
        std::vector<unsigned> waits{500, 100};
        waits.insert(waits.end(), c.restartWaits.begin(), c.restartWaits.end());
        waits.insert(waits.end(), {1000, 100, 1000, 500, 500});  // the driver, the two items left
        EXPECT_EQ(fixture.machine.clock.waits, waits);
        EXPECT_EQ(fixture.machine.services.history, c.history);
        const std::vector<std::string> log = fixture.Log();
        const auto removed = std::find(log.begin(), log.end(), "KTR-P410(S) foi deletada");
        ASSERT_NE(removed, log.end());
        ASSERT_NE(removed + 1, log.end());
        EXPECT_EQ(*(removed + 1), c.lineAfterRemoval);
        const bool running = c.history.size() == 2;
        EXPECT_EQ(fixture.machine.services.IsRunning("Spooler"), running);
        EXPECT_EQ(fixture.machine.spooler.drivers.size(), running ? 1u : 2u) << "the driver went only with a spooler";
    }
}

TEST(Removal, QueuedJobsAnywhereStopTheRemovalBeforeItStarts) {
    UninstallFixture fixture(7);
    fixture.InstalledPackage();
    fixture.machine.spooler.QueueJobs("Outra impressora", 2);  // not even the package's
    fixture.Open();
    fixture.Tick("KTR-P410(S)");
    fixture.Remove();
    EXPECT_EQ(fixture.Log().back(), "Primeiramente, favor apagar os serviços na fila desta impressora");
    EXPECT_EQ(fixture.machine.spooler.PrinterNames().size(), 2u);
    EXPECT_TRUE(fixture.machine.clock.waits.empty()) << "no worker ran";
    EXPECT_TRUE(fixture.Enabled(IDC_UNINSTALL));
}

// A program that died with the spooler stopped leaves it so: it is started
// before the list is read and again before the check for queued jobs, and
// when it does not run the removal does not begin.
TEST(Removal, ASpoolerFoundStoppedIsStartedBeforeTheCheck) {
    using Setup = std::function<void(sim::SimServices&)>;
    struct Case {
        const char* what;
        bool stoppedAtOpen;  // else stopped once the list was read
        Setup spooler;
        std::string refusal;  // the line that ended the check; none when the removal ran
    } cases[] = {
        {"stopped when the dialog opens", true, [](sim::SimServices&) {}, ""},
        {"it starts", false, [](sim::SimServices&) {}, ""},
        {"its start refused", false, [](sim::SimServices& s) { s.Fail(sim::ServiceOp::Start, 5); },
         "Erro ao iniciar o serviço de spool, código erro = 5"},
        {"started, yet it dies while loading", false, [](sim::SimServices& s) { s.startsButDies = true; },
         "StartSpoolService error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UninstallFixture fixture(7);
        fixture.InstalledPackage();
        if (c.stoppedAtOpen) fixture.machine.services.Add(plat::kSpoolerService, plat::kServiceStopped);
        fixture.Open();
        ASSERT_EQ(fixture.Items(), (std::vector<std::string>{"KTR-P410(S)", "KTR Serial Port", "KTRPrint"}));
        fixture.Tick("KTR-P410(S)");
        if (!c.stoppedAtOpen) fixture.machine.services.Add(plat::kSpoolerService, plat::kServiceStopped);
        c.spooler(fixture.machine.services);
        fixture.Remove();
        const bool removed = c.refusal.empty();
        EXPECT_EQ(fixture.machine.spooler.Printer("KTR-P410(S)") == nullptr, removed);
        EXPECT_EQ(fixture.machine.services.IsRunning(plat::kSpoolerService), removed);
        if (!removed) {
            EXPECT_EQ(fixture.Log().back(), c.refusal);
            EXPECT_TRUE(fixture.Enabled(IDC_UNINSTALL));
            EXPECT_FALSE(fixture.dialog.workerRunning());
        }
    }
}

TEST(Removal, APrinterFailureBeforeItsDeletionEndsTheWalk) {
    using Setup = std::function<void(UninstallFixture&)>;
    struct Case {
        const char* what;
        Setup fail;
        std::string lastLines;  // the line that ended the walk
    } cases[] = {
        {"jobs arrive during the walk",
         [](UninstallFixture& f) { f.machine.clock.At(400, [&f] { f.machine.spooler.QueueJobs("KTR-P410(S)", 1); }); },
         "KTR-P410(S) não pode ser deletada, favor apagar os serviços na fila desta impressora"},
        {"the printer cannot be opened",
         [](UninstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::OpenPrinterAllAccess, 5, 2); },
         "Erro Abertura Impressora KTR-P410(S)"},
        {"its information cannot be read",
         [](UninstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::GetPrinter, 6, 2); },
         "Erro ao ler as informações da Impressora"},
        {"no memory for its information",
         [](UninstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::GetPrinter, 8, 2); },
         "Erro ao alocar memória"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UninstallFixture fixture(7);
        fixture.InstalledPackage();
        fixture.Open();
        fixture.Tick("KTR-P410(S)");
        fixture.Tick("KTR Serial Port");
        c.fail(fixture);
        fixture.Remove();
        const std::vector<std::string> log = fixture.Log();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2], c.lastLines);
        EXPECT_EQ(log.back(), "Favor selecionar as impressoras a serem desinstaladas");
        EXPECT_TRUE(HasMonitor(fixture.machine.spooler, "KTR Serial Port")) << "the walk ended before the monitor";
        EXPECT_EQ(fixture.machine.spooler.PrinterNames().size(), 2u);
        EXPECT_TRUE(fixture.machine.desktop.dialogsRun.empty()) << "nothing removed, no restart question";
        for (int id : {IDC_ITEMS, IDC_UNINSTALL, IDC_SELECT_ALL, plat::kIdCancel}) EXPECT_TRUE(fixture.Enabled(id));
        EXPECT_EQ(fixture.machine.spooler.OpenHandleCount(), 0u);
    }
}

TEST(Removal, FailuresOfOneItemAreLoggedAndTheWalkGoesOn) {
    using Setup = std::function<void(UninstallFixture&)>;
    struct Case {
        const char* what;
        const char* item;
        Setup fail;
        std::vector<std::string> lines;  // the item's lines
    } cases[] = {
        {"monitor in use",
         "KTR Serial Port",
         [](UninstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::DeleteMonitor, 3008); },
         {"Apagando KTR Serial Port, favor aguardar...",
          "KTR Serial Port está sendo utilizada e não pode ser deletada"}},
        {"monitor refused",
         "KTR Serial Port",
         [](UninstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::DeleteMonitor, 5); },
         {"Apagando KTR Serial Port, favor aguardar...", "Erro ao desinstalar KTR Serial Port"}},
        {"processor in use",
         "KTRPrint",
         [](UninstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::DeletePrintProcessor, 1003); },
         {"Apagando KTRPrint, favor aguardar...", "KTRPrint está sendo utilizada e não pode ser deletada"}},
        {"processor refused",
         "KTRPrint",
         [](UninstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::DeletePrintProcessor, 5); },
         {"Apagando KTRPrint, favor aguardar...", "Erro ao desinstalar KTRPrint"}},
        {"DeletePrinter refused",
         "KTR-P410(S)",
         [](UninstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::DeletePrinter, 5); },
         {"Deletando Impressora KTR-P410(S), favor aguardar...", "Delete printer error."}},
        {"driver in use",
         "KTR-P410(S)",
         [](UninstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::DeletePrinterDriverEx, 3001); },
         {"Deletando Impressora KTR-P410(S), favor aguardar...", "KTR-P410(S) foi deletada",
          "Apagando driver da KTR-P410(S), favor aguardar...", "O driver está em uso e não pode ser apagado"}},
        {"driver refused",
         "KTR-P410(S)",
         [](UninstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::DeletePrinterDriverEx, 5); },
         {"Deletando Impressora KTR-P410(S), favor aguardar...", "KTR-P410(S) foi deletada",
          "Apagando driver da KTR-P410(S), favor aguardar...", "Erro ao apagar driver da impressora    er=5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UninstallFixture fixture(7);
        fixture.InstalledPackage();
        fixture.Open();
        fixture.Tick(c.item);
        c.fail(fixture);
        fixture.Remove();
        std::vector<std::string> expected{"Favor selecionar as impressoras a serem desinstaladas"};
        expected.insert(expected.end(), c.lines.begin(), c.lines.end());
        expected.push_back("Favor selecionar as impressoras a serem desinstaladas");
        EXPECT_EQ(fixture.Log(), expected);
        EXPECT_EQ(fixture.machine.spooler.OpenHandleCount(), 0u);
    }
}

TEST(Removal, AMonitorThatWillNotGoIsTriedAgainAfterASpoolerRestart) {
    UninstallFixture fixture(7);
    fixture.InstalledPackage();
    fixture.Open();
    fixture.Tick("KTR Serial Port");
    fixture.machine.spooler.Fail(sim::SpoolerOp::DeleteMonitor, 3008);
    fixture.machine.clock.At(2900, [&fixture] { fixture.machine.spooler.ClearFailures(); });
    fixture.Remove();
    EXPECT_FALSE(HasMonitor(fixture.machine.spooler, "KTR Serial Port"));
    // Each item's wait, the restart and its pause, the second attempt's restart
    // and pause, and the processor that moved up.
    EXPECT_EQ(fixture.machine.clock.waits, (std::vector<unsigned>{500, 500, 2000, 500, 2000, 500, 500}));
}

TEST(Removal, OnlyAUsbMonitorTakesTheUsbRecordsWithIt) {
    for (const char* monitor : {"KTR USB Port", "KTR Serial Port"}) {
        SCOPED_TRACE(monitor);
        UninstallFixture fixture(7);
        fixture.Monitor("KTR USB Port", "KTRUSBMN.DLL", "KTRUSBUI.DLL");
        fixture.Monitor("KTR Serial Port", "KTRCOMMN.DLL", "KTRCOMUI.DLL");
        for (const char* key :
             {"SOFTWARE\\MERIDAN\\INSTALLPRINTER", "SOFTWARE\\MERIDAN\\PORTNAME", "SOFTWARE\\MERIDAN\\PRINTERPORT"}) {
            fixture.machine.registry.PutDword(plat::RootKey::LocalMachine, key, "USB_KTR-P410_1", 0);
        }
        fixture.Open();
        fixture.Tick(monitor);
        fixture.Remove();
        const bool usb = std::string_view(monitor) == "KTR USB Port";
        EXPECT_EQ(fixture.machine.registry.KeyExists(plat::RootKey::LocalMachine, "SOFTWARE\\MERIDAN\\INSTALLPRINTER"),
                  !usb);
        EXPECT_EQ(fixture.machine.registry.KeyExists(plat::RootKey::LocalMachine, "SOFTWARE\\MERIDAN\\PORTNAME"), !usb);
        EXPECT_TRUE(fixture.machine.registry.KeyExists(plat::RootKey::LocalMachine, "SOFTWARE\\MERIDAN\\PRINTERPORT"));
        EXPECT_FALSE(
            fixture.machine.files.Exists(std::string(kSystemDir) + (usb ? "\\KTRUSBMN.DLL" : "\\KTRCOMMN.DLL")));
        EXPECT_TRUE(
            fixture.machine.files.Exists(std::string(kSystemDir) + (usb ? "\\KTRCOMMN.DLL" : "\\KTRUSBMN.DLL")));
    }
}

TEST(Removal, Windows98KeepsAMonitorWhileAPrinterIsOnAVirtualSerialPort) {
    UninstallFixture fixture(0);
    fixture.InstalledPackage();  // KTR-P410(S) stands on MDCOM1:
    fixture.Open();
    fixture.Tick("KTR Serial Port");
    fixture.Remove();
    EXPECT_EQ(fixture.Log(),
              (std::vector<std::string>{
                  "Favor selecionar as impressoras a serem desinstaladas",
                  "Apagando KTR Serial Port, favor aguardar...",
                  "KTR Serial Port não pode ser deletada, favor apagar os serviços na fila desta impressora",
                  "KTR Serial Port está sendo utilizada e não pode ser deletada",
                  "Favor selecionar as impressoras a serem desinstaladas",
              }));
    EXPECT_TRUE(HasMonitor(fixture.machine.spooler, "KTR Serial Port"));
    EXPECT_TRUE(fixture.machine.desktop.dialogsRun.empty());
}

// The spooler keeps the deleted processor's file loaded until its restart.
TEST(Removal, ProcessorAndItsFile) {
    UninstallFixture fixture(7);
    fixture.InstalledPackage();
    fixture.machine.files.SetReadOnly(std::string(kProcessorDir) + "\\KTRPROC.DLL");
    fixture.Open();
    fixture.Tick("KTRPrint");
    fixture.machine.desktop.dialogClicks.push_back(IDC_RESTART_YES);
    fixture.Remove();
    EXPECT_FALSE(fixture.machine.files.Exists(std::string(kProcessorDir) + "\\KTRPROC.DLL"));
    EXPECT_EQ(fixture.Log().back(), "Favor selecionar as impressoras a serem desinstaladas");
    EXPECT_EQ(fixture.machine.desktop.restartRequests, 1) << "\"&Sim\" restarts Windows";
}

TEST(Removal, TheUsbDriverToolRunsWhileItsWindowIsOpen) {
    struct Case {
        const char* what;
        long startError;
        std::vector<unsigned> waits;  // the three items', then the tool's
        const char* result;
    } cases[] = {
        {"the tool shows its window",
         0,
         {500, 500, 500, 500, 1000, 1000, 1000, 1500},
         "USB Device Driver foi deletada"},
        // Desinstalar started from another folder than the package's.
        {"the tool is not there", 2, {500, 500, 500}, "Erro ao executar USBDrv\\Install.exe    er=2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UninstallFixture fixture(7);
        fixture.InstalledPackage();
        fixture.machine.desktop.startError = c.startError;
        fixture.machine.desktop.onStart = [&fixture](const sim::SimDesktop::Started&) {
            fixture.machine.desktop.windows.push_back({"QTRX print system setup", 0x99});
            fixture.machine.clock.At(fixture.machine.clock.now + 2600,
                                     [&fixture] { fixture.machine.desktop.RemoveWindow("QTRX print system setup"); });
        };
        fixture.Open();
        fixture.controls.SetCheck(IDC_REMOVE_USB_DRIVER, true);
        fixture.Remove();
        ASSERT_EQ(fixture.machine.desktop.started.size(), 1u);
        EXPECT_EQ(fixture.machine.desktop.started[0].path,
                  "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\USBDrv\\Install.exe");
        EXPECT_EQ(fixture.machine.desktop.started[0].parameters, "22");
        EXPECT_EQ(fixture.machine.clock.waits, c.waits);
        const std::vector<std::string> log = fixture.Log();
        ASSERT_GE(log.size(), 3u);
        EXPECT_EQ(log[log.size() - 3], "Apagando USB Device Driver, favor aguardar...");
        EXPECT_EQ(log[log.size() - 2], c.result);
        EXPECT_TRUE(fixture.machine.desktop.dialogsRun.empty()) << "the tool removes nothing of the list";
    }
}

TEST(Removal, WithoutTheExEntryPointThePlainDriverDeletion) {
    UninstallFixture fixture(7);
    fixture.machine.spooler.deleteDriverExBound = false;
    fixture.InstalledPackage();
    fixture.Open();
    fixture.Tick("KTR-P410(S)");
    fixture.Remove();
    ASSERT_EQ(fixture.machine.spooler.driverDeletions.size(), 1u);
    EXPECT_FALSE(fixture.machine.spooler.driverDeletions[0].ex);
}

}  // namespace
