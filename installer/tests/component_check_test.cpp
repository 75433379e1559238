// The package's monitors and print processor against what the machine
// already holds: installed fresh, left alone, or replaced once.
#include "core/component_check.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/printer_module.h"
#include "core/spooler_control.h"
#include "tests/install_fixture.h"
#include "text.h"

namespace {

using namespace setup;
using plat::RootKey;
using setup_test::InDir;
using setup_test::InstallFixture;
using setup_test::kProcessorDir;
using setup_test::kSystemDir;

const std::vector<std::string> kStopAndStart{"stop Spooler", "start Spooler"};

// A machine where the package's components were installed before, at the
// versions given (none: the component's key holds no version).
void Installed(InstallFixture& fixture, std::string_view key, std::optional<std::uint32_t> version) {
    fixture.machine.registry.PutString(RootKey::LocalMachine, key, "Driver", "old");
    if (version) fixture.machine.registry.PutDword(RootKey::LocalMachine, key, "DriverVersion", *version);
}
void ProcessorInstalled(InstallFixture& fixture, setup::OsCode target, std::uint32_t version) {
    fixture.machine.spooler.processors.push_back(
        {"KTRPrint", target == OsCode::kWin98Me ? "Windows 4.0" : "Windows NT x86", "KTRPROC.DLL"});
    Installed(fixture, ProcessorKey(target, "KTRPrint"), version);
}

bool Copied(const InstallFixture& fixture, std::string_view destination) {
    const auto& copies = fixture.machine.files.copies;
    return std::any_of(copies.begin(), copies.end(), [&](const auto& copy) {
        return plat::ToLowerAscii(copy.destination) == plat::ToLowerAscii(destination);
    });
}

TEST(ComponentCheck, AMonitorIsReplacedOnlyWhenItsVersionIsMissingOrLower) {
    struct Case {
        std::optional<std::uint32_t> installed;  // the serial monitor's DriverVersion; the package's is 3
        bool replaced;
    } cases[] = {{std::nullopt, true}, {0, true}, {2, true}, {3, false}, {4, false}, {0xFFFFFFFF, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.installed ? std::to_string(*c.installed) : "no version");
        InstallFixture fixture(OsCode::kWinXp);
        Installed(fixture, MonitorKey("KTR Serial Port"), c.installed);
        ProcessorInstalled(fixture, OsCode::kWinXp, 3);
        fixture.machine.spooler.monitors.push_back({"KTR Serial Port", "Windows NT x86", "KTRCOMMN.DLL"});
        fixture.Choose(kModuleReceipt, "KTR-P410", "MDCOM2:");
        ASSERT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
        EXPECT_EQ(Copied(fixture, InDir(kSystemDir, "KTRCOMMN.DLL")), c.replaced);
        EXPECT_EQ(fixture.machine.services.history, c.replaced ? kStopAndStart : std::vector<std::string>{});
        EXPECT_EQ(fixture.Dword(MonitorKey("KTR Serial Port"), "DriverVersion"),
                  c.replaced ? std::optional<std::uint32_t>(3) : c.installed);
        // A plain replacement names the plain file again, whatever an earlier
        // fallback copy left there.
        EXPECT_EQ(fixture.Text(MonitorKey("KTR Serial Port"), "Driver"), c.replaced ? "KTRCOMMN.DLL" : "old");
    }
}

TEST(ComponentCheck, OneReplacementPerInstallationInTheOrderComUsbProcessor) {
    struct Case {
        const char* what;
        setup::OsCode target;
        const char* port;
        const char* comMonitor;  // key of an outdated monitor, if any
        bool processorOutdated;
        const char* replacedFile;  // the one file copied over its old self
        std::optional<std::uint32_t> processorVersionAfter;
    } cases[] = {
        {"serial monitor before processor", OsCode::kWinXp, "MDCOM1:", "KTR Serial Port", true,
         "C:\\WINDOWS\\system32\\KTRCOMMN.DLL", 1},
        {"USB monitor before processor", OsCode::kWin7, "USB_KTR-P410_1", "KTR USB Port", true,
         "C:\\WINDOWS\\system32\\KTRUSBMN.DLL", 1},
        {"processor alone", OsCode::kWin7, "LPT1:", nullptr, true,
         "C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86\\KTRPROC.DLL", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFixture fixture(c.target);
        if (c.comMonitor) {
            Installed(fixture, MonitorKey(c.comMonitor), 1);
            fixture.machine.spooler.monitors.push_back({c.comMonitor, "Windows NT x86", "old.dll"});
        }
        ProcessorInstalled(fixture, c.target, c.processorOutdated ? 1 : 3);
        fixture.Choose(kModuleReceipt, "KTR-P410", c.port);
        ASSERT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
        EXPECT_TRUE(Copied(fixture, c.replacedFile));
        EXPECT_EQ(fixture.machine.services.history, kStopAndStart);
        EXPECT_EQ(fixture.Dword(ProcessorKey(c.target, "KTRPrint"), "DriverVersion"), c.processorVersionAfter);
    }
}

TEST(ComponentCheck, ServerTwoThousandEightTakesTheProcessorFromItsOwnFolder) {
    InstallFixture fixture(OsCode::kServer2008);
    ProcessorInstalled(fixture, OsCode::kServer2008, 2);
    fixture.Choose(kModuleReceipt, "KTR-P410", "LPT1:");
    ASSERT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
    const auto& copies = fixture.machine.files.copies;
    EXPECT_TRUE(std::any_of(copies.begin(), copies.end(), [](const auto& copy) {
        return copy.source ==
               "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\win2008\\KTRPROC.DLL";
    }));
}

TEST(ComponentCheck, AFileTheSpoolerHoldsGoesInUnderItsNName) {
    struct Case {
        const char* what;
        setup::OsCode target;
        const char* port;
        const char* monitor;
        const char* file;
        bool installedBefore;
    } cases[] = {
        {"serial monitor replaced", OsCode::kWinXp, "MDCOM1:", "KTR Serial Port", "KTRCOMMN.DLL", true},
        {"USB monitor replaced", OsCode::kWin7, "USB_KTR-P410_1", "KTR USB Port", "KTRUSBMN.DLL", true},
        {"language monitor replaced", OsCode::kWin7, "USB_KTR-P410_1", "KTR USB Language Monitor", "KTRLMON.DLL", true},
        {"serial monitor installed", OsCode::kWinXp, "MDCOM1:", "KTR Serial Port", "KTRCOMMN.DLL", false},
        {"USB monitor on Windows 98", OsCode::kWin98Me, "USB_KTR-P410_1", "KTR USB Port", "KTRUSB9X.DLL", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFixture fixture(c.target);
        fixture.machine.files.Write(InDir(kSystemDir, c.file), "loaded");
        fixture.machine.files.HoldOpen(InDir(kSystemDir, c.file));
        if (c.installedBefore) {
            Installed(fixture, MonitorKey(c.monitor), 0);
            fixture.machine.spooler.monitors.push_back({c.monitor, "", c.file});
        }
        fixture.Choose(kModuleReceipt, "KTR-P410", c.port);
        ASSERT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
        const std::string renamed = std::string("n") + c.file;
        EXPECT_TRUE(fixture.machine.files.Exists(InDir(kSystemDir, renamed)));
        EXPECT_EQ(fixture.machine.files.Read(InDir(kSystemDir, c.file)), "loaded") << "the old file stays";
        if (c.installedBefore) {
            EXPECT_EQ(fixture.Text(MonitorKey(c.monitor), "Driver"), renamed);
        } else {
            const auto& monitors = fixture.machine.spooler.monitors;
            ASSERT_EQ(monitors.size(), 1u);
            EXPECT_EQ(monitors[0].dllName, renamed);
        }
        EXPECT_NE(fixture.Dword(MonitorKey(c.monitor), "DriverVersion"), std::optional<std::uint32_t>(0));
    }
}

TEST(ComponentCheck, TheSpoolerIsGivenItsWaitsAroundAReplacement) {
    struct Case {
        setup::OsCode target;
        int pendingQueries;
        std::vector<unsigned> waits;
    } cases[] = {
        {OsCode::kNt4, 0, {100, 100, 500, 1000, 2500}},   {OsCode::kWin2000, 0, {100, 100, 500, 1000, 2500}},
        {OsCode::kWinXp, 0, {100, 100, 500, 2500, 2500}}, {OsCode::kServer2003, 2, {100, 100, 500, 2500, 300, 300, 2500}},
        {OsCode::kVista, 0, {100, 100, 500, 2500}},       {OsCode::kWin7, 1, {100, 100, 500, 300, 2500}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        InstallFixture fixture(c.target);
        ProcessorInstalled(fixture, c.target, 1);
        fixture.machine.services.pendingQueries = c.pendingQueries;
        fixture.Choose(kModuleReceipt, "KTR-P410", "LPT1:");
        ASSERT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
        EXPECT_EQ(fixture.machine.clock.waits, c.waits);
    }
}

TEST(ComponentCheck, AReplacementThatFailsStopsTheInstallationWithTheSpoolerRunning) {
    using Setup = std::function<void(InstallFixture&)>;
    struct Case {
        const char* what;
        Setup fail;
        std::string result;
        std::vector<std::string> history;
    } cases[] = {
        {"spooler never comes back",
         [](InstallFixture& f) { f.machine.services.startsButDies = true; },
         "StartSpoolService error",
         {"stop Spooler", "start Spooler"}},
        {"processor file cannot be copied", [](InstallFixture& f) { f.machine.files.FailCopy(3, "prtprocs"); },
         "Erro ao copiar arquivos de driversC:\\Documents and Settings\\João\\Área de Trabalho\\Driver "
         "Impressora\\winnt\\KTRPROC.DLL",
         kStopAndStart},
        {"processor directory unreadable",
         [](InstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::GetPrintProcessorDirectory, 5); },
         "Erro ao ler o diretório de processo de impressão",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFixture fixture(OsCode::kWinXp);
        ProcessorInstalled(fixture, OsCode::kWinXp, 1);
        fixture.Choose(kModuleReceipt, "KTR-P410", "LPT1:");
        c.fail(fixture);
        EXPECT_EQ(fixture.Install(), InstallProgress::kFailed);
        EXPECT_EQ(fixture.Result(), c.result);
        EXPECT_EQ(fixture.machine.services.history, c.history);
        if (!fixture.machine.services.startsButDies) {
            EXPECT_TRUE(fixture.machine.services.IsRunning("Spooler"));
        }
        EXPECT_TRUE(fixture.machine.spooler.drivers.empty()) << "nothing after the failing step";
    }
}

TEST(ComponentCheck, AMonitorHeldUnderBothNamesStopsTheInstallation) {
    InstallFixture fixture(OsCode::kWinXp);
    Installed(fixture, MonitorKey("KTR Serial Port"), 1);
    fixture.machine.spooler.monitors.push_back({"KTR Serial Port", "Windows NT x86", "KTRCOMMN.DLL"});
    for (const char* file : {"KTRCOMMN.DLL", "nKTRCOMMN.DLL"}) {
        fixture.machine.files.Write(InDir(kSystemDir, file), "loaded");
        fixture.machine.files.HoldOpen(InDir(kSystemDir, file));
    }
    fixture.Choose(kModuleReceipt, "KTR-P410", "MDCOM1:");
    EXPECT_EQ(fixture.Install(), InstallProgress::kFailed);
    EXPECT_EQ(fixture.Result(), "Erro Fatal, tente reiniciar o sistema");
    EXPECT_EQ(fixture.Dword(MonitorKey("KTR Serial Port"), "DriverVersion"), 1u) << "nothing was replaced";
    EXPECT_TRUE(fixture.machine.services.IsRunning("Spooler"));
    EXPECT_TRUE(fixture.machine.spooler.drivers.empty());
}

TEST(ComponentCheck, WindowsNinetyEightReplacesWithoutStoppingTheSpooler) {
    struct Case {
        const char* what;
        bool usbOutdated;
        bool heldTwice;
        const char* key;
        const char* driver;
        std::string result;
    } cases[] = {
        {"USB monitor", true, false, "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\KTR USB Port",
         "KTRUSB9X.DLL", ""},
        {"processor", false, false,
         "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows 4.0\\Print Processors\\KTRPrint",
         "KTRPROC.DLL", ""},
        {"USB monitor held under both names", true, true, nullptr, nullptr, "Erro Fatal, tente reiniciar o sistema"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFixture fixture(OsCode::kWin98Me);
        ProcessorInstalled(fixture, OsCode::kWin98Me, c.usbOutdated ? 3 : 0);
        Installed(fixture, MonitorKey("KTR USB Port"), c.usbOutdated ? 0 : 1);
        Installed(fixture, MonitorKey("KTR USB Language Monitor"), 1);
        if (c.heldTwice) {
            for (const char* file : {"KTRUSB9X.DLL", "nKTRUSB9X.DLL"}) {
                fixture.machine.files.Write(InDir(kSystemDir, file), "loaded");
                fixture.machine.files.HoldOpen(InDir(kSystemDir, file));
            }
        }
        fixture.Choose(kModuleReceipt, "KTR-P410", "USB_KTR-P410_1");
        const int state = fixture.Install();
        EXPECT_EQ(fixture.Result(), c.result);
        EXPECT_TRUE(fixture.machine.services.history.empty());
        if (c.heldTwice) {
            EXPECT_EQ(state, InstallProgress::kFailed);
            continue;
        }
        EXPECT_EQ(state, InstallProgress::kDone);
        EXPECT_EQ(fixture.Text(c.key, "Driver"), c.driver);
        EXPECT_EQ(fixture.Dword(c.key, "DriverVersion"), 1u + 2u * !c.usbOutdated);
    }
}

TEST(ComponentCheck, ComponentsThatArePresentOrNotNeededAreLeftAlone) {
    struct Case {
        const char* what;
        int module;
        const char* model;
        const char* port;
        bool processorPresent;
    } cases[] = {
        {"parallel port: no monitor", kModuleReceipt, "KTR-P410", "LPT3:", true},
        {"system's processor: no processor file", kModuleLabel, "KTR-L60", "LPT1:", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFixture fixture(OsCode::kWinXp);
        if (c.processorPresent) ProcessorInstalled(fixture, OsCode::kWinXp, 3);
        const std::size_t processors = fixture.machine.spooler.processors.size();
        fixture.Choose(c.module, c.model, c.port);
        ASSERT_EQ(fixture.Install(), InstallProgress::kDone) << fixture.Result();
        EXPECT_TRUE(fixture.machine.spooler.monitors.empty());
        EXPECT_EQ(fixture.machine.spooler.processors.size(), processors);
        EXPECT_FALSE(fixture.machine.files.Exists(InDir(kProcessorDir, "KTRPROC.DLL")) && !c.processorPresent);
        EXPECT_TRUE(fixture.machine.services.history.empty());
    }
}

}  // namespace
