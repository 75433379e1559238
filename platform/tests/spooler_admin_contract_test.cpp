// The spooler as the installer administers it. The same cases run against the
// simulation and against the real platform; cases that add printers or drivers
// remove them again.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/contract_env.h"

namespace {

using contract::Env;

// PRINTER_ATTRIBUTE_LOCAL, the attribute a local printer normally carries.
constexpr std::uint32_t kAttributeLocal = 0x40;

TEST(SpoolerAdminContract, DriverAndProcessorDirectoriesExist) {
    plat::SpoolerAdmin& admin = Env().spoolerAdmin();
    struct Case {
        const char* what;
        long (plat::SpoolerAdmin::*query)(std::string*);
    };
    for (const Case& c : {Case{"printer-driver directory", &plat::SpoolerAdmin::GetPrinterDriverDirectory},
                          Case{"print-processor directory", &plat::SpoolerAdmin::GetPrintProcessorDirectory}}) {
        std::string directory;
        ASSERT_EQ((admin.*c.query)(&directory), plat::kErrorSuccess) << c.what;
        ASSERT_FALSE(directory.empty()) << c.what;
        EXPECT_NE(directory.back(), '\\') << c.what << ": callers add their own separator";
        EXPECT_TRUE(Env().files().FileExists(directory)) << c.what << " " << directory;
    }
}

TEST(SpoolerAdminContract, MonitorsThatCannotBeAdded) {
    struct Case {
        const char* what;
        const char* name;
        const char* dll;
        long expected;
    };
    const Case cases[] = {
        {"a DLL that is not in the system directory", "Monitor de Contrato", "nao-existe-mon.dll",
         plat::kErrorModNotFound},
        // The name is checked first: a second install of a monitor answers
        // "already installed" whatever file it names.
        {"the name of an installed monitor", "Local Port", "nao-existe-mon.dll",
         plat::kErrorPrintMonitorAlreadyInstalled},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Env().spoolerAdmin().AddMonitor(c.name, "", c.dll), c.expected) << c.what;
    }
}

TEST(SpoolerAdminContract, ProcessorOfAnUnknownEnvironmentIsRefused) {
    EXPECT_EQ(Env().spoolerAdmin().AddPrintProcessor("Ambiente Inexistente", "nao-existe-proc.dll", "Processo"),
              plat::kErrorInvalidEnvironment);
}

TEST(SpoolerAdminContract, PrinterOfAnUnknownDriverIsRefused) {
    if (Env().IsWine()) GTEST_SKIP() << "Wine's AddPrinter answers 87 for an unknown driver; Windows answers 1797";
    plat::PrinterInfo2 printer;
    printer.printerName = "Impressora sem Driver";
    printer.portName = "LPT1:";
    printer.driverName = "Driver que não existe";
    printer.printProcessor = "WinPrint";
    plat::PrinterHandle handle = 0x77;
    EXPECT_EQ(Env().spoolerAdmin().AddPrinter(printer, &handle), plat::kErrorUnknownPrinterDriver);
    EXPECT_EQ(handle, 0x77u) << "output untouched on failure";
}

TEST(SpoolerAdminContract, NamesThatNameNoPrinter) {
    plat::SpoolerAdmin& admin = Env().spoolerAdmin();
    plat::PrinterHandle handle = 0x77;
    EXPECT_EQ(admin.OpenPrinter("Impressora que não existe", &handle), plat::kErrorInvalidPrinterName);
    EXPECT_EQ(handle, 0x77u);
    EXPECT_EQ(admin.SetDefaultPrinter("Impressora que não existe"), plat::kErrorInvalidPrinterName);
}

TEST(SpoolerAdminContract, PortsIncludeTheParallelPort) {
    std::vector<std::string> ports;
    ASSERT_EQ(Env().spoolerAdmin().EnumPorts(&ports), plat::kErrorSuccess);
    EXPECT_NE(std::find(ports.begin(), ports.end(), "LPT1:"), ports.end());
}

// A driver from bare file names in the driver directory, a printer of it with
// no datatype given, read back through a new handle, made the default.
class AddedPrinter : public ::testing::Test {
protected:
    static constexpr const char* kDriver = "Driver de Contrato";

    void SetUp() override {
        // One name per case: the simulated machine keeps its printers for the
        // whole run. Accented: the name crosses the ANSI code page both ways.
        printerName_ = std::string("Impressora de Contrato Ção ") +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name();
        Env().RemovePrinter(printerName_);
    }
    void TearDown() override {
        Env().RemovePrinter(printerName_);
        Env().RemoveDriver(kDriver);
    }
    plat::PrinterInfo2 Description() const {
        plat::PrinterInfo2 printer;
        printer.printerName = printerName_;
        printer.portName = "LPT1:";
        printer.driverName = kDriver;
        printer.printProcessor = "WinPrint";
        printer.attributes = kAttributeLocal;
        return printer;
    }

    std::string printerName_;
};

TEST_F(AddedPrinter, IsOpenedReadBackAndMadeDefault) {
    plat::SpoolerAdmin& admin = Env().spoolerAdmin();
    ASSERT_EQ(admin.AddPrinterDriver(Env().LayDownTestDriver(kDriver)), plat::kErrorSuccess);
    plat::PrinterHandle added = 0;
    ASSERT_EQ(admin.AddPrinter(Description(), &added), plat::kErrorSuccess);
    EXPECT_EQ(admin.ClosePrinter(added), plat::kErrorSuccess);

    plat::PrinterHandle opened = 0;
    ASSERT_EQ(admin.OpenPrinter(printerName_, &opened), plat::kErrorSuccess);
    plat::PrinterInfo2 read;
    EXPECT_EQ(admin.GetPrinter(opened, &read), plat::kErrorSuccess);
    EXPECT_EQ(admin.ClosePrinter(opened), plat::kErrorSuccess);
    EXPECT_EQ(read.printerName, printerName_);
    EXPECT_EQ(read.portName, "LPT1:");
    EXPECT_EQ(read.driverName, kDriver);
    EXPECT_EQ(read.attributes & kAttributeLocal, kAttributeLocal) << "attributes given at creation";

    EXPECT_EQ(admin.SetDefaultPrinter(printerName_), plat::kErrorSuccess);
}

TEST_F(AddedPrinter, SecondPrinterOfTheSameNameIsRefused) {
    if (Env().IsWine())
        GTEST_SKIP() << "Wine's AddPrinter accepts a name in use and overwrites that printer; Windows answers 1802";
    plat::SpoolerAdmin& admin = Env().spoolerAdmin();
    ASSERT_EQ(admin.AddPrinterDriver(Env().LayDownTestDriver(kDriver)), plat::kErrorSuccess);
    plat::PrinterHandle added = 0;
    ASSERT_EQ(admin.AddPrinter(Description(), &added), plat::kErrorSuccess);
    admin.ClosePrinter(added);
    plat::PrinterInfo2 again = Description();
    again.portName = "LPT2:";
    EXPECT_EQ(admin.AddPrinter(again, &added), plat::kErrorPrinterAlreadyExists);
}

}  // namespace
