// The real Setup.exe under Wine with the package's stand-in USB library
// reporting an attached printer: the port page's USB preselection and driver
// notes, and Install changing the printer's identity on the user's word.
#include <gtest/gtest.h>

#include <string>

#include "automation/automation.h"
#include "automation/fit_tally.h"
#include "automation/setup_walk.h"
#include "resource.h"

namespace {

constexpr const wchar_t* kCaption = L"Setup do Driver da Impressora";

using setup_walk::ReadAll;

class SetupUsbWine : public ::testing::Test {
protected:
    void SetUp() override {
        folder = automation::StagedPackage();
        ASSERT_FALSE(folder.empty()) << "PP_STAGE_DIR names the staged package";
        ASSERT_TRUE(automation::SetWineAppVersion(L"Setup.exe", L"win7"));
        for (const wchar_t* file : {L"\\MdUsbInt.log", L"\\USBDrv\\Install.log"}) DeleteFileW((folder + file).c_str());
        setup_walk::RemoveBulkUsbDriver();
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MERIDAN");
    }
    void TearDown() override {
        DeleteFileW((folder + L"\\MdUsbInt.ini").c_str());
        automation::ClearWineAppDefaults(L"Setup.exe");
    }
    void AttachPrinter(int deviceValue) { ASSERT_TRUE(setup_walk::AttachUsbPrinter(folder, deviceValue)); }
    // Starts Setup and walks to the port page, in the advanced type when asked.
    HWND WalkToPortPage(automation::Process& setup, bool advanced) {
        EXPECT_TRUE(setup.Start(folder + L"\\Setup.exe", folder));
        wizard = automation::WaitForDialog(setup.id(), kCaption, 20000);
        if (!wizard) return nullptr;
        automation::Click(wizard, IDOK);
        HWND type = WaitForVisiblePage(IDC_INSTALL_TYPE_GROUP);
        if (!type) return nullptr;
        if (advanced) automation::Click(type, IDC_ADVANCED);
        automation::Click(wizard, IDOK);
        if (!WaitForVisiblePage(IDC_OS_GROUP)) return nullptr;
        automation::Click(wizard, IDOK);
        return WaitForVisiblePage(IDC_PORTS);
    }
    HWND WaitForVisiblePage(int marker) {
        HWND page = nullptr;
        automation::WaitUntil(
            [&] { return (page = automation::FindChildDialogWith(wizard, marker)) && IsWindowVisible(page); }, 10000);
        return page && IsWindowVisible(page) ? page : nullptr;
    }

    std::wstring folder;
    HWND wizard = nullptr;
};

TEST_F(SetupUsbWine, TypicalPortPageSelectsTheAttachedPrintersPortAndAsksForTheDriver) {
    AttachPrinter(13);
    automation::Process setup;
    HWND port = WalkToPortPage(setup, false);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(automation::SelectedItem(port, IDC_PORTS), L"USB_KTR-P410II_1");
    for (int list : {IDC_BAUD, IDC_DATA_BITS, IDC_PARITY, IDC_STOP_BITS, IDC_FLOW}) {
        EXPECT_FALSE(automation::IsEnabled(port, list)) << "serial list " << list;
    }
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(port, IDC_RASTER))) << "the typical type hides the raster choice";
    const struct {
        int id;
        const wchar_t* text;
    } notes[] = {{IDC_NOTE1, L"1:Favor conectar cabo USB a impressora e ligá-la"},
                 {IDC_NOTE2, L"2:Favor cancelar a instalação \"pop-up\" do driver do"},
                 {IDC_NOTE3, L"  dispositivo USB"},
                 {IDC_NOTE4, L"3:Favor pressionar o botão \"Instalar(I)\" para continuar"}};
    for (const auto& note : notes) {
        HWND label = GetDlgItem(port, note.id);
        EXPECT_TRUE(IsWindowVisible(label)) << note.id;
        EXPECT_EQ(automation::Text(label), note.text);
    }
    ASSERT_TRUE(automation::SaveArtifactScreenshot(wizard, "wizard-5-port-page-usb"));
    automation::ExpectScreenFits("Setup", wizard, "wizard, port page with the USB notes");
    // The note's own background, right of its text.
    HWND first = GetDlgItem(port, IDC_NOTE1);
    RECT area{};
    GetClientRect(first, &area);
    EXPECT_EQ(automation::ScreenColor(first, {area.right - 2, area.bottom / 2}), RGB(255, 202, 253));
    automation::Click(wizard, IDCANCEL);
    EXPECT_TRUE(setup.WaitForExit(10000));
}

TEST_F(SetupUsbWine, AdvancedInstallOnAnotherPortWritesTheIdentityAfterYes) {
    AttachPrinter(2);  // identity 3
    automation::Process setup;
    HWND port = WalkToPortPage(setup, true);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(automation::SelectedItem(port, IDC_PORTS), L"USB_KTR-P410II_3") << "the printer's own port";
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(port, IDC_RASTER)));
    ASSERT_TRUE(automation::SelectItem(port, IDC_PORTS, L"USB_KTR-P410II_2"));
    automation::Click(wizard, IDOK);

    // The driver tool runs first (no bulk driver installed); then the question.
    HWND question = automation::WaitForMessageBox(setup.id(), 20000);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(automation::Text(GetDlgItem(question, 0xFFFF)),
              L"Esta aplicação irá alterar o nome da impressora\no nome ficará idêntico ao nome da interface\n"
              L"Para continuar, clique em \"Sim\"\nClique em \"Não\" para Abortar");
    automation::ExpectScreenFits("Setup", question, "question \"printer name\"");
    EXPECT_EQ(ReadAll(folder + L"\\USBDrv\\Install.log"), "parameters=2\r\n");
    EXPECT_EQ(ReadAll(folder + L"\\MdUsbInt.log"), "") << "nothing written before the answer";
    automation::Click(question, IDYES);
    ASSERT_TRUE(automation::WaitUntil([&] { return !IsWindow(question); }, 5000));

    // The identity command, last byte 1 for port 2, then the installation.
    HWND result = automation::WaitForMessageBox(setup.id(), 30000);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(automation::Text(GetDlgItem(result, 0xFFFF)),
              L"Driver de impressora instalado com sucesso\nFavor reiniciar a impressora")
        << "a USB port asks for the printer to be restarted";
    automation::ExpectScreenFits("Setup", result, "message \"installed, restart the printer\"");
    EXPECT_NE(ReadAll(folder + L"\\MdUsbInt.log").find("bytes=1B 4B 54 52 A9 B0 1D 49 20 01"), std::string::npos)
        << ReadAll(folder + L"\\MdUsbInt.log");
    DWORD index = 99, size = sizeof index;
    EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MERIDAN\\PORTNAME", L"USB_KTR-P410II_2", RRF_RT_REG_DWORD,
                           nullptr, &index, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(index, 5u) << "its place in setup.ini's USB list";
    automation::Click(result, IDOK);
    EXPECT_TRUE(setup.WaitForExit(10000));
}

}  // namespace
