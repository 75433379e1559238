// The printer's unique name, the driver's registration and the default
// printer on each platform.
#include "core/printer_registration.h"

#include <gtest/gtest.h>

#include "core/os_code.h"
#include "tests/install_fixture.h"

namespace {

using namespace setup;
using setup_test::InstallFixture;

plat::PrinterInfo2 Receipt(std::string name, std::string port) {
    return {std::move(name), std::move(port), "KTR-P410 Receipt", "WinPrint", 576, {}, 0};
}

void PrepareDriver(InstallFixture& fixture) {
    plat::DriverInfo3 driver;
    driver.cVersion = 3;
    driver.name = "KTR-P410 Receipt";
    driver.environment = fixture.machine.spooler.localEnvironment;
    fixture.machine.spooler.drivers.push_back(driver);
}

TEST(AddPrinterUniqueName, ATakenNameGetsTheFirstFreeNumber) {
    struct Case {
        const char* what;
        int taken;  // printers existing before: the name, then "(1)".."(taken-1)"
        bool usb;
        bool succeeds;
        const char* created;
        std::string result;
    } cases[] = {
        {"free name", 0, false, true, "KTR-P410(P)", ""},
        {"first copy", 1, false, true, "KTR-P410(P)(1)", ""},
        {"fifth copy", 5, false, true, "KTR-P410(P)(5)", ""},
        {"last number", 98, false, true, "KTR-P410(P)(98)", ""},
        {"every number taken", 99, false, false, nullptr, "Atingido limite máximo de impressoras na mesma porta"},
        {"USB takes no second printer", 1, true, false, nullptr,
         "Atingido limite máximo de impressoras na mesma porta"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFixture fixture(OsCode::kWinXp);
        PrepareDriver(fixture);
        for (int n = 0; n < c.taken; ++n) {
            fixture.machine.spooler.PutPrinter(n == 0 ? "KTR-P410(P)" : "KTR-P410(P)(" + std::to_string(n) + ")");
        }
        InstallSession session{fixture.Services(), OsCode::kWinXp, {}};
        plat::PrinterInfo2 printer = Receipt("KTR-P410(P)", "LPT1:");
        EXPECT_EQ(AddPrinterUniqueName(session, &printer, c.usb), c.succeeds);
        EXPECT_EQ(session.resultMessage, c.result);
        if (c.created) {
            EXPECT_EQ(printer.printerName, c.created);
            EXPECT_NE(fixture.machine.spooler.Printer(c.created), nullptr);
        }
        EXPECT_EQ(fixture.machine.spooler.PrinterNames().size(), static_cast<std::size_t>(c.taken + c.succeeds));
        EXPECT_EQ(fixture.machine.spooler.OpenHandleCount(), 0u);
    }
}

TEST(AddPrinterUniqueName, AnotherErrorEndsTheSearch) {
    InstallFixture fixture(OsCode::kWinXp);
    PrepareDriver(fixture);
    fixture.machine.spooler.PutPrinter("KTR-P410(P)");
    fixture.machine.spooler.Fail(sim::SpoolerOp::AddPrinter, 1796, 1);
    InstallSession session{fixture.Services(), OsCode::kWinXp, {}};
    plat::PrinterInfo2 printer = Receipt("KTR-P410(P)", "LPT1:");
    EXPECT_FALSE(AddPrinterUniqueName(session, &printer, false));
    EXPECT_EQ(session.resultMessage, "Erro ao adicionar impressoraer = 1796");
    EXPECT_EQ(printer.printerName, "KTR-P410(P)");
}

TEST(SetDefaultPrinterByName, EachPlatformItsOwnWay) {
    struct Case {
        const char* what;
        setup::OsCode target;
        std::string broadcast;
        std::string winIniDevice;  // "windows"/"device" of win.ini afterwards
    } cases[] = {
        {"Windows 98: the printer's default attribute", OsCode::kWin98Me, "windows", ""},
        {"NT 4.0: the system profile", OsCode::kNt4, "", "KTR-P410(P),KTR-P410 Receipt,LPT1:"},
        {"2000 and later: SetDefaultPrinter", OsCode::kWin7, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFixture fixture(c.target);
        PrepareDriver(fixture);
        plat::PrinterHandle handle = 0;
        ASSERT_EQ(fixture.machine.spooler.AddPrinter(Receipt("KTR-P410(P)", "LPT1:"), &handle), 0);
        ASSERT_EQ(fixture.machine.spooler.ClosePrinter(handle), 0);

        InstallSession session{fixture.Services(), c.target, {}};
        EXPECT_TRUE(SetDefaultPrinterByName(session, "KTR-P410(P)"));
        if (c.winIniDevice.empty()) {
            EXPECT_EQ(fixture.machine.spooler.defaultPrinter, "KTR-P410(P)");
        } else {
            EXPECT_EQ(fixture.machine.profile.GetString(sim::SimProfile::kWinIni, "windows", "device", "", 200),
                      c.winIniDevice);
        }
        if (c.target == OsCode::kWin98Me) {
            EXPECT_EQ(fixture.machine.spooler.Printer("KTR-P410(P)")->attributes,
                      576u | plat::kPrinterAttributeDefault);
        }
        ASSERT_EQ(fixture.machine.desktop.broadcasts.size(), 1u);
        EXPECT_EQ(fixture.machine.desktop.broadcasts[0].section, c.broadcast);
        EXPECT_FALSE(fixture.machine.desktop.broadcasts[0].posted);
        EXPECT_EQ(fixture.machine.spooler.OpenHandleCount(), 0u);
    }
}

TEST(SetDefaultPrinterByName, AFailureIsReportedButTheInstallationGoesOn) {
    InstallFixture fixture(OsCode::kWin7);
    fixture.machine.spooler.Fail(sim::SpoolerOp::SetDefaultPrinter, plat::kErrorProcNotFound);
    fixture.Choose(0, "KTR-P410", "LPT1:");
    fixture.request.makeDefault = true;
    EXPECT_EQ(fixture.Install(), InstallProgress::kDone);
    EXPECT_EQ(fixture.Result(),
              "Driver de impressora instalado com sucesso\nNão foi possível definir a impressora padrão.");
    EXPECT_EQ(fixture.machine.spooler.defaultPrinter, "");
    EXPECT_TRUE(fixture.machine.desktop.broadcasts.empty());

    InstallFixture again(OsCode::kWin7);
    again.machine.spooler.PutPrinter("KTR-P410(P)");
    again.Choose(0, "KTR-P410", "LPT1:");
    again.request.makeDefault = true;
    ASSERT_EQ(again.Install(), InstallProgress::kDone);
    EXPECT_EQ(again.machine.spooler.defaultPrinter, "KTR-P410(P)(1)") << "the name actually created";
}

}  // namespace
