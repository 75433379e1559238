// The real Setup.exe installs printers under Wine, walked through as a person
// would: a receipt printer on LPT1: made the default printer, a ticket printer
// on a virtual serial port, and the receipt printer once more on LPT1:. Then
// the machine is read back as an administrator would: printers, the driver
// with its files, the monitors and the processor with their version values,
// the serial settings, the files in the system's folders, and the
// plug-in's pages reached through the installed configuration module.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "automation/automation.h"
#include "automation/system_folders.h"
#include "automation/setup_walk.h"
#include "worker_thread.h"

namespace {

using namespace setup_walk;

// A property sheet's tab control, whoever titles the sheet.
constexpr int kSheetTabControl = 0x3020;

std::wstring Profile(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(section, key, L"", value, 256, file.c_str());
    return value;
}

bool ReadDword(const std::wstring& key, const wchar_t* name, DWORD* value) {
    DWORD size = sizeof *value;
    return RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, value, &size) ==
           ERROR_SUCCESS;
}

std::wstring ReadString(const std::wstring& key, const wchar_t* name) {
    wchar_t value[256] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"(none)";
    return value;
}

class SetupInstallWine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = automation::StagedPackage();
        ASSERT_FALSE(folder.empty()) << "PP_STAGE_DIR names the staged package";
        ASSERT_TRUE(automation::SetWineAppVersion(L"Setup.exe", L"win7"));
        RemoveWhatSetupInstalls();
        // Jobs on LPT1: reach a Unix file.
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        portFile = std::wstring(temp) + L"pp-install-lpt1.out";
        DeleteFileW(portFile.c_str());
    }
    static void TearDownTestSuite() { automation::ClearWineAppDefaults(L"Setup.exe"); }

    void Install(const Choice& choice, InstallRun* run) { setup_walk::Install(folder, choice, run); }

    static inline std::wstring folder;
    static inline std::wstring portFile;
};

const Choice kReceiptAgain{IDC_MODULE_RECEIPT, IDC_MODELS_RECEIPT, L"KTR-P410", L"LPT1:", nullptr, true, "c"};

TEST_F(SetupInstallWine, InstallsPrintersThatTheSpoolerAndRegistryHold) {
    const std::wstring receiptIni = folder + L"\\DRVCONFIG\\setup_receipt.ini";
    const std::wstring setupIni = folder + L"\\DRVCONFIG\\setup.ini";

    // (a) The receipt printer on LPT1:, made the default printer.
    InstallRun a;
    ASSERT_NO_FATAL_FAILURE(Install(kReceiptOnLpt, &a));
    EXPECT_TRUE(a.progressSeen) << "the progress window showed while the worker ran";
    if (a.barPositionSeen >= 10) {
        EXPECT_TRUE(a.barPainted) << "the bar at " << a.barPositionSeen << " was not painted";
    } else {
        std::printf("[ install  ] a: the bar was not caught between 10 and 100 (%d); its painting is not judged\n",
                    a.barPositionSeen);
    }
    EXPECT_EQ(a.message, kInstalled);
    EXPECT_TRUE(a.exited && a.exitCode == 0) << "Setup ends after the message";

    std::vector<PrinterSeen> printers = Printers();
    const PrinterSeen* receipt = FindPrinter(printers, L"KTR-P410(P)");
    ASSERT_NE(receipt, nullptr) << "printer KTR-P410(P)";
    EXPECT_EQ(receipt->port, L"LPT1:");
    // A parallel port takes the raster keys of the model section.
    EXPECT_EQ(receipt->driver, Profile(receiptIni, L"KTR-P410.WIN7", L"GDIDriverName"));
    EXPECT_EQ(receipt->processor, L"KTRPrint");
    EXPECT_EQ(receipt->attributes & 576u, 576u) << "ATTRIBUTES=576 of the model section";
    wchar_t defaultPrinter[256] = {};
    DWORD size = 256;
    EXPECT_TRUE(GetDefaultPrinterW(defaultPrinter, &size));
    EXPECT_STREQ(defaultPrinter, L"KTR-P410(P)");

    DriverSeen driver;
    ASSERT_TRUE(ReadDriver(L"KTR-P410(P)", &driver)) << "error " << GetLastError();
    EXPECT_EQ(driver.version, 3u);
    EXPECT_EQ(driver.driverPath, L"UNIDRV.DLL");
    EXPECT_EQ(driver.dataFile, L"KTRP410G.GPD");
    EXPECT_EQ(driver.configFile, L"UNIDRVUI.DLL");
    EXPECT_EQ(driver.helpFile, L"UNIDRV.HLP");
    EXPECT_EQ(driver.dependentFiles,
              (std::vector<std::wstring>{L"KTRP410G.GPD", L"TTFSUB.GPD", L"UNIRES.DLL", L"STDNAMES.GPD", L"KTRRES.DLL",
                                         L"7404VXUI.DLL", L"KTRREND.DLL", L"KTRREND.INI"}));
    // The files the spooler holds for the driver are the package's, the
    // built ones among them.
    for (const wchar_t* file : {L"UNIDRVUI.DLL", L"7404VXUI.DLL", L"KTRP410G.GPD", L"KTRREND.INI", L"UNIRES.DLL"}) {
        EXPECT_EQ(ReadAll(driver.folder + L"\\" + file), ReadAll(folder + L"\\win7\\" + file))
            << automation::Narrow(file) << " in " << automation::Narrow(driver.folder);
    }
    EXPECT_EQ(ReadAll(automation::DriverDirectory() + L"\\3\\7404VXCONTROL.INI"),
              ReadAll(folder + L"\\win7\\7404VXCONTROL.INI"))
        << "the control-font file";

    // The processor: registered, its version value, its file.
    EXPECT_TRUE(Contains(Names<PRINTPROCESSOR_INFO_1W>(EnumPrintProcessorsW, 1), L"KTRPrint"));
    DWORD version = 0;
    EXPECT_TRUE(ReadDword(std::wstring(kProcessorsKey) + L"KTRPrint", L"DriverVersion", &version));
    EXPECT_EQ(std::to_wstring(version), Profile(setupIni, L"ProcessorVersion", L"DriverVersion"));
    EXPECT_EQ(ReadAll(automation::ProcessorDirectory() + L"\\KTRPROC.DLL"), ReadAll(folder + L"\\win7\\KTRPROC.DLL"));
    // A parallel port needs no monitor of the package.
    EXPECT_FALSE(Contains(Names<MONITOR_INFO_1W>(EnumMonitorsLevel, 1), L"KTR Serial Port"));

    // The plug-in's document pages, through the installed configuration module.
    {
        HANDLE printer = nullptr;
        ASSERT_TRUE(OpenPrinterW(const_cast<wchar_t*>(L"KTR-P410(P)"), &printer, nullptr));
        const LONG size =
            DocumentPropertiesW(nullptr, printer, const_cast<wchar_t*>(L"KTR-P410(P)"), nullptr, nullptr, 0);
        ASSERT_GT(size, static_cast<LONG>(sizeof(DEVMODEW))) << "the module adds its private part";
        std::vector<BYTE> output(size);
        LONG result = -100;
        plat::WorkerThread shown;
        ASSERT_TRUE(shown.Start([&] {
            result =
                DocumentPropertiesW(nullptr, printer, const_cast<wchar_t*>(L"KTR-P410(P)"),
                                    reinterpret_cast<DEVMODEW*>(output.data()), nullptr, DM_IN_PROMPT | DM_OUT_BUFFER);
        }));
        HWND sheet = automation::WaitForDialogWith(GetCurrentProcessId(), kSheetTabControl, 15000);
        if (sheet) {
            EXPECT_EQ(automation::TabCaptions(sheet), (std::vector<std::string>{"Principal", "Marca d'água", "Operação",
                                                                                "Código 1D", "Código 2D", "Versão"}));
            EXPECT_TRUE(automation::SaveArtifactScreenshot(sheet, "install-a-document-sheet"));
            automation::Click(sheet, IDOK);
        }
        shown.Join();
        ClosePrinter(printer);
        ASSERT_NE(sheet, nullptr) << "DocumentProperties shows the plug-in's sheet";
        EXPECT_GT(result, 0);
    }

    // A raw job on the new printer goes through the installed processor.
    {
        using ToUnix = char*(CDECL*)(LPCWSTR);
        auto toUnix = reinterpret_cast<ToUnix>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        ASSERT_NE(toUnix, nullptr);
        char* unixPath = toUnix(portFile.c_str());
        ASSERT_NE(unixPath, nullptr);
        const std::wstring mapped = automation::Widen(unixPath);
        HeapFree(GetProcessHeap(), 0, unixPath);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Printing\\Spooler", 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, L"LPT1:", 0, REG_SZ, reinterpret_cast<const BYTE*>(mapped.c_str()),
                       static_cast<DWORD>((mapped.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        HANDLE printer = nullptr;
        ASSERT_TRUE(OpenPrinterW(const_cast<wchar_t*>(L"KTR-P410(P)"), &printer, nullptr));
        DOC_INFO_1W document{const_cast<wchar_t*>(L"Autoteste"), nullptr, const_cast<wchar_t*>(L"RAW")};
        EXPECT_NE(StartDocPrinterW(printer, 1, reinterpret_cast<BYTE*>(&document)), 0u);
        char bytes[] = "\x1B@KTR\n";
        DWORD written = 0;
        EXPECT_TRUE(WritePrinter(printer, bytes, sizeof bytes - 1, &written));
        EXPECT_TRUE(EndDocPrinter(printer)) << "error " << GetLastError();
        ClosePrinter(printer);
        EXPECT_TRUE(automation::WaitUntil([&] { return ReadAll(portFile) == "\x1B@KTR\n"; }, 5000))
            << "the port file holds \"" << ReadAll(portFile) << "\"";
        EXPECT_NE(ReadAll(automation::ProcessorDirectory() + L"\\KTRPROC.log")
                      .find("PrintDocumentOnPrintProcessor KTR-P410(P)"),
                  std::string::npos)
            << ReadAll(automation::ProcessorDirectory() + L"\\KTRPROC.log");
    }

    // (b) The ticket printer on the first virtual serial port: the serial
    // port monitor is installed, and the serial settings are kept.
    InstallRun b;
    ASSERT_NO_FATAL_FAILURE(Install(kTicketOnSerial, &b));
    EXPECT_EQ(b.message, kInstalled);
    printers = Printers();
    const PrinterSeen* ticket = FindPrinter(printers, L"KTR-Q350(S)");
    ASSERT_NE(ticket, nullptr) << "printer KTR-Q350(S)";
    EXPECT_TRUE(ticket->port == L"MDCOM1:" || ticket->port == L"COM1:") << automation::Narrow(ticket->port);
    EXPECT_EQ(ticket->driver, Profile(folder + L"\\DRVCONFIG\\setup_Ticket.ini", L"KTR-Q350.Win7", L"STDDriverName"))
        << "a serial port takes the plain keys";
    size = 256;
    EXPECT_TRUE(GetDefaultPrinterW(defaultPrinter, &size));
    EXPECT_STREQ(defaultPrinter, L"KTR-P410(P)") << "the second printer was not made the default";
    const std::vector<std::wstring> monitors = Names<MONITOR_INFO_1W>(EnumMonitorsLevel, 1);
    EXPECT_TRUE(Contains(monitors, L"KTR Serial Port"));
    EXPECT_FALSE(Contains(monitors, L"KTR USB Port")) << "no USB port was chosen";
    EXPECT_TRUE(ReadDword(std::wstring(kMonitorsKey) + L"KTR Serial Port", L"DriverVersion", &version));
    EXPECT_EQ(std::to_wstring(version), Profile(setupIni, L"COMMON-MONITOR.WIN7", L"COMMONitorVersion"));
    EXPECT_EQ(ReadString(std::wstring(kMonitorsKey) + L"KTR Serial Port", L"Driver"), L"KTRCOMMN.DLL");
    for (const wchar_t* file : {L"KTRCOMMN.DLL", L"KTRCOMUI.DLL"}) {
        EXPECT_EQ(ReadAll(automation::SystemDirectory() + L"\\" + file), ReadAll(folder + L"\\win7\\" + file))
            << automation::Narrow(file) << " in the system directory";
    }
    EXPECT_NE(ReadAll(automation::SystemDirectory() + L"\\KTRCOMMN.log").find("InitializePrintMonitor2"),
              std::string::npos)
        << "Wine's AddMonitor loaded the monitor";
    ASSERT_FALSE(b.serialSettings.empty()) << "the port page showed serial settings";
    EXPECT_EQ(ReadString(kPortsKey, L"COM1:"), b.serialSettings);

    // (c) The receipt printer again on LPT1:. Windows refuses the existing
    // name (1802) and Setup takes "KTR-P410(P)(1)"; Wine 8's AddPrinter
    // accepts the name and overwrites the printer, so no second printer.
    InstallRun c;
    ASSERT_NO_FATAL_FAILURE(Install(kReceiptAgain, &c));
    EXPECT_EQ(c.message, kInstalled);
    printers = Printers();
    const bool refused = FindPrinter(printers, L"KTR-P410(P)(1)") != nullptr;
    std::printf("[ install  ] c: Wine's spooler %s\n",
                refused ? "refused the existing name: KTR-P410(P)(1) was made"
                        : "accepted the existing name and overwrote KTR-P410(P): no KTR-P410(P)(1)");
    EXPECT_FALSE(refused) << "Wine 8 overwrites; a Wine that refuses with 1802 makes KTR-P410(P)(1)";
    EXPECT_NE(FindPrinter(printers, L"KTR-P410(P)"), nullptr);
    EXPECT_EQ(std::count_if(printers.begin(), printers.end(),
                            [](const PrinterSeen& p) { return p.name.rfind(L"KTR-P410(P)", 0) == 0; }),
              1);
}

// The "Spooler" service, opened once so that its state can be asked as often
// as the stopped window of an update needs.
class SpoolerService {
public:
    SpoolerService() {
        manager_ = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
        if (manager_) service_ = OpenServiceW(manager_, L"Spooler", SERVICE_QUERY_STATUS | SERVICE_START);
    }
    ~SpoolerService() {
        if (service_) CloseServiceHandle(service_);
        if (manager_) CloseServiceHandle(manager_);
    }
    SpoolerService(const SpoolerService&) = delete;
    SpoolerService& operator=(const SpoolerService&) = delete;

    bool opened() const { return service_ != nullptr; }
    // SERVICE_STATUS.dwCurrentState; 0 when it cannot be read.
    DWORD State() const {
        SERVICE_STATUS status{};
        return service_ && QueryServiceStatus(service_, &status) ? status.dwCurrentState : 0;
    }
    // Started (unless it runs) and waited for; true when it runs.
    bool StartAndWait() const {
        if (State() != SERVICE_RUNNING && !StartServiceW(service_, 0, nullptr) &&
            GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) {
            return false;
        }
        return automation::WaitUntil([&] { return State() == SERVICE_RUNNING; }, 10000);
    }

private:
    SC_HANDLE manager_ = nullptr;
    SC_HANDLE service_ = nullptr;
};

bool WriteDword(const std::wstring& key, const wchar_t* name, DWORD value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return false;
    const bool written = RegSetValueExW(opened, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                        sizeof value) == ERROR_SUCCESS;
    RegCloseKey(opened);
    return written;
}

const wchar_t* StateName(DWORD state) {
    switch (state) {
        case SERVICE_STOPPED:
            return L"stopped";
        case SERVICE_START_PENDING:
            return L"start pending";
        case SERVICE_STOP_PENDING:
            return L"stop pending";
        case SERVICE_RUNNING:
            return L"running";
        default:
            return L"unreadable";
    }
}

const Choice kTicketToBeKilled{IDC_MODULE_TICKET, IDC_MODELS_TICKET, L"KTR-Q350", L"MDCOM1:", L"COM1:", false,
                               "killed"};
const Choice kReceiptAfterTheKill{IDC_MODULE_RECEIPT, IDC_MODELS_RECEIPT, L"KTR-P410", L"LPT1:", nullptr, false,
                                  "after-kill"};

// Setup killed while the spooler is stopped for the replacement of an older
// serial port monitor leaves a machine on which nothing prints. The next run
// of Setup, on a parallel port, has nothing to update and so would never
// stop and start the spooler itself: it must start the stopped spooler
// before it installs.
TEST_F(SetupInstallWine, ASetupKilledWithTheSpoolerStoppedLeavesTheNextRunToStartIt) {
    const std::wstring monitorKey = std::wstring(kMonitorsKey) + L"KTR Serial Port";
    const std::wstring configuredVersion =
        Profile(folder + L"\\DRVCONFIG\\setup.ini", L"COMMON-MONITOR.WIN7", L"COMMONitorVersion");
    SpoolerService spooler;
    ASSERT_TRUE(spooler.opened()) << "the Spooler service cannot be opened: error " << GetLastError();
    // Whatever happens below, later tests find the spooler running and the
    // monitor at the package's version.
    struct Restore {
        const SpoolerService& spooler;
        const std::wstring& key;
        const std::wstring& version;
        ~Restore() {
            WriteDword(key, L"DriverVersion", static_cast<DWORD>(std::wcstoul(version.c_str(), nullptr, 10)));
            if (!spooler.StartAndWait()) ADD_FAILURE() << "the spooler does not run for the tests after this one";
        }
    } restore{spooler, monitorKey, configuredVersion};

    // The serial port monitor installed, then made older than the package's.
    if (!Contains(Names<MONITOR_INFO_1W>(EnumMonitorsLevel, 1), L"KTR Serial Port")) {
        InstallRun monitorInstalled;
        ASSERT_NO_FATAL_FAILURE(Install(kTicketOnSerial, &monitorInstalled));
        ASSERT_EQ(monitorInstalled.message, kInstalled);
    }

    // Setup run on the serial port: the update stops the spooler; the test
    // kills Setup as soon as it reads the spooler stopped (or stopping). Setup
    // waits 600 ms with the spooler stopped before it copies the monitor
    // file, so the kill lands inside that window; a try where it does not
    // (the spooler seen running again after the kill) is made again.
    bool killedWithTheSpoolerStopped = false;
    for (int attempt = 1; attempt <= 3 && !killedWithTheSpoolerStopped; ++attempt) {
        ASSERT_TRUE(WriteDword(monitorKey, L"DriverVersion", 0)) << "the serial monitor's key is missing";
        ASSERT_TRUE(spooler.StartAndWait()) << "the spooler must run before Setup stops it";
        automation::Process setup;
        HWND wizard = nullptr;
        InstallRun run;
        ASSERT_NO_FATAL_FAILURE(WalkToInstall(folder, kTicketToBeKilled, &setup, &wizard, &run));
        ASSERT_EQ(spooler.State(), static_cast<DWORD>(SERVICE_RUNNING)) << "the spooler stopped before Install";
        const DWORD start = GetTickCount();
        automation::Click(wizard, IDOK);
        DWORD seen = SERVICE_RUNNING;
        bool finished = false;
        for (unsigned polls = 0; GetTickCount() - start < 60000; ++polls) {
            seen = spooler.State();
            if (seen == SERVICE_STOPPED || seen == SERVICE_STOP_PENDING) break;
            // Setup's final message, or its end: the stopped window was missed.
            if (polls % 64 == 0) {
                HWND box = VisibleWindowWith(setup.id(), 0xFFFF);
                if ((box && box != wizard) || !setup.running()) {
                    finished = true;
                    break;
                }
            }
        }
        const DWORD seenAfter = GetTickCount() - start;
        ASSERT_FALSE(finished) << "Setup finished without the spooler being seen stopped; the older monitor was "
                               << "not replaced";
        ASSERT_TRUE(seen == SERVICE_STOPPED || seen == SERVICE_STOP_PENDING)
            << "the spooler was never seen stopped within a minute of Install";
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, setup.id());
        ASSERT_NE(process, nullptr) << "Setup cannot be opened to be killed: error " << GetLastError();
        const BOOL terminated = TerminateProcess(process, 0xDEAD);
        CloseHandle(process);
        ASSERT_TRUE(terminated) << "TerminateProcess: error " << GetLastError();
        DWORD exitCode = 0;
        ASSERT_TRUE(setup.WaitForExit(10000, &exitCode));
        ASSERT_EQ(exitCode, 0xDEADu) << "Setup ended by itself, not by the kill";
        // A stop still under way comes to its end.
        automation::WaitUntil([&] { return spooler.State() != SERVICE_STOP_PENDING; }, 5000);
        const DWORD left = spooler.State();
        DWORD version = 99;
        ReadDword(monitorKey, L"DriverVersion", &version);
        std::printf(
            "[ install  ] killed, try %d: the spooler read %s %lu ms after Install; after the kill it is %s, "
            "the monitor's version value %lu\n",
            attempt, automation::Narrow(StateName(seen)).c_str(), seenAfter,
            automation::Narrow(StateName(left)).c_str(), version);
        killedWithTheSpoolerStopped = left == SERVICE_STOPPED;
    }
    ASSERT_TRUE(killedWithTheSpoolerStopped) << "Setup was never killed with the spooler left stopped";

    // The second run: nothing to update on a parallel port.
    RemovePrinter(L"KTR-P410(P)");
    ASSERT_EQ(FindPrinter(Printers(), L"KTR-P410(P)"), nullptr);
    InstallRun second;
    ASSERT_NO_FATAL_FAILURE(Install(kReceiptAfterTheKill, &second));
    EXPECT_EQ(second.message, kInstalled);
    EXPECT_TRUE(second.exited && second.exitCode == 0) << "Setup ends after the message";
    EXPECT_NE(FindPrinter(Printers(), L"KTR-P410(P)"), nullptr) << "the second run installed no printer";
    const DWORD after = spooler.State();
    std::printf("[ install  ] after the second run the spooler is %s\n", automation::Narrow(StateName(after)).c_str());
    EXPECT_EQ(after, static_cast<DWORD>(SERVICE_RUNNING))
        << "the second run left the spooler " << automation::Narrow(StateName(after));
}

// Windows 10 gets code 0 like Windows 98/Me, but no button of the OS page
// stands for it: the page says the driver does not work there, and Install
// refuses with the same text instead of installing the Windows 98/Me driver
// set on an NT system.
class SetupUnsupportedSystemWine : public ::testing::Test {
protected:
    void SetUp() override {
        folder = automation::StagedPackage();
        ASSERT_FALSE(folder.empty()) << "PP_STAGE_DIR names the staged package";
        ASSERT_TRUE(automation::SetWineAppVersion(L"Setup.exe", L"win10"));
    }
    // Later tests in this prefix see Wine's default version again.
    void TearDown() override { automation::ClearWineAppDefaults(L"Setup.exe"); }

    std::wstring folder;
};

constexpr const wchar_t* kNotSupported =
    L"Este driver não funciona neste sistema.\nFavor clicar \"Cancelar\" para cancelar este programa";

std::vector<std::wstring> PrinterNames() {
    std::vector<std::wstring> names;
    for (const auto& printer : Printers()) names.push_back(printer.name);
    return names;
}

TEST_F(SetupUnsupportedSystemWine, Windows10IsToldAndGetsNothingInstalled) {
    const std::vector<std::wstring> printersBefore = PrinterNames();
    const std::vector<std::wstring> driversBefore = Names<DRIVER_INFO_1W>(EnumPrinterDriversW, 1);
    const std::vector<std::wstring> monitorsBefore = Names<MONITOR_INFO_1W>(EnumMonitorsLevel, 1);

    automation::Process setup;
    ASSERT_TRUE(setup.Start(folder + L"\\Setup.exe", folder)) << "error " << GetLastError();
    // The OS page starts with the wizard and tells at once.
    HWND box = automation::WaitForMessageBox(setup.id(), 20000);
    ASSERT_NE(box, nullptr) << "no message at the start";
    EXPECT_EQ(automation::Text(GetDlgItem(box, 0xFFFF)), kNotSupported);
    automation::Click(box, IDOK);
    ASSERT_TRUE(automation::WaitUntil([&] { return !IsWindow(box); }, 5000));
    HWND wizard = automation::WaitForDialog(setup.id(), kCaption, 20000);
    ASSERT_NE(wizard, nullptr) << "the wizard did not appear";

    ASSERT_NE(WaitForVisiblePage(wizard, IDC_MODULE_GROUP), nullptr);
    automation::Click(wizard, IDOK);
    ASSERT_NE(WaitForVisiblePage(wizard, IDC_INSTALL_TYPE_GROUP), nullptr);
    automation::Click(wizard, IDOK);
    HWND os = WaitForVisiblePage(wizard, IDC_OS_GROUP);
    ASSERT_NE(os, nullptr);
    for (int button : {IDC_OS_WIN98ME, IDC_OS_NT, IDC_OS_WIN2000, IDC_OS_WINXP, IDC_OS_SERVER2003, IDC_OS_VISTA,
                       IDC_OS_SERVER2008, IDC_OS_WIN7}) {
        EXPECT_FALSE(automation::IsChecked(os, button)) << "button " << button;
    }
    automation::Click(wizard, IDOK);
    HWND port = nullptr;
    std::vector<std::wstring> messages;
    bool answered = true;
    automation::WaitUntil(
        [&] {
            if (!(answered = AnswerMessageBox(setup.id(), wizard, &messages))) return true;
            port = automation::FindChildDialogWith(wizard, IDC_PORTS);
            return port && IsWindowVisible(port) && automation::Text(GetDlgItem(wizard, IDOK)) == L"Instalar(&I)";
        },
        20000);
    ASSERT_TRUE(answered);
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(IsWindowVisible(port)) << "the port page did not show";
    ASSERT_TRUE(automation::SelectItem(port, IDC_PORTS, L"LPT1:"));

    // Install: the same text, no progress window, the wizard stays.
    automation::Click(wizard, IDOK);
    HWND refusal = nullptr;
    automation::WaitUntil(
        [&] {
            HWND found = VisibleWindowWith(setup.id(), 0xFFFF);
            refusal = found != wizard ? found : nullptr;
            return refusal != nullptr || VisibleWindowWith(setup.id(), IDC_PROGRESS_BAR) != nullptr;
        },
        20000);
    EXPECT_EQ(VisibleWindowWith(setup.id(), IDC_PROGRESS_BAR), nullptr) << "the worker was started";
    ASSERT_NE(refusal, nullptr) << "no message after Install";
    EXPECT_EQ(automation::Text(GetDlgItem(refusal, 0xFFFF)), kNotSupported);
    EXPECT_TRUE(automation::SaveArtifactScreenshot(refusal, "install-windows10-refused"));
    automation::Click(refusal, IDOK);
    ASSERT_TRUE(automation::WaitUntil([&] { return !IsWindow(refusal); }, 5000));
    EXPECT_TRUE(IsWindowVisible(port)) << "the wizard stays on the port page";

    automation::Click(wizard, IDCANCEL);
    DWORD exitCode = 1;
    EXPECT_TRUE(setup.WaitForExit(10000, &exitCode)) << "Cancel must end the program";
    EXPECT_EQ(exitCode, 0u);

    EXPECT_EQ(PrinterNames(), printersBefore) << "a printer was added";
    EXPECT_EQ(Names<DRIVER_INFO_1W>(EnumPrinterDriversW, 1), driversBefore) << "a driver was added";
    EXPECT_EQ(Names<MONITOR_INFO_1W>(EnumMonitorsLevel, 1), monitorsBefore) << "a monitor was added";
}

}  // namespace
