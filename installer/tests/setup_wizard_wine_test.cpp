// The real Setup.exe under Wine, walked through as a person would: pages,
// buttons, a second start, a package without its picture.
#include <gtest/gtest.h>

#include "automation/automation.h"
#include "automation/fit_tally.h"
#include "resource.h"

namespace {

constexpr const wchar_t* kCaption = L"Setup do Driver da Impressora";

// Each page is told apart by a control no other page has. Control ids repeat
// across the page templates (the port page's notes reuse the install-type
// page's 1066 to 1068), so the groups and the port list mark them.
constexpr int kModulePage = IDC_MODULE_GROUP;
constexpr int kInstallTypePage = IDC_INSTALL_TYPE_GROUP;
constexpr int kOsPage = IDC_OS_GROUP;
constexpr int kPortPage = IDC_PORTS;

class SetupWizardWine : public ::testing::Test {
protected:
    void SetUp() override {
        folder = automation::StagedPackage();
        ASSERT_FALSE(folder.empty()) << "PP_STAGE_DIR names the staged package";
        exe = folder + L"\\Setup.exe";
        ASSERT_TRUE(automation::SetWineAppVersion(L"Setup.exe", L"win7"));
    }
    static void TearDownTestSuite() { automation::ClearWineAppDefaults(L"Setup.exe"); }

    HWND StartWizard(automation::Process& process) {
        EXPECT_TRUE(process.Start(exe, folder)) << "error " << GetLastError();
        return automation::WaitForDialog(process.id(), kCaption, 20000);
    }
    // The page whose window is showing, told by a control only it has.
    static HWND VisiblePage(HWND wizard) {
        for (int marker : {kModulePage, kInstallTypePage, kOsPage, kPortPage}) {
            HWND page = automation::FindChildDialogWith(wizard, marker);
            if (page && IsWindowVisible(page)) return page;
        }
        return nullptr;
    }
    static HWND WaitForPage(HWND wizard, int marker) {
        HWND page = automation::FindChildDialogWith(wizard, marker);
        if (!page) return nullptr;
        return automation::WaitUntil([&] { return VisiblePage(wizard) == page; }, 5000) ? page : nullptr;
    }
    static void ExpectButtons(HWND wizard, bool back, const wchar_t* nextText) {
        EXPECT_EQ(automation::IsEnabled(wizard, IDC_BACK), back);
        EXPECT_TRUE(automation::IsEnabled(wizard, IDOK));
        EXPECT_EQ(automation::Text(GetDlgItem(wizard, IDOK)), nextText);
        EXPECT_EQ(automation::Text(GetDlgItem(wizard, IDC_BACK)), L"<<Anterior(&A)");
        EXPECT_EQ(automation::Text(GetDlgItem(wizard, IDCANCEL)), L"Cancela(&C)");
    }
    static void Cancel(HWND wizard, automation::Process& process) {
        automation::Click(wizard, IDCANCEL);
        DWORD exitCode = 1;
        EXPECT_TRUE(process.WaitForExit(10000, &exitCode)) << "Cancel must end the program";
        EXPECT_EQ(exitCode, 0u);
    }

    std::wstring folder, exe;
};

TEST_F(SetupWizardWine, WalksThroughTheFourPagesAndBack) {
    automation::Process setup;
    HWND wizard = StartWizard(setup);
    ASSERT_NE(wizard, nullptr);

    HWND module = WaitForPage(wizard, kModulePage);
    ASSERT_NE(module, nullptr) << "the wizard opens on the module page";
    ExpectButtons(wizard, false, L"Próximo(&P)>>");
    EXPECT_TRUE(automation::IsChecked(module, IDC_MODULE_RECEIPT));
    EXPECT_EQ(automation::SelectedItem(module, IDC_MODELS_RECEIPT), L"KTR-P410II");
    EXPECT_TRUE(automation::IsEnabled(module, IDC_MODELS_RECEIPT));
    EXPECT_FALSE(automation::IsEnabled(module, IDC_MODELS_EMBEDDED));
    EXPECT_EQ(automation::SelectedItem(module, IDC_MODELS_EMBEDDED), L"KTR-D9") << "the embedded list sorts";
    EXPECT_TRUE(automation::SaveArtifactScreenshot(wizard, "wizard-1-module-page"));
    automation::ExpectScreenFits("Setup", wizard, "wizard, module page");
    // Enter and Esc typed inside a page neither move on nor close the wizard.
    EXPECT_EQ(GetDlgCtrlID(automation::FocusedControl(wizard)), IDOK) << "the wizard opens with the focus on Next";
    automation::FocusControl(module, IDC_MODULE_RECEIPT);
    ASSERT_TRUE(IsChild(module, automation::FocusedControl(wizard)));
    EXPECT_TRUE(automation::PressKey(wizard, VK_RETURN));
    EXPECT_TRUE(automation::PressKey(wizard, VK_ESCAPE));
    EXPECT_EQ(VisiblePage(wizard), module);
    EXPECT_TRUE(setup.running());
    // The about box, from the system menu; Enter and Esc both close it.
    for (WORD key : {VK_RETURN, VK_ESCAPE}) {
        PostMessageW(wizard, WM_SYSCOMMAND, IDM_ABOUT, 0);
        HWND about = automation::WaitForDialog(setup.id(), L"Sobre Setup do Driver da Impressora", 10000);
        ASSERT_NE(about, nullptr) << "the system menu's about item opens the about box";
        automation::ExpectScreenFits("Setup", about, "about box");
        EXPECT_TRUE(automation::PressKey(about, key));
        EXPECT_TRUE(automation::WaitUntil([&] { return !IsWindow(about); }, 5000)) << "key " << key;
    }

    // On the wizard's own buttons Enter is the default button, Next.
    automation::FocusControl(wizard, IDOK);
    EXPECT_TRUE(automation::PressKey(wizard, VK_RETURN));
    HWND type = WaitForPage(wizard, kInstallTypePage);
    ASSERT_NE(type, nullptr);
    ExpectButtons(wizard, true, L"Próximo(&P)>>");
    EXPECT_TRUE(automation::IsChecked(type, IDC_TYPICAL));
    EXPECT_TRUE(automation::IsEnabled(type, IDC_ADVANCED)) << "KTR-P410II allows the advanced type";
    EXPECT_EQ(automation::Text(GetDlgItem(type, IDC_COMMENT1)), L"Instalar driver de impressora padrão");
    EXPECT_TRUE(automation::SaveArtifactScreenshot(wizard, "wizard-2-install-type-page"));
    automation::ExpectScreenFits("Setup", wizard, "wizard, install-type page");

    automation::Click(wizard, IDOK);
    HWND os = WaitForPage(wizard, kOsPage);
    ASSERT_NE(os, nullptr);
    EXPECT_TRUE(automation::IsChecked(os, IDC_OS_WIN7));
    EXPECT_TRUE(automation::SaveArtifactScreenshot(wizard, "wizard-3-os-page"));
    automation::ExpectScreenFits("Setup", wizard, "wizard, OS page");

    automation::Click(wizard, IDOK);
    HWND port = WaitForPage(wizard, kPortPage);
    ASSERT_NE(port, nullptr);
    ExpectButtons(wizard, true, L"Instalar(&I)");
    EXPECT_EQ(automation::SelectedItem(port, IDC_BAUD), L"115200") << "the model's baud rate";
    EXPECT_EQ(automation::SelectedItem(port, IDC_DATA_BITS), L"8");
    EXPECT_EQ(automation::SelectedItem(port, IDC_PARITY), L"None");
    EXPECT_EQ(automation::SelectedItem(port, IDC_FLOW), L"Hardware");
    EXPECT_TRUE(automation::SaveArtifactScreenshot(wizard, "wizard-4-port-page"));
    automation::ExpectScreenFits("Setup", wizard, "wizard, port page");

    automation::Click(wizard, IDC_BACK);
    ASSERT_NE(WaitForPage(wizard, kOsPage), nullptr);
    ExpectButtons(wizard, true, L"Próximo(&P)>>");
    automation::Click(wizard, IDC_BACK);
    ASSERT_NE(WaitForPage(wizard, kInstallTypePage), nullptr);
    automation::Click(wizard, IDC_BACK);
    ASSERT_NE(WaitForPage(wizard, kModulePage), nullptr);
    EXPECT_TRUE(automation::WaitUntil([&] { return !automation::IsEnabled(wizard, IDC_BACK); }, 5000))
        << "Back is disabled on the first page";
    // ...and Esc is Cancel.
    automation::FocusControl(wizard, IDCANCEL);
    EXPECT_TRUE(automation::PressKey(wizard, VK_ESCAPE));
    DWORD exitCode = 1;
    EXPECT_TRUE(setup.WaitForExit(10000, &exitCode)) << "Esc on the wizard's buttons ends the program";
    EXPECT_EQ(exitCode, 0u);
}

// Every dialog template of Setup, those of the dialogs no walk opens too.
TEST_F(SetupWizardWine, EveryTemplateWorksFromTheKeyboard) {
    automation::ExpectTemplatesWork("Setup", exe);
}

TEST_F(SetupWizardWine, SecondStartBringsTheFirstToTheFrontAndEnds) {
    automation::Process first;
    HWND wizard = StartWizard(first);
    ASSERT_NE(wizard, nullptr);
    automation::Process second;
    ASSERT_TRUE(second.Start(exe, folder));
    DWORD exitCode = 1;
    EXPECT_TRUE(second.WaitForExit(10000, &exitCode)) << "the second start ends by itself";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(first.running());
    EXPECT_EQ(GetForegroundWindow(), wizard);
    Cancel(wizard, first);
}

TEST_F(SetupWizardWine, MissingLeftPictureIsNamedAndEndsTheProgram) {
    // A package whose DRVCONFIG lacks the picture. (Wine also finds the file
    // beside the program, so a mere change of current folder is not enough.)
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring bare = std::wstring(temp) + L"pp-no-picture";
    CreateDirectoryW(bare.c_str(), nullptr);
    CreateDirectoryW((bare + L"\\DRVCONFIG").c_str(), nullptr);
    DeleteFileW((bare + L"\\DRVCONFIG\\Left.bmp").c_str());
    ASSERT_TRUE(CopyFileW(exe.c_str(), (bare + L"\\Setup.exe").c_str(), FALSE));
    ASSERT_TRUE(
        CopyFileW((folder + L"\\DRVCONFIG\\setup.ini").c_str(), (bare + L"\\DRVCONFIG\\setup.ini").c_str(), FALSE));
    automation::Process setup;
    ASSERT_TRUE(setup.Start(bare + L"\\Setup.exe", bare));
    HWND box = automation::WaitForMessageBox(setup.id(), 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(automation::Text(GetDlgItem(box, 0xFFFF)), L"Impossível carregar arquivo Left.bmp");
    EXPECT_EQ(automation::Text(box), kCaption);
    automation::ExpectScreenFits("Setup", box, "message \"Left.bmp\"");
    automation::Click(box, IDOK);
    DWORD exitCode = 1;
    EXPECT_TRUE(setup.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
