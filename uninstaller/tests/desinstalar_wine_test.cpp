// The real Desinstalar.exe under Wine, after the real Setup.exe has installed
// a receipt printer on LPT1: and a ticket printer on the first virtual serial
// port: what it lists, a printer ticked and removed with its driver as a
// person would do it, the restart question answered "&Não", the spooler
// running after a processor's removal, the files beside it left as they
// were, and the two starts it refuses (a second Desinstalar, an open
// installation wizard).
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "automation/automation.h"
#include "automation/fit_tally.h"
#include "automation/setup_walk.h"
#include "automation/desinstalar_walk.h"
#include "resource.h"

namespace {

using desinstalar_walk::Joined;
using desinstalar_walk::kCaption;
using desinstalar_walk::kSelectPrinters;

std::vector<std::wstring> DriverNames() {
    DWORD needed = 0, count = 0;
    EnumPrinterDriversW(nullptr, nullptr, 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + sizeof(DRIVER_INFO_1W));
    std::vector<std::wstring> names;
    if (!EnumPrinterDriversW(nullptr, nullptr, 1, buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &count))
        return names;
    for (DWORD i = 0; i < count; ++i) names.push_back(reinterpret_cast<const DRIVER_INFO_1W*>(buffer.data())[i].pName);
    return names;
}

// Whether the caption's icon shows the red cross of the uninstaller's icon.
// Under Wine 8, WM_GETICON sent from another process answers 0 even for a
// window whose caption shows its icon (Setup's wizard too), so the screen is
// read instead.
bool CaptionShowsRedCross(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    HDC screen = GetDC(nullptr);
    bool red = false;
    for (int y = 0; y < GetSystemMetrics(SM_CYCAPTION) + 4 && !red; ++y) {
        for (int x = 0; x < 28 && !red; ++x) {
            const COLORREF color = GetPixel(screen, frame.left + x, frame.top + y);
            red = GetRValue(color) > 150 && GetGValue(color) < 90 && GetBValue(color) < 90;
        }
    }
    ReleaseDC(nullptr, screen);
    return red;
}

class DesinstalarWine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = automation::StagedPackage();
        ASSERT_FALSE(folder.empty()) << "PP_STAGE_DIR names the staged package";
        // Windows 7 for both: the uninstaller deletes a printer's driver with
        // the printer only on the NT family from Windows 2000 on.
        ASSERT_TRUE(automation::SetWineAppVersion(L"Setup.exe", L"win7"));
        ASSERT_TRUE(automation::SetWineAppVersion(L"Desinstalar.exe", L"win7"));
    }
    static void TearDownTestSuite() {
        automation::ClearWineAppDefaults(L"Setup.exe");
        automation::ClearWineAppDefaults(L"Desinstalar.exe");
    }

    static bool StartUninstaller(automation::Process* process) { return desinstalar_walk::Start(folder, process); }

    static inline std::wstring folder;
};

TEST_F(DesinstalarWine, RemovesATickedPrinterWithItsDriverAndOffersARestart) {
    setup_walk::RemoveWhatSetupInstalls();
    setup_walk::InstallRun receipt, ticket;
    ASSERT_NO_FATAL_FAILURE(setup_walk::Install(folder, setup_walk::kReceiptOnLpt, &receipt));
    ASSERT_EQ(receipt.message, setup_walk::kInstalled);
    ASSERT_NO_FATAL_FAILURE(setup_walk::Install(folder, setup_walk::kTicketOnSerial, &ticket));
    ASSERT_EQ(ticket.message, setup_walk::kInstalled);
    const std::vector<setup_walk::PrinterSeen> before = setup_walk::Printers();
    const setup_walk::PrinterSeen* installed = setup_walk::FindPrinter(before, L"KTR-P410(P)");
    ASSERT_NE(installed, nullptr);
    const std::wstring receiptDriver = installed->driver;

    // (b) The list: the package's printers, then its monitors, then its
    // processors, each matched by the patterns of Uninstall.ini.
    automation::Process uninstaller;
    DWORD start = GetTickCount();
    ASSERT_TRUE(StartUninstaller(&uninstaller)) << "Desinstalar.exe did not start: error " << GetLastError();
    HWND dialog = automation::WaitForDialog(uninstaller.id(), kCaption, 20000);
    ASSERT_NE(dialog, nullptr) << "the uninstaller's dialog did not appear";
    std::printf("[ uninst   ] the dialog showed %lu ms after the start\n", GetTickCount() - start);
    HWND list = GetDlgItem(dialog, IDC_ITEMS);
    ASSERT_NE(list, nullptr);
    const std::vector<std::wstring> listed = automation::ListViewItems(list);
    std::printf("[ uninst   ] listed:%s\n", Joined(listed).c_str());
    EXPECT_EQ(listed, (std::vector<std::wstring>{L"KTR-P410(P)", L"KTR-Q350(S)", L"KTR Serial Port", L"KTRPrint"}));
    EXPECT_EQ(automation::ListBoxLines(dialog, IDC_LOG), std::vector<std::wstring>{kSelectPrinters});
    EXPECT_EQ(automation::Text(GetDlgItem(dialog, IDC_INSTRUCTION)),
              L"Favor selecionar as impressoras a serem desinstaladas. Você pode especificar múltiplas impressoras "
              L"para desinstalar");
    const LRESULT extended = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_EQ(extended & (LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_TRACKSELECT),
              LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_TRACKSELECT);
    EXPECT_TRUE(automation::SaveArtifactScreenshot(dialog, "uninstaller-list"));
    // "&Selecionar Tudo" and "&Sair" share their letter by their fixed texts.
    automation::ExpectScreenFits("Desinstalar", dialog, "dialog", L"S");
    EXPECT_TRUE(CaptionShowsRedCross(dialog)) << "the caption shows the uninstaller's icon";
    // The dialog has no default button: Enter does nothing.
    EXPECT_TRUE(automation::PressKey(dialog, VK_RETURN));
    EXPECT_TRUE(uninstaller.running());
    EXPECT_EQ(automation::ListBoxLines(dialog, IDC_LOG), std::vector<std::wstring>{kSelectPrinters});

    // The system menu's about entry opens the about box (the menu itself
    // belongs to the other process and cannot be read from here).
    PostMessageW(dialog, WM_SYSCOMMAND, IDM_ABOUT, 0);
    HWND about = automation::WaitForDialog(uninstaller.id(), L"Sobre Desinstalador", 10000);
    ASSERT_NE(about, nullptr) << "the about box did not appear";
    EXPECT_TRUE(automation::SaveArtifactScreenshot(about, "uninstaller-about"));
    automation::ExpectScreenFits("Desinstalar", about, "about box");
    EXPECT_TRUE(automation::PressKey(about, VK_RETURN));
    EXPECT_TRUE(automation::WaitUntil([&] { return !IsWindow(about); }, 5000)) << "Enter (OK) closes the about box";

    // (d) A second start while the first runs: the first comes back to the
    // front and the second ends by itself.
    ShowWindow(dialog, SW_MINIMIZE);
    ASSERT_TRUE(automation::WaitUntil([&] { return IsIconic(dialog) != FALSE; }, 5000));
    {
        automation::Process second;
        ASSERT_TRUE(StartUninstaller(&second));
        DWORD exitCode = 1;
        EXPECT_TRUE(second.WaitForExit(15000, &exitCode)) << "the second start ends by itself";
        EXPECT_EQ(exitCode, 0u);
    }
    EXPECT_TRUE(automation::WaitUntil([&] { return !IsIconic(dialog); }, 5000)) << "the first was restored";
    EXPECT_EQ(GetForegroundWindow(), dialog) << "the first was brought to the front";
    ASSERT_TRUE(uninstaller.running());

    // (c) KTR-P410(P) ticked and removed.
    ASSERT_FALSE(listed.empty());
    ASSERT_EQ(listed.front(), L"KTR-P410(P)");
    ASSERT_TRUE(automation::CheckListViewItem(list, 0, true));
    ASSERT_TRUE(automation::IsListViewItemChecked(list, 0));
    EXPECT_FALSE(automation::IsListViewItemChecked(list, 1));
    start = GetTickCount();
    const desinstalar_walk::Removal removal = desinstalar_walk::PressUninstall(dialog, uninstaller.id());
    EXPECT_TRUE(removal.exitDisabled) << "\"&Sair\" is disabled while the worker runs";
    HWND restart = removal.restart;
    const std::vector<std::wstring>& log = removal.log;
    std::printf("[ uninst   ] the restart question came %lu ms after \"&Desinstalar\"; the log:%s\n",
                removal.milliseconds, Joined(log).c_str());
    ASSERT_NE(restart, nullptr) << "the restart question did not appear within a minute";
    EXPECT_TRUE(automation::SaveArtifactScreenshot(restart, "uninstaller-restart"));
    automation::ExpectScreenFits("Desinstalar", restart, "restart question");
    EXPECT_FALSE(automation::IsEnabled(dialog, IDC_UNINSTALL)) << "no second run while the worker waits";
    EXPECT_FALSE(automation::IsEnabled(dialog, IDCANCEL));

    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(
        std::vector<std::wstring>(log.begin(), log.begin() + 4),
        (std::vector<std::wstring>{kSelectPrinters, L"Deletando Impressora KTR-P410(P), favor aguardar...",
                                   L"KTR-P410(P) foi deletada", L"Apagando driver da KTR-P410(P), favor aguardar..."}));
    // What the driver deletion gave: a line of its own or none.
    const std::vector<std::wstring> driverLines(log.begin() + 4, log.end());

    ASSERT_TRUE(desinstalar_walk::DeclineRestart(dialog, restart, true)) << "Esc (\"&Não\") leaves the dialog usable";
    const DWORD untilIdle = GetTickCount() - start;
    EXPECT_TRUE(automation::IsEnabled(dialog, IDC_ITEMS)) << "items remain to be removed";
    EXPECT_TRUE(automation::IsEnabled(dialog, IDC_REMOVE_USB_DRIVER));
    EXPECT_EQ(automation::ListViewItems(list),
              (std::vector<std::wstring>{L"KTR-Q350(S)", L"KTR Serial Port", L"KTRPrint"}));
    const std::vector<std::wstring> finalLog = automation::ListBoxLines(dialog, IDC_LOG);
    ASSERT_FALSE(finalLog.empty());
    EXPECT_EQ(finalLog.back(), kSelectPrinters) << "items remain: the log asks for the next choice";
    EXPECT_TRUE(automation::SaveArtifactScreenshot(dialog, "uninstaller-log"));

    // The spooler: the printer is gone, the other one stays. Wine 8's
    // DeletePrinterDriverEx refuses DPD_DELETE_UNUSED_FILES with 87, so the
    // driver stays there and the log says so; on Windows it goes.
    const std::vector<setup_walk::PrinterSeen> printers = setup_walk::Printers();
    EXPECT_EQ(setup_walk::FindPrinter(printers, L"KTR-P410(P)"), nullptr) << "the spooler still holds KTR-P410(P)";
    EXPECT_NE(setup_walk::FindPrinter(printers, L"KTR-Q350(S)"), nullptr) << "the unticked printer stays";
    const bool driverKept = setup_walk::Contains(DriverNames(), receiptDriver);
    std::printf("[ uninst   ] idle again %lu ms after \"&Desinstalar\"; driver \"%s\" %s; driver lines:%s\n", untilIdle,
                automation::Narrow(receiptDriver).c_str(), driverKept ? "still installed" : "deleted",
                Joined(driverLines).c_str());
    if (driverKept) {
        ASSERT_FALSE(driverLines.empty()) << "a driver that stays is reported in the log";
        EXPECT_EQ(driverLines.front().rfind(L"Erro ao apagar driver da impressora", 0), 0u)
            << automation::Narrow(driverLines.front());
    } else {
        for (const auto& line : driverLines)
            EXPECT_EQ(line.find(L"Erro"), std::wstring::npos) << "a deleted driver reported as an error";
    }

    EXPECT_TRUE(automation::PressKey(dialog, VK_ESCAPE));
    DWORD exitCode = 1;
    EXPECT_TRUE(uninstaller.WaitForExit(10000, &exitCode)) << "Esc (\"&Sair\") ends the program";
    EXPECT_EQ(exitCode, 0u);
}

// Every dialog template of Desinstalar; "&Selecionar Tudo" and "&Sair" share
// their letter by their fixed texts.
TEST_F(DesinstalarWine, EveryTemplateWorksFromTheKeyboard) {
    automation::ExpectTemplatesWork("Desinstalar", folder + L"\\Desinstalar.exe", {{IDD_UNINSTALLER, L"S"}});
}

// After a print processor's removal the spooler was restarted: it must run
// again, or nothing prints. Wine's service manager stops its spooler at once,
// so a stop slower than the uninstaller's wait (the spooler left stopped)
// cannot be made here; the simulation has that case. Wine's
// DeletePrintProcessor reports success and leaves the processor registered.
TEST_F(DesinstalarWine, TheSpoolerRunsAfterAProcessorRemoval) {
    setup_walk::RemoveWhatSetupInstalls();
    setup_walk::InstallRun receipt;
    ASSERT_NO_FATAL_FAILURE(setup_walk::Install(folder, setup_walk::kReceiptOnLpt, &receipt));
    ASSERT_EQ(receipt.message, setup_walk::kInstalled);

    automation::Process uninstaller;
    ASSERT_TRUE(StartUninstaller(&uninstaller)) << "Desinstalar.exe did not start: error " << GetLastError();
    HWND dialog = automation::WaitForDialog(uninstaller.id(), kCaption, 20000);
    ASSERT_NE(dialog, nullptr) << "the uninstaller's dialog did not appear";
    HWND list = GetDlgItem(dialog, IDC_ITEMS);
    const std::vector<std::wstring> listed = automation::ListViewItems(list);
    const auto processor = std::find(listed.begin(), listed.end(), L"KTRPrint");
    ASSERT_NE(processor, listed.end()) << "listed:" << Joined(listed);
    ASSERT_TRUE(automation::CheckListViewItem(list, static_cast<int>(processor - listed.begin()), true));
    const desinstalar_walk::Removal removal = desinstalar_walk::PressUninstall(dialog, uninstaller.id());
    std::printf("[ uninst   ] the processor's removal took %lu ms; the log:%s\n", removal.milliseconds,
                Joined(removal.log).c_str());
    ASSERT_NE(removal.restart, nullptr) << "the restart question did not appear within a minute";
    EXPECT_TRUE(setup_walk::Contains(removal.log, L"KTRPrint foi deletada"));
    for (const auto& line : removal.log) {
        EXPECT_TRUE(line.rfind(L"Erro ao iniciar o serviço de spool", 0) != 0 && line != L"StartSpoolService error")
            << "the spooler did not come back: " << automation::Narrow(line);
    }

    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    ASSERT_NE(manager, nullptr) << "error " << GetLastError();
    SC_HANDLE spooler = OpenServiceW(manager, L"Spooler", SERVICE_QUERY_STATUS);
    SERVICE_STATUS status{};
    const BOOL queried = spooler && QueryServiceStatus(spooler, &status);
    const DWORD error = GetLastError();
    if (spooler) CloseServiceHandle(spooler);
    CloseServiceHandle(manager);
    ASSERT_TRUE(queried) << "error " << error;
    EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING)) << "the spooler is left stopped";
    HANDLE printer = nullptr;
    EXPECT_TRUE(OpenPrinterW(const_cast<wchar_t*>(L"KTR-P410(P)"), &printer, nullptr))
        << "the spooler answers: error " << GetLastError();
    if (printer) ClosePrinter(printer);

    desinstalar_walk::DeclineRestartAndLeave(dialog, removal.restart, uninstaller);
}

// Desinstalar started from a folder of the user's own, its Uninstall.ini
// copied into the DRVCONFIG folder there, so that every entry beside the
// program is looked at before the file is found: the user's files keep their
// hidden, system and read-only marks, and Uninstall.ini loses only its
// read-only mark.
TEST_F(DesinstalarWine, LeavesTheMarksOfTheFilesBesideItAlone) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring own = std::wstring(temp) + L"Pasta do usuário";
    setup_walk::DeleteFolder(own);
    ASSERT_TRUE(CreateDirectoryW(own.c_str(), nullptr)) << "error " << GetLastError();
    ASSERT_TRUE(CreateDirectoryW((own + L"\\DRVCONFIG").c_str(), nullptr)) << "error " << GetLastError();
    for (const wchar_t* name : {L"Desinstalar.exe", L"DRVCONFIG\\Uninstall.ini"}) {
        ASSERT_TRUE(
            CopyFileW((folder + L"\\" + setup_walk::FileName(name)).c_str(), (own + L"\\" + name).c_str(), FALSE))
            << automation::Narrow(name) << ": error " << GetLastError();
    }
    struct Marked {
        const wchar_t* name;
        DWORD marks;  // as set
        DWORD after;  // as Desinstalar must leave them
    };
    const Marked files[] = {
        {L"Notas.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY,
         FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY},
        {L"Assinatura.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
         FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {L"DRVCONFIG\\Uninstall.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN},
    };
    constexpr DWORD kMarks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
    for (const Marked& file : files) {
        const std::wstring path = own + L"\\" + file.name;
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            ASSERT_TRUE(setup_walk::WriteAll(path, "do usuário\r\n")) << automation::Narrow(file.name);
        }
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), file.marks)) << automation::Narrow(file.name);
        ASSERT_EQ(GetFileAttributesW(path.c_str()) & kMarks, file.marks)
            << automation::Narrow(file.name) << ": this Wine does not keep the marks";
    }

    automation::Process uninstaller;
    ASSERT_TRUE(desinstalar_walk::Start(own, &uninstaller)) << "error " << GetLastError();
    HWND dialog = automation::WaitForDialog(uninstaller.id(), kCaption, 20000);
    ASSERT_NE(dialog, nullptr) << "the uninstaller's dialog did not appear: Uninstall.ini not found?";
    EXPECT_EQ(automation::ListBoxLines(dialog, IDC_LOG), std::vector<std::wstring>{kSelectPrinters});
    for (const Marked& file : files) {
        EXPECT_EQ(GetFileAttributesW((own + L"\\" + file.name).c_str()) & kMarks, file.after)
            << automation::Narrow(file.name);
    }
    automation::Click(dialog, IDCANCEL);
    DWORD exitCode = 1;
    EXPECT_TRUE(uninstaller.WaitForExit(10000, &exitCode)) << "\"&Sair\" ends the program";
    setup_walk::DeleteFolder(own);
}

TEST_F(DesinstalarWine, RefusesToStartWhileTheInstallationWizardIsOpen) {
    automation::Process setup;
    ASSERT_TRUE(setup.Start(folder + L"\\Setup.exe", folder)) << "Setup.exe did not start: error " << GetLastError();
    HWND wizard = automation::WaitForDialog(setup.id(), setup_walk::kCaption, 20000);
    ASSERT_NE(wizard, nullptr) << "the wizard did not appear";

    automation::Process uninstaller;
    ASSERT_TRUE(StartUninstaller(&uninstaller)) << "Desinstalar.exe did not start: error " << GetLastError();
    HWND box = automation::WaitForMessageBox(uninstaller.id(), 20000);
    ASSERT_NE(box, nullptr) << "no message from the uninstaller";
    EXPECT_EQ(automation::Text(GetDlgItem(box, 0xFFFF)),
              L"Primeiramente, favor fechar o Setup do Driver da Impressora");
    EXPECT_EQ(automation::WaitForDialogWith(uninstaller.id(), IDC_ITEMS, 0), nullptr) << "its dialog never opens";
    EXPECT_TRUE(automation::SaveArtifactScreenshot(box, "uninstaller-setup-open"));
    automation::ExpectScreenFits("Desinstalar", box, "message \"close Setup first\"");
    automation::Click(box, IDOK);
    DWORD exitCode = 1;
    EXPECT_TRUE(uninstaller.WaitForExit(10000, &exitCode)) << "the uninstaller ends after the message";

    automation::Click(wizard, IDCANCEL);
    EXPECT_TRUE(setup.WaitForExit(10000, &exitCode)) << "Cancel closes the wizard";
}

}  // namespace
