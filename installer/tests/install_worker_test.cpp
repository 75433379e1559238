// The installation worker end to end on a simulated machine: what the
// spooler, the registry and the file tree hold after an installation, and
// where each failure stops it.
#include "core/install_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/component_check.h"
#include "core/printer_module.h"
#include "core/serial_port_settings.h"
#include "tests/install_fixture.h"

namespace {

using namespace setup;
using setup_test::InDir;
using setup_test::InstallFixture;
using setup_test::kDriverDir;
using setup_test::kSystemDir;

constexpr std::string_view kInstalled = "Driver de impressora instalado com sucesso";
constexpr std::string_view kInstalledUsb = "Driver de impressora instalado com sucesso\nFavor reiniciar a impressora";

const plat::DriverInfo3* DriverNamed(const sim::SimSpooler& spooler, std::string_view name) {
    for (const auto& driver : spooler.drivers) {
        if (driver.name == name) return &driver;
    }
    return nullptr;
}

bool HasMonitor(const sim::SimSpooler& spooler, std::string_view name) {
    return std::any_of(spooler.monitors.begin(), spooler.monitors.end(),
                       [&](const sim::SimMonitor& monitor) { return monitor.name == name; });
}

TEST(InstallWorker, InstallsThePrinterOfEachKindOfPort) {
    struct Case {
        const char* what;
        setup::OsCode target;
        int module;
        const char* model;
        const char* port;
        const char* printer;
        const char* driver;
        std::string_view result;
        std::vector<std::string> dependentFiles;
        std::vector<const char*> monitors;  // monitors the spooler holds afterwards
        std::vector<const char*> copied;    // files that must be in the driver directory
    } cases[] = {
        {"parallel port, Unidrv core driver",
         OsCode::kWinXp,
         kModuleReceipt,
         "KTR-P410",
         "LPT1:",
         "KTR-P410(P)",
         "KTR-P410 Receipt",
         kInstalled,
         {"KTRP410.GPD", "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD", "KTRRES.DLL", "7404VXUI.DLL", "KTRREND.DLL",
          "KTRREND.INI"},
         {},
         {"UNIDRVUI.DLL", "KTRP410.GPD", "UNIDRV.DLL", "UNIDRV.HLP", "KTRRES.DLL", "7404VXUI.DLL", "KTRREND.DLL",
          "KTRREND.INI", "3\\7404VXCONTROL.INI", "TTFSUB.GPD", "STDNAMES.GPD", "UNIRES.DLL"}},
        {"virtual serial port on Windows 7",
         OsCode::kWin7,
         kModuleReceipt,
         "KTR-P410",
         "MDCOM1:",
         "KTR-P410(S)",
         "KTR-P410 Receipt",
         kInstalled,
         {"KTRP410.GPD", "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD", "KTRRES.DLL", "7404VXUI.DLL", "KTRREND.DLL",
          "KTRREND.INI"},
         {"KTR Serial Port"},
         {"KTRP410.GPD"}},
        {"USB port with its language monitor",
         OsCode::kWin7,
         kModuleReceipt,
         "KTR-P410",
         "USB_KTR-P410_2",
         "KTR-P410(U) 2",
         "KTR-P410 Receipt",
         kInstalledUsb,
         {"KTRP410.GPD", "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD", "KTRRES.DLL", "7404VXUI.DLL", "KTRREND.DLL",
          "KTRREND.INI"},
         {"KTR USB Port", "KTR USB Language Monitor"},
         {"KTRP410.GPD"}},
        {"Server 2008: the files of .2008, the printer of .2003",
         OsCode::kServer2008,
         kModuleReceipt,
         "KTR-P410",
         "LPT1:",
         "KTR-P410(P)",
         "KTR-P410 Receipt",
         kInstalled,
         {"KTRP410_2008.GPD", "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD", "KTRRES2008.DLL", "7404VXUI.DLL",
          "KTRREND2008.DLL", "KTRREND2008.INI"},
         {},
         {"KTRP410_2008.GPD", "KTRRES2008.DLL", "KTRREND2008.DLL"}},
        {"no optional files, the system's processor",
         OsCode::kWinXp,
         kModuleLabel,
         "KTR-L60",
         "LPT2:",
         "KTR-L60(P)",
         "KTR-L60 Label",
         kInstalled,
         {},
         {},
         {"KTRL60.GPD", "KTRREND.DLL"}},
        {"Unidrv core files copied, none listed",
         OsCode::kWinXp,
         kModuleEmbedded,
         "KTR-E58",
         "LPT1:",
         "KTR-E58(P)",
         "KTR-E58 Embedded",
         kInstalled,
         {},
         {},
         {"KTRE58.GPD", "TTFSUB.GPD", "STDNAMES.GPD", "UNIRES.DLL"}},
        {"NT 4.0, whose driver directory has no version-3 folder yet",
         OsCode::kNt4,
         kModuleReceipt,
         "KTR-P410",
         "LPT1:",
         "KTR-P410(P)",
         "KTR-P410 Receipt",
         kInstalled,
         {},
         {},
         {"UNIDRVUI.DLL", "KTRP410.GPD", "3\\7404VXCONTROL.INI"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFixture fixture(c.target);
        fixture.Choose(c.module, c.model, c.port);
        ASSERT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
        EXPECT_EQ(fixture.Result(), c.result);

        const sim::SimSpooler& spooler = fixture.machine.spooler;
        const plat::PrinterInfo2* printer = spooler.Printer(c.printer);
        ASSERT_NE(printer, nullptr);
        EXPECT_EQ(printer->driverName, c.driver);
        EXPECT_EQ(printer->portName, c.port);
        EXPECT_EQ(printer->attributes, 576u);
        const plat::DriverInfo3* driver = DriverNamed(spooler, c.driver);
        ASSERT_NE(driver, nullptr);
        EXPECT_EQ(driver->cVersion, c.target == OsCode::kNt4 ? 2u : 3u);
        EXPECT_EQ(driver->dependentFiles, c.dependentFiles);
        for (const char* monitor : c.monitors) EXPECT_TRUE(HasMonitor(spooler, monitor)) << monitor;
        if (c.monitors.empty()) {
            EXPECT_TRUE(spooler.monitors.empty());
        }
        for (const char* file : c.copied) EXPECT_TRUE(fixture.machine.files.Exists(InDir(kDriverDir, file))) << file;
        // No component was outdated: the spooler ran throughout.
        EXPECT_TRUE(fixture.machine.services.history.empty());
        EXPECT_EQ(spooler.OpenHandleCount(), 0u);
        EXPECT_EQ(fixture.machine.registry.OpenHandleCount(), 0u);
    }
}

TEST(InstallWorker, UsbPrinterNamesItsLanguageMonitorAndMarksItsPort) {
    InstallFixture fixture(OsCode::kWin7);
    fixture.Choose(kModuleReceipt, "KTR-P410", "USB_KTR-P410_3");
    ASSERT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
    const plat::DriverInfo3* driver = DriverNamed(fixture.machine.spooler, "KTR-P410 Receipt");
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(driver->monitorName, std::optional<std::string>("KTR USB Language Monitor"));
    EXPECT_EQ(fixture.Dword("SOFTWARE\\MERIDAN\\PRINTERPORT\\", "USB_KTR-P410_3"), 0u);
    EXPECT_EQ(fixture.Dword(MonitorKey("KTR USB Port"), "DriverVersion"), 6u);
    EXPECT_EQ(fixture.Dword(MonitorKey("KTR USB Language Monitor"), "DriverVersion"), 3u);
    EXPECT_TRUE(fixture.machine.files.Exists(InDir(kSystemDir, "KTRUSBMN.DLL")));
    EXPECT_TRUE(fixture.machine.files.Exists(InDir(kSystemDir, "KTRUSBUI.DLL")));
    EXPECT_TRUE(fixture.machine.files.Exists(InDir(kSystemDir, "KTRLMON.DLL")));
    // The KTR-D9 family's printer stands on the port recorded for it.
    InstallFixture d9(OsCode::kWin7);
    d9.Choose(kModuleEmbedded, "KTR-D9", "USB_KTR-D9_4");
    ASSERT_EQ(d9.Install(), InstallProgress::kDone) << d9.Result();
    ASSERT_NE(d9.machine.spooler.Printer("KTR-D9(U) 4"), nullptr);
    EXPECT_EQ(d9.machine.spooler.Printer("KTR-D9(U) 4")->portName, "USB_KTR-D9_4");
}

TEST(InstallWorker, Windows98InstallsWithoutTheSpoolerStoppedAndLeavesTheResultToTheWizard) {
    InstallFixture fixture(OsCode::kWin98Me);
    fixture.Choose(kModuleReceipt, "KTR-P410", "LPT1:");
    ASSERT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
    EXPECT_EQ(fixture.Result(), "");
    const plat::DriverInfo3* driver = DriverNamed(fixture.machine.spooler, "KTR-P410 Receipt");
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(driver->cVersion, 0u);
    EXPECT_EQ(driver->environment, "Windows 4.0");
    EXPECT_TRUE(driver->dependentFiles.empty());
    for (const char* file : {"KTRP410.DRV", "UNIDRV.HLP", "7404VXUI.DLL", "ICONLIB.DLL", "DMCOLOR.DLL", "UNIDRV.DLL"}) {
        EXPECT_TRUE(fixture.machine.files.Exists(InDir(kDriverDir, file))) << file;
    }
    EXPECT_TRUE(fixture.machine.services.history.empty());
    EXPECT_EQ(fixture.Dword(ProcessorKey(OsCode::kWin98Me, "KTRPrint"), "DriverVersion"), 3u);
}

TEST(InstallWorker, Windows98TakesUnidrvFromTheSystemsBackupFirst) {
    InstallFixture fixture(OsCode::kWin98Me);
    fixture.machine.files.Write("C:\\WINDOWS\\Sysbckup\\UNIDRV.DLL", "the system's own");
    fixture.Choose(kModuleReceipt, "KTR-P410", "LPT1:");
    ASSERT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
    EXPECT_EQ(fixture.machine.files.Read(InDir(kSystemDir, "UNIDRV.DLL")), "the system's own");
    EXPECT_FALSE(fixture.machine.files.Exists(InDir(kDriverDir, "UNIDRV.DLL")));
}

// Each failure stops the worker with its message and touches nothing after
// its step; a second run once the cause is gone completes the installation.
TEST(InstallWorker, EachFailureStopsWithItsMessageAndASecondRunCompletes) {
    using Setup = std::function<void(InstallFixture&)>;
    struct Case {
        const char* what;
        const char* port;
        Setup fail;
        std::string result;
        bool driverAdded;
    } cases[] = {
        {"serial monitor refused",
         "MDCOM1:", [](InstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::AddMonitor, 5); },
         "Erro ao adicionar monitor Erro code is:5", false},
        {"print processor refused",
         "LPT1:", [](InstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::AddPrintProcessor, 87); },
         "Erro ao adicionar processo de impressão \n Erro fatal, reinicie o sistema", false},
        {"driver directory unreadable",
         "LPT1:", [](InstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::GetPrinterDriverDirectory, 5); },
         "Erro ao ler o diretório do driver de impressora", false},
        {"current directory unreadable: the processor file cannot be found",
         "LPT1:", [](InstallFixture& f) { f.machine.system.currentDirectoryError = 5; },
         "Erro ao adicionar processo de impressão \n Erro fatal, reinicie o sistema", false},
        {"data file copy", "LPT1:", [](InstallFixture& f) { f.machine.files.FailCopy(6, "KTRP410.GPD"); },
         "Erro ao copiar arquivos de driversKTRP410.GPD  er = 6C:\\Documents and Settings\\João\\Área de "
         "Trabalho\\Driver Impressora\\winnt\\KTRP410.GPD",
         false},
        {"control-font copy", "LPT1:", [](InstallFixture& f) { f.machine.files.FailCopy(112, "7404VXCONTROL"); },
         "Erro ao copiar arquivos de drivers7404VXCONTROL.INI  er = 112C:\\Documents and Settings\\João\\Área de "
         "Trabalho\\Driver Impressora\\winnt\\7404VXCONTROL.INI",
         false},
        {"control-font copy refused as in use while none is there",
         "LPT1:", [](InstallFixture& f) { f.machine.files.FailCopy(5, "7404VXCONTROL"); },
         "Erro ao copiar arquivos de drivers7404VXCONTROL.INI  er = 5C:\\Documents and Settings\\João\\Área de "
         "Trabalho\\Driver Impressora\\winnt\\7404VXCONTROL.INI",
         false},
        {"AddPrinterDriver",
         "LPT1:", [](InstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::AddPrinterDriver, 1797); },
         "Erro ao adicionar driver de impressora   er = 1797", false},
        {"AddPrinter", "MDCOM2:", [](InstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::AddPrinter, 5); },
         "Erro ao adicionar impressoraer = 5", true},
        {"USB ports cannot be listed", "USB_KTR-P410_1",
         [](InstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::EnumPorts, 1715); },
         "Erro ao enumerar portas er = 1715", false},
        {"no memory for the USB port list", "USB_KTR-P410_1",
         [](InstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::EnumPorts, 8); },
         "Instalador da Impressora não pôde alocar memória suficiente", false},
        {"language monitor refused", "USB_KTR-P410_1",
         [](InstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::AddMonitor, 1800, 1); },
         "Erro ao adicionar monitor Erro code is:1800", false},
        // An earlier run died with the spooler stopped for an update.
        {"spooler left stopped, and its start refused", "LPT1:",
         [](InstallFixture& f) {
             f.machine.services.Add(plat::kSpoolerService, plat::kServiceStopped);
             f.machine.services.Fail(sim::ServiceOp::Start, 1058);
         },
         "Erro ao iniciar o serviço de spool, código erro = 1058", false},
        {"spooler left stopped, and still loading after the polls", "LPT1:",
         [](InstallFixture& f) {
             f.machine.services.Add(plat::kSpoolerService, plat::kServiceStopped);
             f.machine.services.pendingQueries = 10;
         },
         "StartSpoolService error", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFixture fixture(OsCode::kWinXp);
        fixture.Choose(kModuleReceipt, "KTR-P410", c.port);
        c.fail(fixture);
        EXPECT_EQ(fixture.Install(), InstallProgress::kFailed);
        EXPECT_EQ(fixture.Result(), c.result);
        EXPECT_TRUE(fixture.machine.spooler.PrinterNames().empty());
        EXPECT_EQ(DriverNamed(fixture.machine.spooler, "KTR-P410 Receipt") != nullptr, c.driverAdded);
        EXPECT_FALSE(fixture.Text(kNtPortsKey, "COM2:").has_value()) << "serial settings of a failed install";
        EXPECT_EQ(fixture.machine.spooler.OpenHandleCount(), 0u);
        EXPECT_EQ(fixture.machine.registry.OpenHandleCount(), 0u);

        fixture.ClearFailures();
        EXPECT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
        EXPECT_EQ(fixture.machine.spooler.PrinterNames().size(), 1u);
    }
}

// Failures of steps whose outcome the installation does not depend on, and of
// the calls around a replacement: the result each one leaves.
TEST(InstallWorker, FailuresOfTheQuieterCalls) {
    using Setup = std::function<void(InstallFixture&)>;
    struct Case {
        const char* what;
        Setup fail;
        int state;
        std::string result;
    } cases[] = {
        {"version values cannot be written",
         [](InstallFixture& f) { f.machine.registry.Fail(sim::RegistryOp::SetValue, 5, "Print Processors"); },
         InstallProgress::kDone, std::string(kInstalled)},
        {"the spooler refuses to stop", [](InstallFixture& f) { f.machine.services.Fail(sim::ServiceOp::Stop, 5); },
         InstallProgress::kDone, std::string(kInstalled)},
        {"the spooler's state cannot be asked",
         [](InstallFixture& f) { f.machine.services.Fail(sim::ServiceOp::Query, 6); }, InstallProgress::kFailed,
         "StartSpoolService error"},
        {"the spooler cannot be started",
         [](InstallFixture& f) { f.machine.services.Fail(sim::ServiceOp::Start, 1058); }, InstallProgress::kFailed,
         "StartSpoolService error"},
        {"the default printer cannot be set",
         [](InstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::SetDefaultPrinter, 1801); },
         InstallProgress::kDone, std::string(kInstalled) + "\nNão foi possível definir a impressora padrão."},
        {"the serial settings cannot be written",
         [](InstallFixture& f) { f.machine.registry.Fail(sim::RegistryOp::SetValue, 5, "CurrentVersion\\Ports"); },
         InstallProgress::kDone,
         std::string(kInstalled) + "\nNão foi possível gravar as configurações da porta serial."},
        {"neither the default printer nor the serial settings",
         [](InstallFixture& f) {
             f.machine.spooler.Fail(sim::SpoolerOp::SetDefaultPrinter, 1801);
             f.machine.registry.Fail(sim::RegistryOp::OpenKey, 5, "CurrentVersion\\Ports");
         },
         InstallProgress::kDone,
         std::string(kInstalled) + "\nNão foi possível definir a impressora padrão.\nNão foi possível gravar as "
                                   "configurações da porta serial."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFixture fixture(OsCode::kWinXp);
        // An outdated processor makes the worker stop and start the spooler.
        fixture.machine.spooler.processors.push_back({"KTRPrint", "Windows NT x86", "KTRPROC.DLL"});
        fixture.machine.registry.PutDword(plat::RootKey::LocalMachine, ProcessorKey(OsCode::kWinXp, "KTRPrint"),
                                          "DriverVersion", 1);
        fixture.Choose(kModuleReceipt, "KTR-P410", "MDCOM3:");
        fixture.request.makeDefault = true;
        c.fail(fixture);
        EXPECT_EQ(fixture.Install(), c.state);
        EXPECT_EQ(fixture.Result(), c.result);
        EXPECT_EQ(fixture.machine.spooler.PrinterNames().empty(), c.state == InstallProgress::kFailed);
        EXPECT_EQ(fixture.machine.registry.OpenHandleCount(), 0u);
    }
}

// The control-font table is shared by every printer of the machine and
// edited by the shop: a second installation, from a newer package too, leaves
// it as it is and replaces the driver's other files.
TEST(InstallWorker, ASecondInstallationKeepsTheShopsControlFontTable) {
    InstallFixture fixture(OsCode::kWinXp);
    fixture.Choose(kModuleReceipt, "KTR-P410", "LPT1:");
    ASSERT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
    sim::SimFiles& files = fixture.machine.files;
    const std::string table = InDir(kDriverDir, "3\\7404VXCONTROL.INI");
    const std::string shops = "[Character Translation Table]\r\n41=1B 21 00 \r\n";
    files.Write(table, shops);
    files.SetReadOnly(table);
    const std::string package = std::string(setup_test::kPackageFolder) + "winnt\\";
    files.Write(package + "7404VXCONTROL.INI", "newer package's table");
    files.Write(package + "KTRP410.GPD", "newer package's data file");

    fixture.Choose(kModuleReceipt, "KTR-P410", "LPT2:");
    ASSERT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
    EXPECT_EQ(files.Read(table), shops);
    EXPECT_FALSE(files.IsReadOnly(table)) << "the plug-in must be able to save the table";
    EXPECT_EQ(files.Read(InDir(kDriverDir, "KTRP410.GPD")), "newer package's data file");
}

TEST(InstallWorker, CoreSlotsAndTheDataFileLibraryMustBeNamed) {
    struct Case {
        const char* what;
        const char* key;
    } cases[] = {
        {"configuration file", "STDConfigFile"},
        {"help file", "STDHelpFile"},
        {"data-file library of a Unidrv core driver", "STDDataFileDLLName"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFixture fixture(OsCode::kWinXp);
        fixture.Choose(kModuleReceipt, "KTR-P410", "LPT1:");
        if (std::string_view(c.key) == "STDDataFileDLLName") {
            fixture.request.descriptions.files.dataFileLibrary = "0";
        } else if (std::string_view(c.key) == "STDConfigFile") {
            fixture.request.descriptions.files.configFile = "";
        } else {
            fixture.request.descriptions.files.helpFile = "0";
        }
        EXPECT_EQ(fixture.Install(), InstallProgress::kFailed);
        EXPECT_EQ(fixture.Result(), "Perda de drivers, impossível continuar");
        EXPECT_EQ(DriverNamed(fixture.machine.spooler, "KTR-P410 Receipt"), nullptr);
    }
}

TEST(InstallWorker, WaitsOnlyWhatTheSpoolerNeeds) {
    struct Case {
        const char* what;
        bool spoolerStopped;
        std::vector<unsigned> waits;
    } cases[] = {
        // 100 ms at start, 200 ms after the processor was added.
        {"the spooler running", false, {100, 200}},
        // Started, and asked 300 ms apart until it runs (the third answer).
        {"the spooler left stopped", true, {100, 300, 300, 200}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFixture fixture(OsCode::kWinXp);
        if (c.spoolerStopped) {
            fixture.machine.services.Add(plat::kSpoolerService, plat::kServiceStopped);
            fixture.machine.services.pendingQueries = 2;
        }
        fixture.Choose(kModuleReceipt, "KTR-P410", "LPT1:");
        ASSERT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
        EXPECT_EQ(fixture.machine.clock.waits, c.waits);
        EXPECT_TRUE(fixture.machine.services.IsRunning(plat::kSpoolerService));
    }
}

}  // namespace
