#include <gtest/gtest.h>

#include "core/serial_settings.h"
#include "core/setup_text.h"
#include "tests/wizard_fixture.h"

namespace {

using namespace setup;
using setup_test::WizardFixture;

constexpr int kModule = SetupWizard::kModulePageIndex;
constexpr int kInstallType = SetupWizard::kInstallTypePageIndex;
constexpr int kOs = SetupWizard::kOsPageIndex;
constexpr int kPort = SetupWizard::kPortPageIndex;

constexpr plat::OsVersion kWin98{plat::kPlatformWindows, 4, 10};
constexpr plat::OsVersion kNt4{plat::kPlatformNt, 4, 0};
constexpr plat::OsVersion kXp{plat::kPlatformNt, 5, 1};
constexpr plat::OsVersion k2003{plat::kPlatformNt, 5, 2};
constexpr plat::OsVersion kVista{plat::kPlatformNt, 6, 0};
constexpr plat::OsVersion kWin7{plat::kPlatformNt, 6, 1};

TEST(SetupWizard, StartsOnTheModulePageWithTheButtonTexts) {
    WizardFixture f;
    f.Start();
    EXPECT_EQ(f.wizard.currentPage(), kModule);
    EXPECT_TRUE(f.window.shown[kModule]);
    EXPECT_EQ(f.frame.Text(IDC_BACK), "<<Anterior(&A)");
    EXPECT_EQ(f.frame.Text(plat::kIdOk), "Próximo(&P)>>");
    EXPECT_EQ(f.frame.Text(plat::kIdCancel), "Cancela(&C)");
    EXPECT_TRUE(f.frame.IsEnabled(plat::kIdOk));
    EXPECT_FALSE(f.frame.IsEnabled(IDC_BACK));
    EXPECT_FALSE(f.frame.closed);
}

TEST(SetupWizard, EmptyDeviceListKeepsNextDisabled) {
    WizardFixture f({plat::kPlatformNt, 6, 1}, false);
    f.Start();
    EXPECT_FALSE(f.frame.IsEnabled(plat::kIdOk));
    EXPECT_FALSE(f.modulePage.hasModels());
}

TEST(SetupWizard, WalksForwardAndBackThroughTheFourPages) {
    WizardFixture f;
    f.Start();
    const int expected[] = {kInstallType, kOs, kPort};
    for (int page : expected) {
        f.Press(plat::kIdOk);
        EXPECT_EQ(f.wizard.currentPage(), page);
        EXPECT_TRUE(f.frame.IsEnabled(IDC_BACK));
        EXPECT_EQ(f.frame.focus, plat::kIdOk);
        for (int other = 0; other < 4; ++other) EXPECT_EQ(f.window.shown[other], other == page) << other;
    }
    EXPECT_EQ(f.frame.Text(plat::kIdOk), "Instalar(&I)");
    // The typical list of the default model (DEFAULTNAME's prefix search
    // chose KTR-P410II) on Windows 7, read from the receipt module's file.
    sim::SimControls& port = f.Page(kPort);
    EXPECT_EQ(port.Get(IDC_PORTS).items.size(), 12u);
    EXPECT_EQ(port.ItemText(IDC_PORTS, 11), "USB_KTR-P410II_1");
    EXPECT_EQ(port.SelectedText(IDC_PORTS), "LPT1:");
    EXPECT_EQ(f.wizard.request().moduleIniPath,
              "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\DRVCONFIG\\setup_receipt.ini");

    for (int page : {kOs, kInstallType, kModule}) {
        f.Press(IDC_BACK);
        EXPECT_EQ(f.wizard.currentPage(), page);
        EXPECT_EQ(f.frame.Text(plat::kIdOk), "Próximo(&P)>>");
        EXPECT_TRUE(f.frame.IsEnabled(plat::kIdOk));
    }
    EXPECT_FALSE(f.frame.IsEnabled(IDC_BACK)) << "Back is disabled on the first page";
    f.Press(IDC_BACK);
    EXPECT_EQ(f.wizard.currentPage(), kModule);
    EXPECT_FALSE(f.frame.IsEnabled(IDC_BACK));
}

TEST(SetupWizard, AdvancedChoiceReachesThePortList) {
    WizardFixture f;
    f.Start();
    f.Press(plat::kIdOk);
    f.Click(kInstallType, IDC_ADVANCED);
    f.Press(plat::kIdOk);
    f.Press(plat::kIdOk);
    EXPECT_EQ(f.portPage.installType(), kInstallAdvanced);
    EXPECT_EQ(f.Page(kPort).ItemText(IDC_PORTS, 14), "USB_KTR-P410II_4") << "four USB names";
}

int ShownBaud(WizardFixture& f) {
    sim::SimControls& port = f.Page(kPort);
    return std::stoi(port.SelectedText(IDC_BAUD));
}

TEST(SetupWizard, BaudPresetIsReadAgainOnlyAfterTheModulePage) {
    WizardFixture f;
    f.Start();
    for (int i = 0; i < 3; ++i) f.Press(plat::kIdOk);
    EXPECT_EQ(ShownBaud(f), 115200) << "KTR-P410II's BaudRate";
    EXPECT_EQ(f.portPage.serial().baudRate, 115200);

    // The user's choice survives Back to the OS page and Next.
    f.Choose(kPort, IDC_BAUD, "9600");
    f.Press(IDC_BACK);
    f.Press(plat::kIdOk);
    EXPECT_EQ(ShownBaud(f), 9600);
    EXPECT_EQ(f.portPage.serial().baudRate, 9600);

    // Back to the module page and forward again reads the preset anew.
    for (int i = 0; i < 3; ++i) f.Press(IDC_BACK);
    EXPECT_TRUE(f.wizard.baudPresetPending());
    for (int i = 0; i < 3; ++i) f.Press(plat::kIdOk);
    EXPECT_EQ(ShownBaud(f), 115200);
}

TEST(SetupWizard, EachParityKeepsItsTextAndLetterThroughBackAndNext) {
    const std::pair<const char*, char> parities[] = {
        {"Even", 'e'}, {"Mark", 'm'}, {"None", 'n'}, {"Odd", 'o'}, {"Space", 's'}};
    for (const auto& [text, letter] : parities) {
        WizardFixture f;
        f.Start();
        for (int i = 0; i < 3; ++i) f.Press(plat::kIdOk);
        f.Choose(kPort, IDC_PORTS, "MDCOM2:");
        f.Choose(kPort, IDC_PARITY, text);
        // Back to the module page and on again: the page shows its held
        // values anew with the model's baud rate.
        for (int i = 0; i < 3; ++i) f.Press(IDC_BACK);
        for (int i = 0; i < 3; ++i) f.Press(plat::kIdOk);
        ASSERT_EQ(f.wizard.currentPage(), kPort) << text;
        EXPECT_EQ(f.Page(kPort).SelectedText(IDC_PARITY), text);
        EXPECT_EQ(f.portPage.serial().parity, letter) << text;
        f.Press(plat::kIdOk);
        ASSERT_TRUE(f.workerSaw) << text;
        EXPECT_EQ(PortSettingsText(f.workerSaw->serial), std::string("115200,") + letter + ",8,1,p") << text;
    }
}

TEST(SetupWizard, AbsentBaudRateShows38400AndHoldsZero) {
    WizardFixture f;
    f.Start();
    f.ChooseModel(kModuleLabel, "KTR-L60");
    for (int i = 0; i < 3; ++i) f.Press(plat::kIdOk);
    EXPECT_EQ(ShownBaud(f), 38400);
    EXPECT_EQ(f.portPage.serial().baudRate, 0);
}

TEST(SetupWizard, ModelsThatDoNotSupportTheSystemStayOnTheOsPage) {
    struct Case {
        plat::OsVersion version;
        const char* flag;
        int message;
    } cases[] = {{k2003, "System2003Supported", IDS_NO_2003},
                 {kVista, "SystemVistaSupported", IDS_NO_VISTA},
                 {kWin7, "SystemWin7Supported", IDS_NO_WIN7}};
    for (const auto& c : cases) {
        WizardFixture f(c.version);
        // A module file whose only model supports every system but this one.
        std::string ini =
            "[KTR-X1.PORT]\r\nSystem2003Supported=1\r\nSystemVistaSupported=1\r\n"
            "System2008Supported=1\r\nSystemWin7Supported=1\r\n";
        ini.replace(ini.find(std::string(c.flag) + "=1"), std::string(c.flag).size() + 2, std::string(c.flag) + "=0");
        f.machine.files.Write(
            "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\DRVCONFIG\\setup_receipt.ini", ini);
        f.machine.files.Write(
            "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\DRVCONFIG\\setup.ini",
            "[DEVICENAME]\r\nDEVICENUMBER=1\r\nDEVICENAME1=KTR-X1-ReceiptPrinter\r\nDEFAULTNAME=1\r\n");
        f.Start();
        for (int i = 0; i < 3; ++i) f.Press(plat::kIdOk);
        EXPECT_EQ(f.wizard.currentPage(), kOs) << c.flag;
        EXPECT_TRUE(f.window.shown[kOs]) << c.flag;
        EXPECT_FALSE(f.window.shown[kPort]) << c.flag;
        EXPECT_EQ(f.Messages(), std::vector<std::string>{std::string(SetupString(c.message))}) << c.flag;
        EXPECT_EQ(f.Page(kPort).ItemCount(IDC_PORTS), 0) << "the port list is not built";
    }
}

TEST(SetupWizard, VistaWithoutSupportNamesVista) {
    WizardFixture f(kVista);
    f.Start();
    f.ChooseModel(kModuleTicket, "KTR-T200");
    for (int i = 0; i < 3; ++i) f.Press(plat::kIdOk);
    EXPECT_EQ(f.wizard.currentPage(), kOs);
    EXPECT_EQ(f.Messages(), std::vector<std::string>{"Esta impressora não suporta Windows Vista"});
}

TEST(SetupWizard, ModelWithoutAdvancedSetupForcesTypical) {
    WizardFixture f;
    f.Start();
    f.Press(plat::kIdOk);
    EXPECT_TRUE(f.Page(kInstallType).IsEnabled(IDC_ADVANCED)) << "KTR-P410II allows the advanced type";
    f.Click(kInstallType, IDC_ADVANCED);
    EXPECT_EQ(f.installTypePage.installType(), kInstallAdvanced);
    f.Press(IDC_BACK);
    f.ChooseModel(kModuleTicket, "KTR-T200");
    f.Press(plat::kIdOk);
    sim::SimControls& page = f.Page(kInstallType);
    EXPECT_EQ(f.installTypePage.installType(), kInstallTypical);
    EXPECT_FALSE(page.IsEnabled(IDC_ADVANCED));
    EXPECT_TRUE(page.IsChecked(IDC_TYPICAL));
    EXPECT_FALSE(page.IsChecked(IDC_ADVANCED));
    EXPECT_EQ(page.Text(IDC_COMMENT1), "Instalar driver de impressora padrão");
    EXPECT_FALSE(page.IsVisible(IDC_COMMENT2));
}

// Walks to the port page with `model` of `module` and presses Install on `port`.
void InstallOn(WizardFixture& f, int module, std::string_view model, std::string_view port) {
    f.Start();
    f.ChooseModel(module, model);
    for (int i = 0; i < 3; ++i) f.Press(plat::kIdOk);
    ASSERT_EQ(f.wizard.currentPage(), kPort);
    f.OfferPort(port);
    f.Press(plat::kIdOk);
}

TEST(SetupWizardInstall, PrinterNameAndPortFollowThePortKind) {
    struct Case {
        const char* model;
        int module;
        const char* port;
        int kind;
        const char* printerName;
        const char* printerPort;
    } cases[] = {
        {"KTR-P410", kModuleReceipt, "USB_KTR-P410_2", kPortUsb, "KTR-P410(U) 2", "USB_KTR-P410_2"},
        {"KTR-P410", kModuleReceipt, "LPT1:", kPortLpt, "KTR-P410(P)", "LPT1:"},
        {"KTR-P410", kModuleReceipt, "MDCOM1:", kPortCom, "KTR-P410(S)", "MDCOM1:"},
        {"KTR-P410", kModuleReceipt, "COM2:", kPortCom, "KTR-P410(S)", "COM2:"},
        {"KTR-D9", kModuleEmbedded, "USB_KTR-D9_3", kPortUsb, "KTR-D9(U) 3", "USB_KTR-D9_3"},
    };
    for (const auto& c : cases) {
        WizardFixture f(kXp);
        InstallOn(f, c.module, c.model, c.port);
        ASSERT_TRUE(f.workerSaw) << c.port;
        EXPECT_EQ(f.workerSaw->portKind, c.kind) << c.port;
        EXPECT_EQ(f.workerSaw->printerName, c.printerName) << c.port;
        EXPECT_EQ(f.workerSaw->printerPort, c.printerPort) << c.port;
        // The descriptions were read for the model, the system and the port kind.
        EXPECT_EQ(f.workerSaw->descriptions.printer.printProcessor, "KTRPrint") << c.port;
        EXPECT_EQ(f.workerSaw->descriptions.driver.monitorName.has_value(), c.kind == kPortUsb) << c.port;
        EXPECT_EQ(f.workerSaw->modelName, c.model);
        EXPECT_EQ(f.workerSaw->osCode, OsCode::kWinXp);
        EXPECT_EQ(f.workerSaw->serial.dataBits, 8);
        EXPECT_EQ(f.workerSaw->serial.parity, 'n');
        EXPECT_EQ(f.workerSaw->serial.flow, 'p');
        EXPECT_TRUE(f.frame.closed) << c.port;
        EXPECT_EQ(f.frame.closeResult, plat::kIdOk);
    }
}

TEST(SetupWizardInstall, RefusalsStayOnThePortPage) {
    struct Case {
        const char* what;
        plat::OsVersion version;
        const char* port;
        const char* message;
    } cases[] = {
        {"unknown port kind", kXp, "FILE:", "Impossível instalar nesta porta"},
        {"USB on NT 4.0", kNt4, "USB_KTR-P410_1", "WindowsNT4 e versões anteriores não suportam portas USB"},
        // Code 0 without a button: no Windows 98/Me drivers on an NT system,
        // and no USB step before the refusal.
        {"Windows 8",
         {plat::kPlatformNt, 6, 2},
         "LPT1:",
         "Este driver não funciona neste sistema.\nFavor clicar \"Cancelar\" para cancelar este programa"},
        {"Windows 10, USB port",
         {plat::kPlatformNt, 10, 0},
         "USB_KTR-P410_1",
         "Este driver não funciona neste sistema.\nFavor clicar \"Cancelar\" para cancelar este programa"},
        {"Windows 95",
         {plat::kPlatformWindows, 4, 0},
         "COM1:",
         "Este driver não funciona neste sistema.\nFavor clicar \"Cancelar\" para cancelar este programa"},
    };
    for (const auto& c : cases) {
        WizardFixture f(c.version);
        f.Start();
        for (int i = 0; i < 3; ++i) f.Press(plat::kIdOk);
        f.OfferPort(c.port);
        const std::size_t before = f.Messages().size();  // what the OS page told at its start
        f.Press(plat::kIdOk);
        const std::vector<std::string> messages = f.Messages();
        EXPECT_EQ(std::vector<std::string>(messages.begin() + before, messages.end()),
                  std::vector<std::string>{c.message})
            << c.what;
        EXPECT_FALSE(f.workerSaw) << c.what;
        EXPECT_FALSE(f.frame.closed) << c.what;
        EXPECT_EQ(f.wizard.currentPage(), kPort) << c.what;
        EXPECT_TRUE(f.machine.desktop.dialogsRun.empty()) << c.what;
    }
}

TEST(SetupWizardInstall, NoModelChosenAsksForOne) {
    WizardFixture f(kXp, false);
    f.machine.files.Write(std::string(setup_test::kPackageFolder) + "DRVCONFIG\\setup.ini",
                          "[DEVICENAME]\r\nDEVICENUMBER=1\r\nDEVICENAME1=KTR-P410-ReceiptPrinter\r\n");
    f.machine.files.Write(std::string(setup_test::kPackageFolder) + "MdUsbInt.dll", "MdUsbInt");
    f.Start();
    for (int i = 0; i < 3; ++i) f.Press(plat::kIdOk);
    f.OfferPort("LPT1:");
    f.Press(plat::kIdOk);
    EXPECT_EQ(f.Messages(), std::vector<std::string>{"Você precisa selecionar um módulo de impressora"});
    EXPECT_FALSE(f.workerSaw);
}

TEST(SetupWizardInstall, ShowsTheWorkersResultOrTheSuccessText) {
    for (const char* result : {"", "Erro ao adicionar impressora er = 5"}) {
        WizardFixture f(kXp);
        f.workerMessage = result;
        f.workerState = *result ? InstallProgress::kFailed : InstallProgress::kDone;
        InstallOn(f, kModuleReceipt, "KTR-P410", "LPT1:");
        ASSERT_EQ(f.machine.desktop.dialogsRun.size(), 1u);
        EXPECT_EQ(f.machine.desktop.dialogsRun[0].templateId, IDD_PROGRESS);
        EXPECT_EQ(f.machine.desktop.minimizedTopmost, std::vector<plat::WindowRef>{f.frame.window});
        EXPECT_EQ(f.Messages(),
                  std::vector<std::string>{*result ? result : "Driver da Impressora instalado com sucesso"});
        EXPECT_EQ(f.machine.desktop.boxes[0].owner, f.frame.window);
        EXPECT_EQ(f.machine.desktop.restartRequests, 0);
    }
}

TEST(SetupWizardInstall, InstallPutsThePrinterIntoTheSpooler) {
    WizardFixture f(kXp);
    f.realWorker = true;
    setup_test::LoadPackageFolders(f.machine.files);
    f.machine.system.currentDirectory = "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora";
    InstallOn(f, kModuleReceipt, "KTR-P410", "LPT1:");
    EXPECT_EQ(f.Messages(), std::vector<std::string>{"Driver de impressora instalado com sucesso"});
    const plat::PrinterInfo2* printer = f.machine.spooler.Printer("KTR-P410(P)");
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->driverName, "KTR-P410 Receipt Raster") << "a parallel port takes the raster key set";
    EXPECT_EQ(printer->printProcessor, "KTRPrint");
    EXPECT_TRUE(f.frame.closed);
}

TEST(SetupWizardInstall, Windows98AsksToRestartAfterEveryInstallation) {
    struct Case {
        int answer;
        bool restartWorks;
        int restarts;
    } cases[] = {{plat::kIdYes, true, 1}, {plat::kIdNo, true, 0}, {plat::kIdYes, false, 1}};
    for (const auto& c : cases) {
        WizardFixture f(kWin98);
        f.workerState = InstallProgress::kFailed;
        f.workerMessage = "falhou";
        f.machine.desktop.answers = {plat::kIdOk, c.answer};
        f.machine.desktop.restartSucceeds = c.restartWorks;
        InstallOn(f, kModuleReceipt, "KTR-P410", "LPT1:");
        ASSERT_EQ(f.Messages().size(), 2u);
        EXPECT_EQ(f.Messages()[0], "falhou") << "the worker's result, read only after it ended";
        EXPECT_EQ(f.Messages()[1], SetupString(IDS_RESTART_QUESTION));
        EXPECT_EQ(f.machine.desktop.boxes[1].style & 0xF, plat::kMbYesNo);
        EXPECT_EQ(f.machine.desktop.restartRequests, c.restarts);
        EXPECT_TRUE(f.frame.closed);
    }
}

TEST(SetupWizardStart, MissingPictureOrAdministratorEndsTheWizard) {
    struct Case {
        const char* what;
        plat::OsVersion version;
        bool picture;
        bool administrator;
        const char* message;  // nullptr: the wizard stays open
    } cases[] = {
        {"no Left.bmp", kWin7, false, true, "Impossível carregar arquivo Left.bmp"},
        {"not an administrator on Windows 7", kWin7, true, false, "Você deve estar logado como administrador"},
        {"not an administrator on Windows 2000",
         {plat::kPlatformNt, 5, 0},
         true,
         false,
         "Você deve estar logado como administrador"},
        {"Windows 98 has no administrators", kWin98, true, false, nullptr},
        {"NT 4.0 is not checked", kNt4, true, false, nullptr},
        {"an administrator", kVista, true, true, nullptr},
    };
    for (const auto& c : cases) {
        WizardFixture f(c.version);
        f.window.leftPicture = c.picture;
        f.machine.desktop.administrator = c.administrator;
        f.Start();
        EXPECT_EQ(f.frame.closed, c.message != nullptr) << c.what;
        if (c.message) {
            EXPECT_EQ(f.Messages(), std::vector<std::string>{c.message}) << c.what;
            EXPECT_EQ(f.frame.closeResult, plat::kIdCancel) << c.what;
        } else {
            EXPECT_TRUE(f.Messages().empty()) << c.what;
        }
    }
}

TEST(SetupWizard, CancelClosesAtOnce) {
    WizardFixture f;
    f.Start();
    f.Press(plat::kIdOk);
    f.Press(plat::kIdCancel);
    EXPECT_TRUE(f.frame.closed);
    EXPECT_EQ(f.frame.closeResult, plat::kIdCancel);
    EXPECT_TRUE(f.Messages().empty());
}

TEST(SetupWizard, HelpAndAbout) {
    WizardFixture f;
    f.Start();
    f.wizard.OnHelp(f.frame);
    EXPECT_EQ(f.machine.desktop.opened, std::vector<std::string>{".\\Guide.CHM"});
    f.machine.desktop.windows.push_back({"Printer Driver Installer", 0x77});
    f.wizard.OnHelp(f.frame);
    EXPECT_EQ(f.machine.desktop.opened.size(), 1u);
    EXPECT_EQ(f.machine.desktop.broughtToFront, std::vector<plat::WindowRef>{0x77});

    EXPECT_FALSE(f.wizard.OnSysCommand(f.frame, 0xF060)) << "other system commands are the system's";
    EXPECT_TRUE(f.wizard.OnSysCommand(f.frame, IDM_ABOUT));
    ASSERT_EQ(f.machine.desktop.dialogsRun.size(), 1u);
    EXPECT_EQ(f.machine.desktop.dialogsRun[0].templateId, IDD_ABOUT);
}

}  // namespace

namespace {

TEST(SetupWizardInstall, UsbPortsInTheAdvancedType) {
    constexpr int kRec = kModuleReceipt, kEmb = kModuleEmbedded, kNone = -1, kYes = plat::kIdYes, kNo = plat::kIdNo;
    struct Case {
        const char* what;
        plat::OsVersion version;
        int module;    // KTR-P410 (receipt) or KTR-D9 (embedded)
        int attached;  // device value in slot 0, or kNone
        const char* port;
        int answer;               // 0: no scripted answer
        bool packageDriver;       // the package's bulkusb.sys has a version
        int asked;                // string shown before installing; 0: none
        int lastByte;             // -1: nothing written
        bool toolStarted;         // Install.exe started with "2"
        const char* printerName;  // nullptr: the worker does not run
        int recorded;             // PORTNAME value of the port; -1: none
    } cases[] = {
        {"_3 with value 10", kXp, kRec, 10, "USB_KTR-P410_3", 0, false, 0, -1, false, "KTR-P410(U) 3", 2},
        {"_2 Yes", kXp, kRec, 10, "USB_KTR-P410_2", kYes, false, IDS_CHANGE_USB_ID, 1, false, "KTR-P410(U) 2", 1},
        {"_2 No", kXp, kRec, 10, "USB_KTR-P410_2", kNo, false, IDS_CHANGE_USB_ID, -1, false, nullptr, -1},
        {"no printer", kXp, kRec, kNone, "USB_KTR-P410_1", 0, false, IDS_NO_USB_DEVICE, -1, false, nullptr, -1},
        {"bulk driver missing", kXp, kRec, 10, "USB_KTR-P410_3", 0, true, 0, -1, true, "KTR-P410(U) 3", 2},
        {"Windows 98", kWin98, kRec, 10, "USB_KTR-P410_3", 0, true, 0, -1, false, "KTR-P410(U) 3", 2},
        {"KTR-D9", kXp, kEmb, 1, "USB_KTR-D9_2", 0, false, 0, -1, false, "KTR-D9(U) 2", 9},
    };
    for (const auto& c : cases) {
        WizardFixture f(c.version);
        if (c.attached != kNone) f.machine.usb.slots[0] = static_cast<std::uint32_t>(c.attached);
        if (c.packageDriver)
            f.machine.files.SetVersion(
                "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\USBDRV\\bulkusb.sys",
                "1.0.0.3");
        f.Start();
        f.ChooseModel(c.module, c.module == kRec ? "KTR-P410" : "KTR-D9");
        f.Press(plat::kIdOk);
        f.Click(kInstallType, IDC_ADVANCED);
        f.Press(plat::kIdOk);
        f.Press(plat::kIdOk);
        ASSERT_EQ(f.wizard.currentPage(), kPort) << c.what;
        f.Choose(kPort, IDC_PORTS, c.port);
        if (c.answer) f.machine.desktop.answers = {c.answer};
        f.Press(plat::kIdOk);

        std::vector<std::string> messages;
        if (c.asked) messages.emplace_back(SetupString(c.asked));
        if (c.printerName) messages.emplace_back("Driver da Impressora instalado com sucesso");
        if (c.printerName && c.version.major == 4) messages.emplace_back(SetupString(IDS_RESTART_QUESTION));
        EXPECT_EQ(f.Messages(), messages) << c.what;
        ASSERT_EQ(f.workerSaw.has_value(), c.printerName != nullptr) << c.what;
        EXPECT_EQ(f.frame.closed, c.printerName != nullptr) << c.what;
        if (c.printerName) {
            EXPECT_EQ(f.workerSaw->printerName, c.printerName) << c.what;
            EXPECT_EQ(f.workerSaw->printerPort, c.port) << c.what;
            EXPECT_EQ(f.workerSaw->portKind, kPortUsb) << c.what;
        } else {
            EXPECT_EQ(f.wizard.currentPage(), kPort) << c.what;
        }
        const auto& writes = f.machine.usb.writes;
        ASSERT_EQ(writes.size(), c.lastByte < 0 ? 0u : 1u) << c.what;
        if (c.lastByte >= 0) {
            EXPECT_EQ(writes[0].bytes.back(), c.lastByte) << c.what;
        }
        const auto& started = f.machine.desktop.started;
        ASSERT_EQ(started.size(), c.toolStarted ? 1u : 0u) << c.what;
        if (c.toolStarted) {
            EXPECT_EQ(started[0].path,
                      "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\USBDrv\\Install.exe")
                << c.what;
            EXPECT_EQ(started[0].parameters, "2") << c.what;
        }
        const auto record =
            f.machine.registry.Value(plat::RootKey::LocalMachine, "SOFTWARE\\MERIDAN\\PORTNAME\\", c.port);
        ASSERT_EQ(record.has_value(), c.recorded >= 0) << c.what;
        if (record) {
            EXPECT_EQ(record->data, (std::vector<std::uint8_t>{static_cast<std::uint8_t>(c.recorded), 0, 0, 0}))
                << c.what;
        }
        EXPECT_TRUE(f.machine.usb.openDevices.empty()) << c.what;
        EXPECT_EQ(f.machine.registry.OpenHandleCount(), 0u) << c.what;
    }
}

}  // namespace

namespace {

// Whatever the worker throws ends on its own thread as a failed installation
// that the wizard reports; nothing reaches the thread's entry.
TEST(SetupWizardInstall, AWorkerThatThrowsIsReportedAsAFailure) {
    WizardFixture f(kXp);
    f.workerThrows = true;
    InstallOn(f, kModuleReceipt, "KTR-P410", "LPT1:");
    ASSERT_TRUE(f.workerSaw);
    EXPECT_EQ(f.Messages(), std::vector<std::string>{std::string(kWorkerFailed)});
    EXPECT_TRUE(f.frame.closed);
}

}  // namespace
