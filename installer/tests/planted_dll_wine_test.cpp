// The real Setup.exe and Desinstalar.exe under Wine with a winspool.drv
// planted beside them. winspool.drv is no KnownDLL: a program that imports
// it by name, or loads it by bare name before restricting the search, loads
// the file of its own folder first, and these programs run with
// administrator rights from whatever folder the package was unpacked into.
// The planted library records every load in planted.log beside itself and
// fails it; the programs must work as usual and leave no such record.
//
// Wine prefers its own builtin winspool.drv to a file beside the program, so
// each program here runs with the load order "native,builtin" for
// winspool.drv: the file of the program's folder first, as Windows' search
// order takes a library that is no KnownDLL. It goes to the program's own
// registry key (AppDefaults\<program>\DllOverrides): Wine hands a child the
// WINE variables of its parent's Unix environment, whatever environment block
// the parent passes. A copy of this test program, which imports winspool.drv
// by name, shows that the planted file is then really loaded. version.dll is
// not planted: Wine's own user32 imports it, so every program would load a
// planted one.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

#include "automation/automation.h"
#include "automation/setup_walk.h"
#include "automation/desinstalar_walk.h"

namespace {

using namespace setup_walk;

const Choice kReceiptAsDefault{IDC_MODULE_RECEIPT, IDC_MODELS_RECEIPT, L"KTR-P410", L"LPT1:", nullptr, true, "planted"};
const Choice kReceipt{IDC_MODULE_RECEIPT, IDC_MODELS_RECEIPT, L"KTR-P410", L"LPT1:", nullptr, false, "planted"};

// The programs that run beside the planted library.
constexpr const wchar_t* kPrograms[] = {L"Setup.exe", L"Desinstalar.exe", L"probe.exe"};

std::wstring EnvPath(const char* name) {
    const std::string value = automation::EnvVar(name);
    return value.empty() ? std::wstring() : automation::FullPath(automation::Widen(value));
}

std::wstring OwnPath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

std::wstring OverridesKey(const wchar_t* program) {
    return std::wstring(L"Software\\Wine\\AppDefaults\\") + program + L"\\DllOverrides";
}

// Programs named `program` look for winspool.drv in their own folder first.
bool LoadWinspoolFromTheProgramsFolder(const wchar_t* program) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, OverridesKey(program).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const wchar_t order[] = L"native,builtin";
    const LONG result =
        RegSetValueExW(key, L"winspool.drv", 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

class PlantedWinspoolWine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::wstring stage = EnvPath("PP_STAGE_DIR");
        const std::wstring planted = EnvPath("PP_PLANTED_WINSPOOL");
        ASSERT_FALSE(stage.empty()) << "PP_STAGE_DIR names the staged package";
        ASSERT_FALSE(planted.empty()) << "PP_PLANTED_WINSPOOL names the planted library";
        package = stage;
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"Pacote com winspool plantada";
        DeleteFolder(folder);
        ASSERT_TRUE(CopyFolder(stage, folder)) << "copying the package failed: error " << GetLastError();
        ASSERT_TRUE(CopyFileW(planted.c_str(), (folder + L"\\winspool.drv").c_str(), FALSE))
            << "error " << GetLastError();
        for (const wchar_t* program : kPrograms) ASSERT_TRUE(LoadWinspoolFromTheProgramsFolder(program));
        ASSERT_TRUE(automation::SetWineAppVersion(L"Setup.exe", L"win7"));
        ASSERT_TRUE(automation::SetWineAppVersion(L"Desinstalar.exe", L"win7"));
        probeRecord = ProbeRecord();
    }
    static void TearDownTestSuite() {
        RemoveWhatSetupInstalls();
        DeleteFolder(folder);
        for (const wchar_t* program : kPrograms)
            automation::ClearWineAppDefaults(program);
    }
    void SetUp() override {
        ASSERT_NE(probeRecord.find("probe.exe loaded "), std::string::npos)
            << "a program of the folder that imports winspool.drv did not load the planted file, so this "
               "test could not see the programs load it either; planted.log held: \""
            << probeRecord << "\"";
        RemoveWhatSetupInstalls();
        DeleteFileW(Marker().c_str());
    }

    static std::wstring Marker() { return folder + L"\\planted.log"; }

    // What the planted library recorded when a copy of this program, which
    // imports winspool.drv by name, started in the folder.
    static std::string ProbeRecord() {
        const std::wstring probe = folder + L"\\probe.exe";
        DeleteFileW(Marker().c_str());
        if (!CopyFileW(OwnPath().c_str(), probe.c_str(), FALSE)) return "(the probe could not be copied)";
        automation::Process process;
        if (process.Start(probe, folder, L"--gtest_list_tests")) process.WaitForExit(30000);
        const std::string record = ReadAll(Marker());
        DeleteFileW(Marker().c_str());
        DeleteFileW(probe.c_str());
        return record;
    }

    static inline std::wstring package, folder;
    static inline std::string probeRecord;
};

TEST_F(PlantedWinspoolWine, SetupBesideItInstallsAndNeverLoadsIt) {
    InstallRun run;
    Install(folder, kReceiptAsDefault, &run);
    const std::string record = ReadAll(Marker());
    std::printf("[ planted  ] Setup: %s; planted.log: \"%s\"\n",
                run.exited ? "installed and ended" : "did not get through the installation", record.c_str());
    EXPECT_EQ(record, "") << "Setup loaded the winspool.drv of its folder";
    if (HasFatalFailure()) return;
    EXPECT_EQ(run.message, kInstalled);
    EXPECT_TRUE(run.exited && run.exitCode == 0) << "Setup ends after the message";
    const PrinterSeen* printer = FindPrinter(Printers(), L"KTR-P410(P)");
    ASSERT_NE(printer, nullptr) << "the spooler holds no KTR-P410(P)";
    EXPECT_EQ(printer->port, L"LPT1:");
    // SetDefaultPrinter is bound on its own, apart from the other functions.
    wchar_t defaultPrinter[256] = {};
    DWORD size = 256;
    EXPECT_TRUE(GetDefaultPrinterW(defaultPrinter, &size));
    EXPECT_STREQ(defaultPrinter, L"KTR-P410(P)") << "made the default printer";
}

TEST_F(PlantedWinspoolWine, DesinstalarBesideItListsAndRemovesThePrinterAndNeverLoadsIt) {
    // The printer comes from the package's own folder, where nothing is
    // planted.
    InstallRun installed;
    ASSERT_NO_FATAL_FAILURE(Install(package, kReceipt, &installed));
    ASSERT_EQ(installed.message, kInstalled);

    automation::Process uninstaller;
    ASSERT_TRUE(desinstalar_walk::Start(folder, &uninstaller)) << "error " << GetLastError();
    // A program whose load fails ends at once: no need to wait the whole time.
    HWND dialog = nullptr;
    automation::WaitUntil(
        [&] {
            return (dialog = automation::WaitForDialogWith(uninstaller.id(), IDC_ITEMS, 0)) || !uninstaller.running();
        },
        20000);
    const std::string record = ReadAll(Marker());
    std::printf("[ planted  ] Desinstalar: its dialog %s; planted.log: \"%s\"\n",
                dialog ? "appeared" : "did not appear", record.c_str());
    EXPECT_EQ(record, "") << "Desinstalar loaded the winspool.drv of its folder";
    ASSERT_NE(dialog, nullptr) << "the uninstaller's dialog did not appear";
    HWND list = GetDlgItem(dialog, IDC_ITEMS);
    const std::vector<std::wstring> listed = automation::ListViewItems(list);
    ASSERT_FALSE(listed.empty()) << "nothing listed";
    ASSERT_EQ(listed.front(), L"KTR-P410(P)") << desinstalar_walk::Joined(listed);
    ASSERT_TRUE(automation::CheckListViewItem(list, 0, true));
    // The removal binds the spooler's functions again, DeletePrinterDriverEx
    // among them.
    const desinstalar_walk::Removal removal = desinstalar_walk::PressUninstall(dialog, uninstaller.id());
    ASSERT_NE(removal.restart, nullptr) << "the restart question did not appear within a minute; the log:"
                                        << desinstalar_walk::Joined(removal.log);
    desinstalar_walk::DeclineRestartAndLeave(dialog, removal.restart, uninstaller);
    EXPECT_EQ(FindPrinter(Printers(), L"KTR-P410(P)"), nullptr) << "the spooler still holds KTR-P410(P)";
    EXPECT_EQ(ReadAll(Marker()), "") << "Desinstalar loaded the winspool.drv of its folder during the removal";
}

}  // namespace
