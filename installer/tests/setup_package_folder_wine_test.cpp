// The real Setup.exe and Desinstalar.exe under Wine, run from copies of the
// package where shops really keep it: unpacked into a folder on the user's
// desktop, whose name has blanks and accents (code page 1252), and copied
// from a CD, every file read-only.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "automation/automation.h"
#include "automation/system_folders.h"
#include "automation/setup_walk.h"
#include "automation/desinstalar_walk.h"

namespace {

using namespace setup_walk;

constexpr const wchar_t* kInstalledOnUsb = L"Driver de impressora instalado com sucesso\nFavor reiniciar a impressora";

const Choice kUsbPrinterAsFound{IDC_MODULE_RECEIPT, IDC_MODELS_RECEIPT, nullptr, L"USB_KTR-P410II_1", nullptr, false,
                                "desktop-usb"};
const Choice kReceiptFromTheDesktop{IDC_MODULE_RECEIPT, IDC_MODELS_RECEIPT, L"KTR-P410", L"LPT1:", nullptr, false,
                                    "desktop-lpt"};
const Choice kReceiptWithItsTableHeld{IDC_MODULE_RECEIPT,  IDC_MODELS_RECEIPT, L"KTR-P410", L"LPT1:", nullptr, false,
                                      "desktop-table-held"};
const Choice kReceiptFromTheCd{IDC_MODULE_RECEIPT, IDC_MODELS_RECEIPT, L"KTR-P410", L"LPT1:", nullptr, false, "cd"};

std::wstring UserProfile() {
    wchar_t profile[MAX_PATH] = {};
    GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
    return profile;
}

// A copy of a driver file that an installation made, and the package's file
// it came from.
struct InstalledFile {
    std::wstring installed, shipped;
};

// Every copy an installation of `driver` from `package` made of the package's
// files: each file of the driver in the spooler's driver directory (Setup's
// copy) and in its version-3 folder (Wine's AddPrinterDriver copies it on);
// the control-font file, which Setup puts in the version-3 folder itself (the
// plug-in writes the translation table into it); and the print processor.
std::vector<InstalledFile> InstalledFiles(const DriverSeen& driver, const std::wstring& package) {
    std::vector<std::wstring> files{driver.driverPath, driver.dataFile, driver.configFile, driver.helpFile};
    for (const auto& file : driver.dependentFiles)
        if (std::find(files.begin(), files.end(), file) == files.end()) files.push_back(file);
    const std::wstring shipped = package + L"\\win7\\";
    std::vector<InstalledFile> copies;
    for (const auto& file : files) {
        copies.push_back({automation::DriverDirectory() + L"\\" + file, shipped + file});
        copies.push_back({automation::DriverDirectory() + L"\\3\\" + file, shipped + file});
    }
    copies.push_back({automation::DriverDirectory() + L"\\3\\7404VXCONTROL.INI", shipped + L"7404VXCONTROL.INI"});
    copies.push_back({automation::ProcessorDirectory() + L"\\KTRPROC.DLL", shipped + L"KTRPROC.DLL"});
    return copies;
}

// Each copy holds the bytes of the package's file.
void ExpectCopiesOfThePackage(const std::vector<InstalledFile>& copies, const char* when) {
    for (const auto& copy : copies) {
        const std::string shipped = ReadAll(copy.shipped);
        ASSERT_FALSE(shipped.empty()) << automation::Narrow(copy.shipped) << " is missing or empty";
        EXPECT_EQ(ReadAll(copy.installed), shipped) << automation::Narrow(copy.installed) << " " << when;
    }
}

// Programs both run as Windows 7: the uninstaller deletes a printer's
// driver with the printer only on the NT family from Windows 2000 on.
void RunAsWindows7() {
    ASSERT_TRUE(automation::SetWineAppVersion(L"Setup.exe", L"win7"));
    ASSERT_TRUE(automation::SetWineAppVersion(L"Desinstalar.exe", L"win7"));
}

void ForgetWindowsVersions() {
    automation::ClearWineAppDefaults(L"Setup.exe");
    automation::ClearWineAppDefaults(L"Desinstalar.exe");
}

// The package unpacked into "Driver Impressora" on the desktop.
class PackageOnTheDesktopWine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::wstring stage = automation::StagedPackage();
        ASSERT_FALSE(stage.empty()) << "PP_STAGE_DIR names the staged package";
        ASSERT_FALSE(UserProfile().empty()) << "USERPROFILE names the user's folder";
        desktop = UserProfile() + L"\\Área de Trabalho";
        folder = desktop + L"\\Driver Impressora";
        DeleteFolder(folder);
        ASSERT_TRUE(CopyFolder(stage, folder)) << "copying the package failed: error " << GetLastError();
        ASSERT_NO_FATAL_FAILURE(RunAsWindows7());
    }
    static void TearDownTestSuite() {
        RemoveWhatSetupInstalls();
        DeleteFolder(folder);
        RemoveDirectoryW(desktop.c_str());  // only when nothing else lies there
        ForgetWindowsVersions();
    }
    void SetUp() override { RemoveWhatSetupInstalls(); }

    static inline std::wstring desktop, folder;
};

TEST_F(PackageOnTheDesktopWine, AttachedUsbPrinterIsPreselectedAndInstalledOnItsPort) {
    // Device value 8: identity 1, the one of the typical type's port, so
    // Install asks nothing before it installs.
    ASSERT_TRUE(AttachUsbPrinter(folder, 8));
    RemoveBulkUsbDriver();
    DeleteFileW((folder + L"\\USBDrv\\Install.log").c_str());
    InstallRun run;
    Install(folder, kUsbPrinterAsFound, &run);
    DeleteFileW((folder + L"\\MdUsbInt.ini").c_str());
    // MdUsbInt.dll is loaded by its full path, which holds "Á" here.
    EXPECT_EQ(run.messagesBeforeInstall, std::vector<std::wstring>{}) << "no message on the way to the port page";
    EXPECT_EQ(run.portPreselected, L"USB_KTR-P410II_1") << "the attached printer's port";
    if (HasFatalFailure()) return;
    EXPECT_EQ(run.message, kInstalledOnUsb);
    EXPECT_TRUE(run.exited && run.exitCode == 0) << "Setup ends after the message";
    EXPECT_EQ(ReadAll(folder + L"\\USBDrv\\Install.log"), "parameters=2\r\n") << "the USB driver tool ran";
    const std::vector<PrinterSeen> printers = Printers();
    const auto onUsb = std::find_if(printers.begin(), printers.end(),
                                    [](const PrinterSeen& printer) { return printer.port == L"USB_KTR-P410II_1"; });
    ASSERT_NE(onUsb, printers.end()) << "no printer on USB_KTR-P410II_1";
    std::printf("[ desktop  ] %s on %s with driver %s\n", automation::Narrow(onUsb->name).c_str(),
                automation::Narrow(onUsb->port).c_str(), automation::Narrow(onUsb->driver).c_str());
}

TEST_F(PackageOnTheDesktopWine, ReceiptPrinterOnLptTakesThePackagesFilesAndDesinstalarThereRemovesIt) {
    InstallRun run;
    ASSERT_NO_FATAL_FAILURE(Install(folder, kReceiptFromTheDesktop, &run));
    EXPECT_EQ(run.messagesBeforeInstall, std::vector<std::wstring>{})
        << "the port page reads MdUsbInt.dll for any port";
    EXPECT_EQ(run.message, kInstalled);
    EXPECT_TRUE(run.exited && run.exitCode == 0) << "Setup ends after the message";
    DriverSeen driver;
    ASSERT_TRUE(ReadDriver(L"KTR-P410(P)", &driver)) << "printer KTR-P410(P): error " << GetLastError();
    ExpectCopiesOfThePackage(InstalledFiles(driver, folder), "after the installation");

    // Desinstalar started in the same folder finds its Uninstall.ini there.
    automation::Process uninstaller;
    ASSERT_TRUE(desinstalar_walk::Start(folder, &uninstaller)) << "error " << GetLastError();
    HWND dialog = automation::WaitForDialogWith(uninstaller.id(), IDC_ITEMS, 20000);
    if (!dialog) {
        HWND box = automation::WaitForMessageBox(uninstaller.id(), 0);
        FAIL() << "the uninstaller's dialog did not appear; its message: \""
               << (box ? automation::Narrow(automation::Text(GetDlgItem(box, 0xFFFF))) : std::string("(none)")) << "\"";
    }
    HWND list = GetDlgItem(dialog, IDC_ITEMS);
    const std::vector<std::wstring> listed = automation::ListViewItems(list);
    EXPECT_EQ(listed, (std::vector<std::wstring>{L"KTR-P410(P)", L"KTRPrint"})) << desinstalar_walk::Joined(listed);
    ASSERT_FALSE(listed.empty());
    ASSERT_EQ(listed.front(), L"KTR-P410(P)");
    ASSERT_TRUE(automation::CheckListViewItem(list, 0, true));
    const desinstalar_walk::Removal removal = desinstalar_walk::PressUninstall(dialog, uninstaller.id());
    std::printf("[ desktop  ] the restart question came %lu ms after \"&Desinstalar\"; the log:%s\n",
                removal.milliseconds, desinstalar_walk::Joined(removal.log).c_str());
    ASSERT_NE(removal.restart, nullptr) << "the restart question did not appear within a minute";
    EXPECT_NE(std::find(removal.log.begin(), removal.log.end(), L"KTR-P410(P) foi deletada"), removal.log.end());
    desinstalar_walk::DeclineRestartAndLeave(dialog, removal.restart, uninstaller);
    EXPECT_EQ(FindPrinter(Printers(), L"KTR-P410(P)"), nullptr) << "the spooler still holds KTR-P410(P)";
}

// The package's control-font file held open by another program without
// sharing (a virus scanner, say) while no table lies in the driver's folder:
// the copy fails with 32, and with nothing there to serve, the installation
// stops with the copy's message instead of reporting success without the
// file. (A file read-only in the driver's folder would give 5 on Windows;
// Wine run as root writes over it.)
TEST_F(PackageOnTheDesktopWine, AControlFontFileThatCannotBeReadStopsTheInstallation) {
    const std::wstring shipped = folder + L"\\win7\\7404VXCONTROL.INI";
    const std::wstring installed = automation::DriverDirectory() + L"\\3\\7404VXCONTROL.INI";
    ASSERT_EQ(GetFileAttributesW(installed.c_str()), INVALID_FILE_ATTRIBUTES) << "no table before";
    HANDLE held = CreateFileW(shipped.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    InstallRun run;
    Install(folder, kReceiptWithItsTableHeld, &run);
    CloseHandle(held);
    if (HasFatalFailure()) return;
    EXPECT_EQ(run.message, L"Erro ao copiar arquivos de drivers7404VXCONTROL.INI  er = 32" + shipped);
    EXPECT_TRUE(run.exited && run.exitCode == 0) << "Setup ends after the message";
    EXPECT_EQ(GetFileAttributesW(installed.c_str()), INVALID_FILE_ATTRIBUTES) << "no table after";
    EXPECT_EQ(FindPrinter(Printers(), L"KTR-P410(P)"), nullptr) << "no printer without its control-font file";
}

// The package copied from a CD: every file read-only.
class PackageFromACdWine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::wstring stage = automation::StagedPackage();
        ASSERT_FALSE(stage.empty()) << "PP_STAGE_DIR names the staged package";
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"Driver do CD";
        DeleteFolder(folder);
        ASSERT_TRUE(CopyFolder(stage, folder)) << "copying the package failed: error " << GetLastError();
        ASSERT_TRUE(SetReadOnly(folder, true)) << "error " << GetLastError();
        ASSERT_NO_FATAL_FAILURE(RunAsWindows7());
    }
    static void TearDownTestSuite() {
        RemoveWhatSetupInstalls();
        DeleteFolder(folder);
        ForgetWindowsVersions();
    }
    void SetUp() override { RemoveWhatSetupInstalls(); }

    static inline std::wstring folder;
};

TEST_F(PackageFromACdWine, CopiesAreWritableAndASecondInstallationReplacesAllButTheShopsTable) {
    ASSERT_NE(GetFileAttributesW((folder + L"\\win7\\KTRP410G.GPD").c_str()) & FILE_ATTRIBUTE_READONLY, 0u)
        << "the package's files are read-only";
    InstallRun first;
    ASSERT_NO_FATAL_FAILURE(Install(folder, kReceiptFromTheCd, &first));
    EXPECT_EQ(first.message, kInstalled);
    DriverSeen driver;
    ASSERT_TRUE(ReadDriver(L"KTR-P410(P)", &driver)) << "printer KTR-P410(P): error " << GetLastError();
    const std::vector<InstalledFile> copies = InstalledFiles(driver, folder);
    // A read-only copy keeps the plug-in from writing its control-font
    // table into it, and on Windows a read-only file refuses CopyFile onto
    // it with 5 (Wine run as root, as here, overwrites it all the same).
    auto readOnlyCopies = [&] {
        std::vector<std::wstring> found;
        for (const auto& copy : copies) {
            const DWORD attributes = GetFileAttributesW(copy.installed.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES) {
                found.push_back(copy.installed + L" (missing)");
            } else if (attributes & FILE_ATTRIBUTE_READONLY) {
                found.push_back(copy.installed);
            }
        }
        return found;
    };
    EXPECT_EQ(readOnlyCopies(), std::vector<std::wstring>{}) << "read-only after the first installation";

    // The shop edits the control-font table, which every printer of the
    // machine shares; then a newer CD, with a driver file and the
    // control-font file changed.
    const std::wstring table = automation::DriverDirectory() + L"\\3\\7404VXCONTROL.INI";
    const std::string shops = "[Character Translation Table]\r\n41=1B 21 00 \r\n";
    ASSERT_TRUE(WriteAll(table, shops)) << "error " << GetLastError();
    for (const wchar_t* name : {L"KTRP410G.GPD", L"7404VXCONTROL.INI"}) {
        const std::wstring path = folder + L"\\win7\\" + name;
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));
        ASSERT_TRUE(WriteAll(path, "from the newer CD: " + automation::Narrow(name) + "\r\n"));
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    InstallRun second;
    ASSERT_NO_FATAL_FAILURE(Install(folder, kReceiptFromTheCd, &second));
    EXPECT_EQ(second.message, kInstalled);
    std::vector<InstalledFile> replaced;
    std::copy_if(copies.begin(), copies.end(), std::back_inserter(replaced),
                 [&](const InstalledFile& copy) { return copy.installed != table; });
    ASSERT_EQ(replaced.size() + 1, copies.size()) << "the table is among the copies";
    ExpectCopiesOfThePackage(replaced, "after the second installation");
    EXPECT_EQ(ReadAll(table), shops) << "the shop's table after the second installation";
    EXPECT_EQ(readOnlyCopies(), std::vector<std::wstring>{}) << "read-only after the second installation";
}

}  // namespace
