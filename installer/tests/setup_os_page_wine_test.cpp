// The real Setup.exe under Wine, started as each Windows version through
// Wine's per-program version setting: the OS page must show that system.
#include <gtest/gtest.h>

#include "automation/automation.h"
#include "automation/fit_tally.h"
#include "resource.h"

namespace {

constexpr const wchar_t* kCaption = L"Setup do Driver da Impressora";
constexpr const wchar_t* kPersisted =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted";
constexpr int kButtons[] = {IDC_OS_WIN98ME,    IDC_OS_NT,    IDC_OS_WIN2000,    IDC_OS_WINXP,
                            IDC_OS_SERVER2003, IDC_OS_VISTA, IDC_OS_SERVER2008, IDC_OS_WIN7};

constexpr const wchar_t* kNotSupported =
    L"Este driver não funciona neste sistema.\nFavor clicar \"Cancelar\" para cancelar este programa";

struct WineVersion {
    const wchar_t* version;  // Wine's name for it
    int checked;             // 0: none
    int enabled;
    bool compatibilityRecord;
    const char* screenshot;     // nullptr: none kept
    bool notSupported = false;  // no button stands for it: the page says so before the wizard shows
};

// Wine reports Server 2008 as NT 6.0 but keeps the prefix's product name, so
// it shows as Vista there; the product-name rule is covered by the native tests.
const WineVersion kVersions[] = {
    {L"win7", IDC_OS_WIN7, IDC_OS_WIN7, false, "setup-os-page-win7"},
    {L"winxp", IDC_OS_WINXP, IDC_OS_WINXP, false, "setup-os-page-winxp"},
    {L"win98", IDC_OS_WIN98ME, IDC_OS_WIN98ME, false, "setup-os-page-win98"},
    {L"vista", IDC_OS_VISTA, IDC_OS_VISTA, true, nullptr},
    {L"win2k", IDC_OS_WIN2000, IDC_OS_WIN2000, false, nullptr},
    {L"win2003", IDC_OS_SERVER2003, IDC_OS_SERVER2003, false, nullptr},
    {L"nt40", IDC_OS_NT, IDC_OS_NT, false, nullptr},
    {L"win95", 0, IDC_OS_WIN98ME, false, nullptr, true},
    {L"win81", 0, IDC_OS_WIN98ME, false, nullptr, true},
};

bool ReadPersistedRecord(const std::wstring& exePath, DWORD* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kPersisted, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = sizeof *value;
    const LONG result = RegQueryValueExW(key, exePath.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD;
}

void ForgetPersistedRecord(const std::wstring& exePath) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kPersisted, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, exePath.c_str());
    RegCloseKey(key);
}

class SetupOsPage : public ::testing::TestWithParam<WineVersion> {
protected:
    // Later runs in this prefix (the demo) see Wine's default version again.
    static void TearDownTestSuite() { automation::ClearWineAppDefaults(L"Setup.exe"); }
};

TEST_P(SetupOsPage, ShowsTheSystemWineReports) {
    const WineVersion& v = GetParam();
    const std::wstring folder = automation::StagedPackage();
    ASSERT_FALSE(folder.empty()) << "PP_STAGE_DIR names the staged package";
    const std::wstring exe = folder + L"\\Setup.exe";
    ASSERT_TRUE(automation::SetWineAppVersion(L"Setup.exe", v.version));
    ForgetPersistedRecord(exe);

    automation::Process setup;
    ASSERT_TRUE(setup.Start(exe, folder)) << "error " << GetLastError();
    if (v.notSupported) {
        HWND box = automation::WaitForMessageBox(setup.id(), 20000);
        ASSERT_NE(box, nullptr) << "no message for a system without a button";
        EXPECT_EQ(automation::Text(GetDlgItem(box, 0xFFFF)), kNotSupported);
        automation::ExpectScreenFits("Setup", box, "message \"system not supported\"");
        automation::Click(box, IDOK);
        ASSERT_TRUE(automation::WaitUntil([&] { return !IsWindow(box); }, 5000));
    }
    HWND wizard = automation::WaitForDialog(setup.id(), kCaption, 20000);
    ASSERT_NE(wizard, nullptr) << "no wizard window";
    HWND page = automation::FindChildDialogWith(wizard, IDC_OS_WIN98ME);
    ASSERT_NE(page, nullptr) << "the OS page is not on the wizard";

    for (int button : kButtons) {
        EXPECT_EQ(automation::IsChecked(page, button), button == v.checked) << "button " << button;
        EXPECT_EQ(automation::IsEnabled(page, button), button == v.enabled) << "button " << button;
    }
    EXPECT_EQ(automation::Text(GetDlgItem(page, IDC_OS_SERVER2003)), L"Windows Server 2003 ");
    EXPECT_EQ(automation::Text(GetDlgItem(wizard, IDC_HELP_HINT)), L"Pressione \"F1\" para ajuda");
    EXPECT_EQ(automation::Text(GetDlgItem(wizard, IDOK)), L"Próximo(&P)>>");

    DWORD record = 0;
    EXPECT_EQ(ReadPersistedRecord(exe, &record), v.compatibilityRecord);
    if (v.compatibilityRecord) {
        EXPECT_EQ(record, 1u);
    }

    if (v.screenshot) {
        // The OS page is the third: walk there as a person would.
        automation::Click(wizard, IDOK);
        ASSERT_TRUE(automation::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(wizard, IDC_BACK)); }, 5000));
        automation::Click(wizard, IDOK);
        ASSERT_TRUE(automation::WaitUntil([&] { return IsWindowVisible(page) != FALSE; }, 5000));
        EXPECT_TRUE(automation::SaveArtifactScreenshot(wizard, v.screenshot));
    }

    PostMessageW(wizard, WM_COMMAND, IDCANCEL, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(setup.WaitForExit(10000, &exitCode)) << "Cancel must close the wizard";
    EXPECT_EQ(exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(Versions, SetupOsPage, ::testing::ValuesIn(kVersions), [](const auto& info) {
    std::string name;
    for (const wchar_t* c = info.param.version; *c; ++c) name += static_cast<char>(*c);
    return name;
});

}  // namespace
