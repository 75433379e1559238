// Desinstalar's start and its dialog around the removal: the checks made when
// it opens, help, "&Selecionar Tudo", the about box.
#include "core/uninstaller_dialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/program_start.h"
#include "tests/uninstall_fixture.h"

namespace {

using namespace uninstall;
using uninstall_test::UninstallFixture;

TEST(UninstallerStart, OneAtATimeAndNeverBesideTheInstaller) {
    struct Case {
        const char* what;
        bool mutexTaken;
        bool installerOpen;
        bool opens;
        std::vector<std::string> messages;
        std::size_t broughtToFront;
    } cases[] = {
        {"first start", false, false, true, {}, 0},
        {"second start", true, false, false, {}, 1},
        {"installer open", false, true, false, {"Primeiramente, favor fechar o Setup do Driver da Impressora"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim::SimMachine machine;
        machine.system.executablePath =
            "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\Desinstalar.exe";
        machine.desktop.windows.push_back({"Desinstalar", 0x51});
        if (c.mutexTaken) machine.desktop.mutexes.insert("Desinstalar");
        if (c.installerOpen) machine.desktop.windows.push_back({"Setup do Driver da Impressora", 0x52});
        EXPECT_EQ(PrepareUninstallerStart(machine.desktop, machine.system), c.opens);
        std::vector<std::string> messages;
        for (const auto& box : machine.desktop.boxes) messages.push_back(box.text);
        EXPECT_EQ(messages, c.messages);
        EXPECT_EQ(machine.desktop.broughtToFront.size(), c.broughtToFront);
    }
}

TEST(UninstallerDialog, WhatClosesItAtOnce) {
    using Setup = std::function<void(UninstallFixture&)>;
    struct Case {
        const char* what;
        int code;
        Setup prepare;
        const char* message;
    } cases[] = {
        {"not an administrator", 3, [](UninstallFixture& f) { f.machine.desktop.administrator = false; },
         "Você  deve estar logado como administrador"},
        {"current folder unreadable", 7, [](UninstallFixture& f) { f.machine.system.currentDirectoryError = 5; },
         "Erro ao ler o Diretório do Sistema"},
        {"no Uninstall.ini", 7,
         [](UninstallFixture& f) {
             (void)f.machine.files.Remove(
                 "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\Uninstall.ini");
             f.machine.files.MakeFolder(
                 "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\DRVCONFIG");
         },
         "Não foi possível Encontrar Uninstall.ini!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UninstallFixture fixture(c.code);
        c.prepare(fixture);
        fixture.Open();
        ASSERT_EQ(fixture.machine.desktop.boxes.size(), 1u);
        EXPECT_EQ(fixture.machine.desktop.boxes[0].text, c.message);
        EXPECT_EQ(fixture.machine.desktop.boxes[0].caption, "Error");
        EXPECT_TRUE(fixture.controls.closed);
        EXPECT_TRUE(fixture.Items().empty());
    }
}

TEST(UninstallerDialog, OpensWithTheInstructionAndTheUsbChoiceWhereItWorks) {
    struct Case {
        int code;
        plat::OsVersion version;
        bool usbChoice;
    } cases[] = {
        {0, {plat::kPlatformWindows, 4, 10}, false},
        {0, {plat::kPlatformWindows, 4, 0}, true},  // Windows 95
        {1, {plat::kPlatformNt, 4, 0}, false},
        {3, {plat::kPlatformNt, 5, 1}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version.minor);
        UninstallFixture fixture(c.code);
        fixture.machine.system.version = c.version;
        fixture.Open();
        EXPECT_FALSE(fixture.controls.closed);
        EXPECT_EQ(fixture.Enabled(IDC_REMOVE_USB_DRIVER), c.usbChoice);
        EXPECT_EQ(fixture.controls.controls[IDC_INSTRUCTION].text,
                  "Favor selecionar as impressoras a serem desinstaladas. Você pode especificar múltiplas impressoras "
                  "para desinstalar");
        EXPECT_TRUE(fixture.machine.desktop.boxes.empty());
    }
}

TEST(UninstallerDialog, WithoutWinspoolItSaysSoAndStaysOpen) {
    UninstallFixture fixture(7);
    fixture.machine.spooler.winspoolLoads = false;
    fixture.InstalledPackage();
    fixture.Open();
    ASSERT_EQ(fixture.machine.desktop.boxes.size(), 1u);
    EXPECT_EQ(fixture.machine.desktop.boxes[0].text, "Sem a lib Winspool");
    EXPECT_FALSE(fixture.controls.closed);
    EXPECT_EQ(fixture.Items().size(), 3u);
}

TEST(UninstallerDialog, SelectAllHelpAndAbout) {
    UninstallFixture fixture(7);
    fixture.InstalledPackage();
    fixture.Open();
    fixture.dialog.OnCommand(fixture.controls, IDC_SELECT_ALL, plat::kBnClicked);
    for (int i = 0; i < fixture.controls.ItemCount(IDC_ITEMS); ++i) {
        EXPECT_TRUE(fixture.controls.IsItemChecked(IDC_ITEMS, i)) << i;
    }

    fixture.machine.desktop.openSucceeds = false;
    fixture.dialog.OnHelp(fixture.controls);
    EXPECT_EQ(fixture.machine.desktop.opened, (std::vector<std::string>{".\\Uninstall_EN.CHM", ".\\Uninstall_CN.CHM"}));
    fixture.machine.desktop.windows.push_back({"Uninstall", 0x77});
    fixture.dialog.OnHelp(fixture.controls);
    EXPECT_EQ(fixture.machine.desktop.broughtToFront, std::vector<plat::WindowRef>{0x77});

    EXPECT_TRUE(fixture.dialog.OnSysCommand(fixture.controls, IDM_ABOUT));
    ASSERT_EQ(fixture.machine.desktop.dialogsRun.size(), 1u);
    EXPECT_EQ(fixture.machine.desktop.dialogsRun[0].templateId, IDD_ABOUT);
    EXPECT_FALSE(fixture.dialog.OnSysCommand(fixture.controls, 0xF060));

    fixture.dialog.OnCommand(fixture.controls, plat::kIdCancel, plat::kBnClicked);
    EXPECT_TRUE(fixture.controls.closed);
}

}  // namespace
