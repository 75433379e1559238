// What the simulated machine adds to the contract: the spooler's checks when
// an installer registers drivers, printers, monitors and processors, file
// copies with their failures, the Spooler service, and win.ini writes. Tests of
// the installer rely on these answering as the platform does.
#include <gtest/gtest.h>

#include <functional>

#include "sim/sim_machine.h"

namespace {

using plat::RootKey;

constexpr const char* kDrivers = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\";

// A machine whose driver directory, system directory and processor directory
// hold the package's files, its driver added.
class SimMachineTest : public ::testing::Test {
public:
    void SetUp() override {
        for (const char* file : {"OLV.DLL", "OLV.GPD", "OLVUI.DLL", "OLV.HLP", "UNIRES.DLL"}) {
            m.files.Write(std::string(kDrivers) + file, "driver");
        }
        m.files.Write("C:\\WINDOWS\\system32\\OLVMON.DLL", "monitor");
        m.files.Write("C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86\\OLVPP.DLL", "processor");
        ASSERT_EQ(m.spooler.AddPrinterDriver(Driver()), 0);
    }
    static plat::DriverInfo3 Driver() {
        plat::DriverInfo3 d;
        d.cVersion = 3;
        d.name = "OLVEN Receipt";
        d.driverPath = "OLV.DLL";
        d.dataFile = "OLV.GPD";
        d.configFile = "OLVUI.DLL";
        d.helpFile = "OLV.HLP";
        d.dependentFiles = {"OLV.GPD", "UNIRES.DLL"};
        return d;
    }
    static plat::PrinterInfo2 Printer() { return {"Recibo", "LPT1:", "OLVEN Receipt", "WinPrint", 0, {}, 0}; }
    long Add(const plat::PrinterInfo2& info) {
        plat::PrinterHandle handle = 0;
        const long error = m.spooler.AddPrinter(info, &handle);
        if (error == 0) {
            EXPECT_EQ(m.spooler.ClosePrinter(handle), 0);
        }
        return error;
    }
    sim::SimMachine m;
};

struct AdminRow {
    const char* name;
    std::function<long(SimMachineTest&)> call;
    long error;
};

class SpoolerAdminRows : public SimMachineTest, public ::testing::WithParamInterface<AdminRow> {};

template <typename Edit>
plat::PrinterInfo2 PrinterWith(Edit edit) {
    plat::PrinterInfo2 p{"Recibo", "LPT1:", "OLVEN Receipt", "WinPrint", 0, {}, 0};
    edit(p);
    return p;
}
template <typename Edit>
plat::DriverInfo3 DriverWith(plat::DriverInfo3 d, Edit edit) {
    edit(d);
    return d;
}
using T = SimMachineTest;

const AdminRow kAdminRows[] = {
    {"DriverHelpFileMissing",
     [](T& t) { return t.m.spooler.AddPrinterDriver(DriverWith(T::Driver(), [](auto& d) { d.helpFile = "X.HLP"; })); },
     2},
    {"DriverDependentFileMissing",
     [](T& t) {
         return t.m.spooler.AddPrinterDriver(
             DriverWith(T::Driver(), [](auto& d) { d.dependentFiles.push_back("STDNAMES.GPD"); }));
     },
     2},
    {"DriverUnknownEnvironment",
     [](T& t) {
         return t.m.spooler.AddPrinterDriver(DriverWith(T::Driver(), [](auto& d) { d.environment = "Windows 3.1"; }));
     },
     1805},
    {"PrinterAdded", [](T& t) { return t.Add(T::Printer()); }, 0},
    {"PrinterNameTakenInOtherCase",
     [](T& t) {
         t.Add(T::Printer());
         return t.Add(PrinterWith([](auto& p) { p.printerName = "RECIBO"; }));
     },
     1802},
    {"PrinterNameWithComma", [](T& t) { return t.Add(PrinterWith([](auto& p) { p.printerName = "Re,cibo"; })); }, 1801},
    {"PrinterUnknownDriver", [](T& t) { return t.Add(PrinterWith([](auto& p) { p.driverName = "Outro"; })); }, 1797},
    {"PrinterDriverOnlyForWindows98",
     [](T& t) {
         EXPECT_EQ(t.m.spooler.AddPrinterDriver(DriverWith(T::Driver(),
                                                           [](auto& d) {
                                                               d.name = "Antigo";
                                                               d.environment = std::string(plat::kEnvironmentWin9x);
                                                           })),
                   0);
         return t.Add(PrinterWith([](auto& p) { p.driverName = "Antigo"; }));
     },
     1797},
    {"PrinterUnknownPort", [](T& t) { return t.Add(PrinterWith([](auto& p) { p.portName = "USB_KTR-D9_1"; })); }, 1796},
    {"PrinterUnknownProcessor", [](T& t) { return t.Add(PrinterWith([](auto& p) { p.printProcessor = "OLVPP"; })); },
     1798},
    {"MonitorAdded", [](T& t) { return t.m.spooler.AddMonitor("OLV Port", "", "OLVMON.DLL"); }, 0},
    {"MonitorNameTaken",
     [](T& t) {
         (void)t.m.spooler.AddMonitor("OLV Port", "", "OLVMON.DLL");
         return t.m.spooler.AddMonitor("olv port", "", "OLVMON.DLL");
     },
     3006},
    {"MonitorDllMissing", [](T& t) { return t.m.spooler.AddMonitor("OLV Port", "", "nOLVMON.DLL"); }, 126},
    {"ProcessorAdded", [](T& t) { return t.m.spooler.AddPrintProcessor("", "OLVPP.DLL", "OLVPP"); }, 0},
    {"ProcessorNameTakenInItsEnvironment",
     [](T& t) { return t.m.spooler.AddPrintProcessor("Windows NT x86", "OLVPP.DLL", "winprint"); }, 3005},
    {"ProcessorFileMissing", [](T& t) { return t.m.spooler.AddPrintProcessor("", "WINPRINT.DLL", "OLVPP"); }, 2},
    {"SpoolerDownFailsAdministration",
     [](T& t) {
         (void)t.m.services.StopService("Spooler");
         return t.m.spooler.AddMonitor("OLV Port", "", "OLVMON.DLL");
     },
     1722},
    {"SpoolerStillLoadingFailsOpen",
     [](T& t) {
         t.m.services.pendingQueries = 1;
         (void)t.m.services.StopService("Spooler");
         (void)t.m.services.StartService("Spooler");
         plat::PrinterHandle h = 0;
         return t.m.spooler.OpenPrinter("Recibo", &h);
     },
     1722},
    {"SpoolerDownStillChecksTheHandleFirst",
     [](T& t) {
         (void)t.m.services.StopService("Spooler");
         return t.m.spooler.ClosePrinter(0x9999);
     },
     6},
    {"InjectedFailureAfterOneCall",
     [](T& t) {
         t.m.spooler.Fail(sim::SpoolerOp::AddPrinter, 5, 1);
         EXPECT_EQ(t.Add(T::Printer()), 0);
         return t.Add(PrinterWith([](auto& p) { p.printerName = "Outra"; }));
     },
     5},
    {"OpenAllAccessUnknownPrinter",
     [](T& t) {
         plat::PrinterHandle h = 0;
         return t.m.spooler.OpenPrinterAllAccess("Nenhuma", &h);
     },
     1801},
    {"DeletePrinterNeedsAllAccess",
     [](T& t) {
         t.Add(T::Printer());
         plat::PrinterHandle h = 0;
         EXPECT_EQ(t.m.spooler.OpenPrinter("Recibo", &h), 0);
         const long error = t.m.spooler.DeletePrinter(h);
         (void)t.m.spooler.ClosePrinter(h);
         return error;
     },
     5},
    {"HandleOfADeletedPrinterDoesNotReachItsSuccessor",
     [](T& t) {
         t.Add(T::Printer());
         plat::PrinterHandle h = 0;
         EXPECT_EQ(t.m.spooler.OpenPrinterAllAccess("Recibo", &h), 0);
         EXPECT_EQ(t.m.spooler.DeletePrinter(h), 0);
         EXPECT_EQ(t.Add(T::Printer()), 0);
         plat::PrinterInfo2 info;
         const long error = t.m.spooler.GetPrinter(h, &info);
         EXPECT_EQ(t.m.spooler.ClosePrinter(h), 0);
         return error;
     },
     1905},
    {"DriverUsedByAPrinter",
     [](T& t) {
         t.Add(T::Printer());
         return t.m.spooler.DeletePrinterDriver("", "olven receipt");
     },
     3001},
    {"DriverUnknown", [](T& t) { return t.m.spooler.DeletePrinterDriver("", "Outro"); }, 1797},
    {"DriverOnlyForWindows98",
     [](T& t) {
         t.m.spooler.drivers[0].environment = std::string(plat::kEnvironmentWin9x);
         return t.m.spooler.DeletePrinterDriver("", "OLVEN Receipt");
     },
     1797},
    {"DriverOfAnotherServer", [](T& t) { return t.m.spooler.DeletePrinterDriver("\\\\OUTRA", "OLVEN Receipt"); }, 1801},
    {"DriverExNeverBound",
     [](T& t) { return t.m.spooler.DeletePrinterDriverEx("", "OLVEN Receipt", plat::kDeleteUnusedFiles, 0); }, 127},
    {"DriverExMissingFromWinspool",
     [](T& t) {
         t.m.spooler.deleteDriverExBound = false;
         bool bound = true;
         EXPECT_EQ(t.m.spooler.BindDeletePrinterDriverEx(&bound), 0);
         EXPECT_FALSE(bound);
         return t.m.spooler.DeletePrinterDriverEx("", "OLVEN Receipt", plat::kDeleteUnusedFiles, 0);
     },
     127},
    {"BindWithoutWinspool",
     [](T& t) {
         t.m.spooler.winspoolLoads = false;
         bool bound = false;
         return t.m.spooler.BindDeletePrinterDriverEx(&bound);
     },
     126},
    {"BindNeedsNoSpooler",
     [](T& t) {
         (void)t.m.services.StopService("Spooler");
         bool bound = false;
         const long error = t.m.spooler.BindDeletePrinterDriverEx(&bound);
         EXPECT_TRUE(bound);
         return error;
     },
     0},
    {"DriverExWhileSpoolerDown",
     [](T& t) {
         bool bound = false;
         EXPECT_EQ(t.m.spooler.BindDeletePrinterDriverEx(&bound), 0);
         (void)t.m.services.StopService("Spooler");
         return t.m.spooler.DeletePrinterDriverEx("", "OLVEN Receipt", plat::kDeleteUnusedFiles, 0);
     },
     1722},
    {"MonitorUnknown", [](T& t) { return t.m.spooler.DeleteMonitor("OLV Port"); }, 3000},
    {"InjectedMonitorDeletionAfterOneCall",
     [](T& t) {
         t.m.spooler.Fail(sim::SpoolerOp::DeleteMonitor, 3008, 1);
         EXPECT_EQ(t.m.spooler.AddMonitor("OLV Port", "", "OLVMON.DLL"), 0);
         EXPECT_EQ(t.m.spooler.AddMonitor("OLV USB", "", "OLVMON.DLL"), 0);
         EXPECT_EQ(t.m.spooler.DeleteMonitor("OLV Port"), 0);
         return t.m.spooler.DeleteMonitor("OLV USB");
     },
     3008},
    {"ProcessorOnlyForWindows98",
     [](T& t) {
         EXPECT_EQ(t.m.spooler.AddPrintProcessor(plat::kEnvironmentWin9x, "OLVPP.DLL", "OLVPP"), 0);
         return t.m.spooler.DeletePrintProcessor("OLVPP");
     },
     1798},
    {"ProcessorUsedByAPrinter",
     [](T& t) {
         t.Add(T::Printer());
         return t.m.spooler.DeletePrintProcessor("winprint");
     },
     1003},
    {"ProcessorsOfAnUnknownEnvironment",
     [](T& t) {
         std::vector<std::string> names;
         return t.m.spooler.EnumPrintProcessorNames("Windows 3.1", &names);
     },
     1805},
};

TEST_P(SpoolerAdminRows, AnswersWithThePlatformsCode) {
    EXPECT_EQ(GetParam().call(*this), GetParam().error);
    EXPECT_EQ(m.spooler.OpenHandleCount(), 0u);
}
INSTANTIATE_TEST_SUITE_P(Sim, SpoolerAdminRows, ::testing::ValuesIn(kAdminRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimMachineTest, AddedThingsAreWhereTheInstallerLooksForThem) {
    plat::PrinterHandle handle = 0;
    ASSERT_EQ(m.spooler.AddPrinter(Printer(), &handle), 0);
    EXPECT_EQ(m.spooler.OpenHandleCount(), 1u) << "AddPrinter's handle stays open until closed";
    ASSERT_EQ(m.spooler.SetPrinterAttributes(handle, plat::kPrinterAttributeDefault), 0);
    plat::PrinterInfo2 info;
    ASSERT_EQ(m.spooler.GetPrinter(handle, &info), 0);
    EXPECT_EQ(info.portName, "LPT1:");
    EXPECT_EQ(info.attributes, plat::kPrinterAttributeDefault);
    EXPECT_EQ(m.spooler.defaultPrinter, "Recibo");
    EXPECT_EQ(m.spooler.ClosePrinter(handle), 0);
    EXPECT_EQ(m.spooler.SetDefaultPrinter("Nenhuma"), 1801);

    ASSERT_EQ(m.spooler.AddPrinterDriver(DriverWith(Driver(), [](auto& d) { d.helpFile.clear(); })), 0);
    ASSERT_EQ(m.spooler.drivers.size(), 1u) << "a driver of the same name and environment is replaced";
    EXPECT_EQ(m.spooler.drivers[0].environment, "Windows NT x86");

    ASSERT_EQ(m.spooler.AddMonitor("OLV Port", "", "OLVMON.DLL"), 0);
    ASSERT_EQ(m.spooler.AddPrintProcessor("", "OLVPP.DLL", "OLVPP"), 0);
    auto text = [](std::optional<plat::RegistryValue> v) {
        return v ? std::string(v->data.begin(), v->data.end()) : "(none)";
    };
    EXPECT_EQ(text(m.registry.Value(RootKey::LocalMachine,
                                    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\OLV Port", "Driver")),
              std::string("OLVMON.DLL", 11));
    EXPECT_EQ(text(m.registry.Value(
                  RootKey::LocalMachine,
                  "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print Processors\\OLVPP",
                  "Driver")),
              std::string("OLVPP.DLL", 10));
}

TEST_F(SimMachineTest, RemovedThingsAreGoneWithTheirKeys) {
    using Names = std::vector<std::string>;
    m.spooler.PutPrinter("Zeta");
    ASSERT_EQ(Add(Printer()), 0);
    m.spooler.PutPrinter("Alfa");
    Names names;
    ASSERT_EQ(m.spooler.EnumPrinterNames(&names), 0);
    EXPECT_EQ(names, (Names{"Zeta", "Recibo", "Alfa"})) << "in the order they were added";

    plat::PrinterHandle handle = 0;
    ASSERT_EQ(m.spooler.OpenPrinterAllAccess("recibo", &handle), 0);
    m.spooler.QueueJobs("Recibo", 2);
    std::uint32_t job = 0;
    ASSERT_EQ(m.spooler.StartDocPrinter(handle, "Teste", "RAW", &job), 0);
    plat::PrinterInfo2 info;
    info.serverName = "\\\\OUTRA";
    ASSERT_EQ(m.spooler.GetPrinter(handle, &info), 0);
    EXPECT_EQ(info.jobs, 3u) << "two waiting and one being written";
    EXPECT_EQ(info.serverName, "") << "the local server";
    ASSERT_EQ(m.spooler.EndDocPrinter(handle), 0);
    ASSERT_EQ(m.spooler.GetPrinter(handle, &info), 0);
    EXPECT_EQ(info.jobs, 2u);

    ASSERT_EQ(m.spooler.SetDefaultPrinter("Recibo"), 0);
    ASSERT_EQ(m.spooler.DeletePrinter(handle), 0);
    EXPECT_EQ(m.spooler.Printer("Recibo"), nullptr);
    EXPECT_EQ(m.spooler.defaultPrinter, "") << "no default printer that is gone";
    EXPECT_EQ(m.spooler.DeletePrinter(handle), 1905);
    EXPECT_EQ(m.spooler.ClosePrinter(handle), 0) << "the handle outlives its printer";

    bool bound = false;
    ASSERT_EQ(m.spooler.BindDeletePrinterDriverEx(&bound), 0);
    ASSERT_TRUE(bound);
    ASSERT_EQ(m.spooler.DeletePrinterDriverEx("", "olven receipt", plat::kDeleteUnusedFiles, 0), 0);
    EXPECT_TRUE(m.spooler.drivers.empty());
    ASSERT_EQ(m.spooler.driverDeletions.size(), 1u);
    EXPECT_TRUE(m.spooler.driverDeletions[0].ex);
    EXPECT_EQ(m.spooler.driverDeletions[0].flags, plat::kDeleteUnusedFiles);

    const std::string monitorKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\OLV Port";
    const std::string processorKey =
        "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print Processors\\OLVPP";
    ASSERT_EQ(m.spooler.AddMonitor("OLV Port", "", "OLVMON.DLL"), 0);
    m.registry.PutString(RootKey::LocalMachine, monitorKey + "\\Ports", "OLV1:", "");
    ASSERT_EQ(m.spooler.AddPrintProcessor("", "OLVPP.DLL", "OLVPP"), 0);
    ASSERT_EQ(m.spooler.EnumMonitorNames(&names), 0);
    EXPECT_EQ(names, Names{"OLV Port"});
    ASSERT_EQ(m.spooler.EnumPrintProcessorNames("", &names), 0);
    EXPECT_EQ(names, (Names{"WinPrint", "OLVPP"}));
    ASSERT_EQ(m.spooler.EnumPrintProcessorNames(plat::kEnvironmentWin9x, &names), 0);
    EXPECT_EQ(names, Names{"WinPrint"});

    ASSERT_EQ(m.spooler.DeleteMonitor("olv port"), 0);
    ASSERT_EQ(m.spooler.DeletePrintProcessor("olvpp"), 0);
    EXPECT_FALSE(m.registry.KeyExists(RootKey::LocalMachine, monitorKey)) << "with the keys below it";
    EXPECT_FALSE(m.registry.KeyExists(RootKey::LocalMachine, processorKey));
    ASSERT_EQ(m.spooler.EnumMonitorNames(&names), 0);
    EXPECT_TRUE(names.empty());
    ASSERT_EQ(m.spooler.EnumPrintProcessorNames("", &names), 0);
    EXPECT_EQ(names, Names{"WinPrint"});
}

TEST(SimControls, CheckBoxesStayBesideTheirItems) {
    using Items = std::vector<std::string>;
    constexpr int kList = 1010;
    sim::SimControls c;
    c.controls[kList].sorted = true;
    c.AddItem(kList, "Monitor");
    c.AddItem(kList, "Impressora");
    c.CheckItem(kList, 1, true);
    ASSERT_EQ(c.AddItem(kList, "Jato"), 1);
    EXPECT_EQ(c.Get(kList).itemChecks, (std::vector<bool>{false, false, true})) << "Monitor moved down with its tick";

    c.Select(kList, 2);
    c.DeleteItem(kList, 0);
    EXPECT_EQ(c.Get(kList).items, (Items{"Jato", "Monitor"}));
    EXPECT_TRUE(c.IsItemChecked(kList, 1));
    EXPECT_EQ(c.Selection(kList), 1) << "the selection moves up with its item";
    c.DeleteItem(kList, 1);
    EXPECT_EQ(c.Selection(kList), -1) << "a deleted item takes its selection along";

    for (int outside : {-2, 1, 5}) {
        c.CheckItem(kList, outside, true);
        c.DeleteItem(kList, outside);
        EXPECT_FALSE(c.IsItemChecked(kList, outside)) << outside;
    }
    EXPECT_EQ(c.Get(kList).items, Items{"Jato"});
    EXPECT_FALSE(c.IsItemChecked(kList, 0));

    c.AddItem(kList, "Processador");
    c.CheckItem(kList, -1, true);
    EXPECT_TRUE(c.IsItemChecked(kList, 0) && c.IsItemChecked(kList, 1)) << "-1 stands for every item";
    c.ClearItems(kList);
    c.AddItem(kList, "Nova");
    EXPECT_FALSE(c.IsItemChecked(kList, 0)) << "no tick left over from a cleared list";
}

struct CopyRow {
    const char* name;
    std::function<void(sim::SimFiles&)> setUp;
    const char* destination;
    bool failIfExists;
    long error;
};

const CopyRow kCopyRows[] = {
    {"Copies", {}, "C:\\WINDOWS\\system32\\OLV.DLL", false, 0},
    {"OverwritesByDefault", [](auto& f) { f.Write("C:\\WINDOWS\\system32\\OLV.DLL", "old"); },
     "C:\\WINDOWS\\system32\\OLV.DLL", false, 0},
    {"KeepsAnExistingFileWhenAsked", [](auto& f) { f.Write("C:\\WINDOWS\\system32\\OLV.DLL", "old"); },
     "C:\\WINDOWS\\system32\\OLV.DLL", true, 80},
    {"MissingSource", [](auto& f) { f.Remove("C:\\Pacote\\win7\\OLV.DLL"); }, "C:\\WINDOWS\\system32\\OLV.DLL", false,
     2},
    {"MissingFolder", {}, "C:\\WINDOWS\\naoexiste\\OLV.DLL", false, 3},
    {"FolderOnlyMade", [](auto& f) { f.MakeFolder("D:\\Vazia\\"); }, "d:/vazia/OLV.DLL", false, 0},
    {"OntoItself", {}, "c:\\pacote\\WIN7\\olv.dll", false, 32},
    {"HeldOpen", [](auto& f) { f.HoldOpen("C:\\WINDOWS\\system32\\OLV.DLL"); }, "C:\\WINDOWS\\system32\\OLV.DLL", false,
     32},
    {"HeldBySpooler", [](auto& f) { f.HoldOpen("C:\\WINDOWS\\system32\\OLV.DLL", 5); },
     "C:\\WINDOWS\\system32\\OLV.DLL", false, 5},
    {"Released",
     [](auto& f) {
         f.HoldOpen("C:\\WINDOWS\\system32\\OLV.DLL");
         f.Release("c:\\windows\\system32\\olv.dll");
     },
     "C:\\WINDOWS\\system32\\OLV.DLL", false, 0},
    {"InjectedAfterOneMatchingCopy",
     [](auto& f) {
         f.FailCopy(112, "SYSTEM32", 1);
         EXPECT_EQ(f.CopyFile("C:\\Pacote\\win7\\OLV.DLL", "C:\\WINDOWS\\OLV.DLL", false), 0) << "not matching";
         EXPECT_EQ(f.CopyFile("C:\\Pacote\\win7\\OLV.DLL", "C:\\WINDOWS\\system32\\A.DLL", false), 0) << "first";
         f.copies.clear();
     },
     "C:\\WINDOWS\\system32\\OLV.DLL", false, 112},
    {"ReadOnlyDestinationIsNotOverwritten",
     [](auto& f) {
         f.Write("C:\\WINDOWS\\system32\\OLV.DLL", "old");
         f.SetReadOnly("C:\\WINDOWS\\system32\\OLV.DLL");
     },
     "C:\\WINDOWS\\system32\\OLV.DLL", false, 5},
    {"ReadOnlySourceMakesAReadOnlyCopy", [](auto& f) { f.SetReadOnly("C:\\Pacote\\win7\\OLV.DLL"); },
     "C:\\WINDOWS\\system32\\OLV.DLL", false, 0},
    {"AccentedFolderOfAnyCase", [](auto& f) { f.MakeFolder("C:\\Área de Trabalho"); }, "c:\\ÁREA DE TRABALHO\\OLV.DLL",
     false, 0},
};

class CopyRows : public ::testing::TestWithParam<CopyRow> {};

TEST_P(CopyRows, CopiesOrChangesNothing) {
    const CopyRow& row = GetParam();
    sim::SimMachine m;
    m.files.Write("C:\\Pacote\\win7\\OLV.DLL", "new");
    m.files.SetVersion("C:\\Pacote\\win7\\OLV.DLL", "3.0.0.1");
    if (row.setUp) row.setUp(m.files);
    const auto before = m.files.Read(row.destination);

    EXPECT_EQ(m.files.CopyFile("C:\\Pacote\\win7\\OLV.DLL", row.destination, row.failIfExists), row.error);
    if (row.error == 0) {
        EXPECT_EQ(m.files.Read(row.destination), "new");
        EXPECT_EQ(m.files.VersionText(row.destination), "3.0.0.1");
        EXPECT_EQ(m.files.IsReadOnly(row.destination), m.files.IsReadOnly("C:\\Pacote\\win7\\OLV.DLL"));
        ASSERT_EQ(m.files.copies.size(), 1u);
    } else {
        EXPECT_EQ(m.files.Read(row.destination), before);
        EXPECT_TRUE(m.files.copies.empty());
    }
}
INSTANTIATE_TEST_SUITE_P(Sim, CopyRows, ::testing::ValuesIn(kCopyRows),
                         [](const auto& info) { return std::string(info.param.name); });

struct DeleteRow {
    const char* name;
    std::function<void(sim::SimFiles&)> setUp;
    const char* path;
    long error;
};

const DeleteRow kDeleteRows[] = {
    {"Deletes", {}, "c:/pacote/WIN7/olv.dll", 0},
    {"MissingFile", {}, "C:\\Pacote\\win7\\OUTRO.DLL", 2},
    {"MissingFolder", {}, "C:\\Pacote\\nada\\OLV.DLL", 3},
    {"FolderIsNoFile", {}, "C:\\Pacote\\win7", 5},
    {"HeldOpen", [](auto& f) { f.HoldOpen("C:\\Pacote\\win7\\OLV.DLL", 5); }, "C:\\Pacote\\win7\\OLV.DLL", 5},
    {"ReadOnly", [](auto& f) { f.SetReadOnly("C:\\Pacote\\win7\\OLV.DLL"); }, "C:\\Pacote\\win7\\OLV.DLL", 5},
    {"ReadOnlyMadeWritable",
     [](auto& f) {
         f.SetReadOnly("C:\\Pacote\\win7\\OLV.DLL");
         EXPECT_TRUE(f.SetArchiveAttribute("C:\\Pacote\\win7\\OLV.DLL"));
     },
     "C:\\Pacote\\win7\\OLV.DLL", 0},
};

class DeleteRows : public ::testing::TestWithParam<DeleteRow> {};

TEST_P(DeleteRows, DeletesOrChangesNothing) {
    const DeleteRow& row = GetParam();
    sim::SimMachine m;
    m.files.Write("C:\\Pacote\\win7\\OLV.DLL", "x");
    m.files.SetVersion("C:\\Pacote\\win7\\OLV.DLL", "3.0.0.1");
    if (row.setUp) row.setUp(m.files);
    const bool before = m.files.FileExists(row.path);

    EXPECT_EQ(m.files.DeleteFile(row.path), row.error);
    EXPECT_EQ(m.files.FileExists(row.path), row.error != 0 && before);
    if (row.error == 0) {
        m.files.Write(row.path, "y");
        EXPECT_EQ(m.files.VersionText(row.path), std::nullopt) << "the version went with the file";
    }
}
INSTANTIATE_TEST_SUITE_P(Sim, DeleteRows, ::testing::ValuesIn(kDeleteRows),
                         [](const auto& info) { return std::string(info.param.name); });

struct ListRow {
    const char* name;
    const char* folder;
    long error;
    std::vector<std::string> names;
};

const ListRow kListRows[] = {
    {"EntriesByNameWithoutCase",
     "C:\\Pacote",
     0,
     {".", "..", "a.txt", "DRVCONFIG", "Setup.exe", "Uninstall_EN.CHM", "USBDrv"}},
    {"TrailingBackslashAndOtherCase", "c:/pacote/drvconfig\\", 0, {".", "..", "setup.ini", "Uninstall.ini"}},
    {"MadeFolderWithAFileWrittenInOtherCase", "C:\\Pacote\\USBDrv", 0, {".", "..", "Install.exe"}},
    {"EmptyMadeFolder", "C:\\Vazia", 0, {".", ".."}},
    {"DriveRootHasNoDots", "C:\\", 0, {"Pacote", "Vazia", "WINDOWS", "Área de Trabalho"}},
    // Names as the ANSI code page holds them: accented capitals fold too.
    {"AccentedNamesWithoutCase", "c:\\ÁREA DE TRABALHO", 0, {".", "..", "Impressão.txt"}},
    {"MissingFolder", "C:\\Pacote\\nada", 3, {"sentinel"}},
    {"FileIsNoFolder", "C:\\Pacote\\Setup.exe", 3, {"sentinel"}},
    {"EmptyDrive", "D:", 2, {"sentinel"}},
};

class ListRows : public ::testing::TestWithParam<ListRow> {};

TEST_P(ListRows, ListsWhatIsDirectlyInside) {
    const ListRow& row = GetParam();
    sim::SimMachine m;
    m.files.Write("C:\\Pacote\\Setup.exe", "x");
    m.files.Write("c:\\pacote\\SETUP.EXE", "y");  // written over: the name stays
    m.files.Write("C:\\Pacote\\DRVCONFIG\\Uninstall.ini", "x");
    m.files.Write("C:\\Pacote\\DRVCONFIG\\SETUP.INI", "x");
    ASSERT_EQ(m.files.DeleteFile("C:\\Pacote\\DRVCONFIG\\SETUP.INI"), 0);
    m.files.Write("C:\\Pacote\\DRVCONFIG\\setup.ini", "x");  // a new file: its own name
    m.files.Write("C:\\Pacote\\a.txt", "x");
    m.files.Write("C:\\Pacote\\Uninstall_EN.CHM", "x");
    m.files.MakeFolder("C:\\Pacote\\USBDrv\\");
    m.files.Write("C:\\PACOTE\\USBDRV\\Install.exe", "x");
    m.files.MakeFolder("C:\\Vazia");
    m.files.Write("C:\\Área de Trabalho\\Impressão.txt", "x");
    m.files.Write("c:\\área de trabalho\\IMPRESSÃO.TXT", "y");  // the same file

    std::vector<std::string> names{"sentinel"};
    EXPECT_EQ(m.files.ListFolder(row.folder, &names), row.error);
    EXPECT_EQ(names, row.names);
}
INSTANTIATE_TEST_SUITE_P(Sim, ListRows, ::testing::ValuesIn(kListRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimServices, StartStaysPendingForSomeQueriesOrDies) {
    sim::SimServices services;
    services.pendingQueries = 2;
    std::uint32_t state = 0;
    EXPECT_EQ(services.StartService("Spooler"), plat::kErrorServiceAlreadyRunning);
    EXPECT_EQ(services.StopService("spooler"), 0);
    EXPECT_EQ(services.StopService("Spooler"), plat::kErrorServiceNotActive);
    EXPECT_EQ(services.StartService("Spooler"), 0);
    EXPECT_EQ(services.StartService("Spooler"), plat::kErrorServiceAlreadyRunning) << "pending counts as started";
    for (std::uint32_t expected : {plat::kServiceStartPending, plat::kServiceStartPending, plat::kServiceRunning}) {
        ASSERT_EQ(services.QueryServiceState("Spooler", &state), 0);
        EXPECT_EQ(state, expected);
    }
    EXPECT_EQ(services.history, (std::vector<std::string>{"stop spooler", "start Spooler"}));

    services.startsButDies = true;
    (void)services.StopService("Spooler");
    EXPECT_EQ(services.StartService("Spooler"), 0);
    ASSERT_EQ(services.QueryServiceState("Spooler", &state), 0);
    EXPECT_EQ(state, plat::kServiceStopped);
    EXPECT_EQ(services.QueryServiceState("Fax", &state), plat::kErrorServiceDoesNotExist);

    services.Fail(sim::ServiceOp::Query, 5, 1);
    EXPECT_EQ(services.QueryServiceState("Spooler", &state), 0);
    EXPECT_EQ(services.QueryServiceState("Spooler", &state), 5);
}

struct WinIniRow {
    const char* name;
    const char* before;  // nullptr: no win.ini yet
    const char* section;
    const char* key;
    const char* after;
};

const WinIniRow kWinIniRows[] = {
    {"NewFile", nullptr, "windows", "device", "[windows]\r\ndevice=Recibo,OLV,LPT1:\r\n"},
    {"ReplacesInFirstSectionOfTheName", "[Windows]\r\nload=\r\nDevice = Velha,x,LPT2:\r\n[windows]\r\ndevice=outra\r\n",
     "windows", "device", "[Windows]\r\nload=\r\ndevice=Recibo,OLV,LPT1:\r\n[windows]\r\ndevice=outra\r\n"},
    {"AddsAtTheEndOfItsSection", "[windows]\r\nload=\r\n\r\n[Ports]\r\nCOM1:=\r\n", "WINDOWS", "device",
     "[windows]\r\nload=\r\ndevice=Recibo,OLV,LPT1:\r\n\r\n[Ports]\r\nCOM1:=\r\n"},
    {"CommentIsNoKey", "[windows]\n;device=x\n", "windows", "device",
     "[windows]\n;device=x\ndevice=Recibo,OLV,LPT1:\r\n"},
    {"NewSectionAfterAnUnendedLine", "[fonts]\r\nArial=arial.ttf", "windows", "device",
     "[fonts]\r\nArial=arial.ttf\r\n[windows]\r\ndevice=Recibo,OLV,LPT1:\r\n"},
};

class WinIniRows : public ::testing::TestWithParam<WinIniRow> {};

TEST_P(WinIniRows, WritesTheValueInPlace) {
    const WinIniRow& row = GetParam();
    sim::SimMachine m;
    if (row.before) m.files.Write(sim::SimProfile::kWinIni, row.before);
    ASSERT_TRUE(m.profile.WriteProfileString(row.section, row.key, "Recibo,OLV,LPT1:"));
    EXPECT_EQ(m.files.Read(sim::SimProfile::kWinIni), row.after);
    EXPECT_EQ(m.profile.GetString(sim::SimProfile::kWinIni, row.section, row.key, "", 256), "Recibo,OLV,LPT1:");
}
INSTANTIATE_TEST_SUITE_P(Sim, WinIniRows, ::testing::ValuesIn(kWinIniRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimProfile, FailedWriteChangesNothing) {
    sim::SimMachine m;
    m.files.Write(sim::SimProfile::kWinIni, "[windows]\r\n");
    m.profile.writesSucceed = false;
    EXPECT_FALSE(m.profile.WriteProfileString("windows", "device", "x"));
    EXPECT_EQ(m.files.Read(sim::SimProfile::kWinIni), "[windows]\r\n");
}

}  // namespace
