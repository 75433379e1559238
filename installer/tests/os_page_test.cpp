#include <gtest/gtest.h>

#include "core/os_page.h"
#include "core/setup_text.h"
#include "resource.h"
#include "sim/sim_machine.h"

namespace {

using namespace setup;
using plat::RootKey;

constexpr const char* kCurrentVersion = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kPersisted =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted";
constexpr int kAllButtons[] = {IDC_OS_WIN98ME,    IDC_OS_NT,    IDC_OS_WIN2000,    IDC_OS_WINXP,
                               IDC_OS_SERVER2003, IDC_OS_VISTA, IDC_OS_SERVER2008, IDC_OS_WIN7};

struct OsRow {
    const char* system;
    int platform, major, minor;
    const char* productName;  // nullptr: the value is absent
    int pageCode;             // what the page detects
    int checkedButton;        // 0: none selected
    int silentCode;           // GetOsCode
    bool compatibilityRecord;
    bool unsupportedMessage;  // no button stands for the system: told, and Install refuses
};

const OsRow kRows[] = {
    {"Windows 95", plat::kPlatformWindows, 4, 0, nullptr, 0, 0, 0, false, true},
    {"Windows 98", plat::kPlatformWindows, 4, 10, nullptr, 0, IDC_OS_WIN98ME, 0, false, false},
    {"Windows Me", plat::kPlatformWindows, 4, 90, nullptr, 0, IDC_OS_WIN98ME, 0, false, false},
    {"Windows NT 3.51", plat::kPlatformNt, 3, 51, nullptr, 0, 0, 0, false, true},
    {"Windows NT 4.0", plat::kPlatformNt, 4, 0, nullptr, 1, IDC_OS_NT, 1, false, false},
    {"Windows NT 4.1", plat::kPlatformNt, 4, 1, nullptr, 0, 0, 0, false, true},
    {"Windows 2000", plat::kPlatformNt, 5, 0, nullptr, 2, IDC_OS_WIN2000, 2, false, false},
    {"Windows XP", plat::kPlatformNt, 5, 1, nullptr, 3, IDC_OS_WINXP, 3, false, false},
    {"Windows Server 2003", plat::kPlatformNt, 5, 2, nullptr, 4, IDC_OS_SERVER2003, 4, false, false},
    {"NT 5.3", plat::kPlatformNt, 5, 3, nullptr, 0, 0, 0, false, true},
    {"Windows Vista", plat::kPlatformNt, 6, 0, "Windows Vista (TM) Business", 5, IDC_OS_VISTA, 5, true, false},
    {"Vista without product name", plat::kPlatformNt, 6, 0, nullptr, 5, IDC_OS_VISTA, 5, true, false},
    {"Windows Server 2008", plat::kPlatformNt, 6, 0, "Windows Server (R) 2008 Standard", 6, IDC_OS_SERVER2008, 5, false,
     false},
    {"2008 is matched exactly", plat::kPlatformNt, 6, 0, "Windows Server 20O8", 5, IDC_OS_VISTA, 5, true, false},
    {"Windows 7", plat::kPlatformNt, 6, 1, "Windows 7 Professional", 7, IDC_OS_WIN7, 7, false, false},
    {"Server 2008 R2 counts as Windows 7", plat::kPlatformNt, 6, 1, "Windows Server 2008 R2", 7, IDC_OS_WIN7, 7, false,
     false},
    {"Windows 8", plat::kPlatformNt, 6, 2, "Windows 8", 0, 0, 0, false, true},
    {"Windows 10", plat::kPlatformNt, 10, 0, "Windows 10 Pro", 0, 0, 0, false, true},
    {"Win32s", plat::kPlatformWin32s, 3, 10, nullptr, 0, 0, 0, false, true},
};

class OsPageRows : public ::testing::TestWithParam<OsRow> {
protected:
    void SetUp() override {
        const OsRow& row = GetParam();
        machine.system.version = {row.platform, row.major, row.minor};
        machine.system.executablePath =
            "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\Setup.exe";
        if (row.productName)
            machine.registry.PutString(RootKey::LocalMachine, kCurrentVersion, "ProductName", row.productName);
    }
    sim::SimMachine machine;
    sim::SimControls controls;
};

TEST_P(OsPageRows, DetectsSelectsAndEnables) {
    const OsRow& row = GetParam();
    OsPage page(machine.system, machine.registry, machine.desktop);
    page.OnInit(controls);

    EXPECT_EQ(OsIndex(page.osCode()), row.pageCode);
    EXPECT_EQ(page.systemSupported(), !row.unsupportedMessage);
    EXPECT_EQ(OsIndex(GetOsCode(machine.system)), row.silentCode);
    const int usable = row.pageCode == 0 ? IDC_OS_WIN98ME : OsPage::ButtonOf(*OsCodeAt(row.pageCode));
    for (int button : kAllButtons) {
        EXPECT_EQ(controls.IsChecked(button), button == row.checkedButton) << "button " << button;
        EXPECT_EQ(controls.IsEnabled(button), button == usable) << "button " << button;
    }

    const auto record =
        machine.registry.Value(RootKey::CurrentUser, kPersisted,
                               "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\Setup.exe");
    EXPECT_EQ(record.has_value(), row.compatibilityRecord);
    if (record) {
        EXPECT_EQ(record->type, plat::kRegDword);
        EXPECT_EQ(record->data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    }

    ASSERT_EQ(machine.desktop.boxes.size(), row.unsupportedMessage ? 1u : 0u);
    if (row.unsupportedMessage) {
        EXPECT_EQ(machine.desktop.boxes[0].text,
                  "Este driver não funciona neste sistema.\nFavor clicar \"Cancelar\" para cancelar este programa");
        EXPECT_EQ(machine.desktop.boxes[0].owner, controls.window);
    }
    EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, OsPageRows, ::testing::ValuesIn(kRows), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.system; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

class OsPageVista : public ::testing::Test {
protected:
    void SetUp() override { machine.system.version = {plat::kPlatformNt, 6, 0}; }
    sim::SimMachine machine;
    sim::SimControls controls;
    OsPage page{machine.system, machine.registry, machine.desktop};
};

TEST_F(OsPageVista, RecordIsWrittenEachTimeThePageStarts) {
    page.OnInit(controls);
    ASSERT_EQ(machine.registry.DeleteKey(RootKey::CurrentUser, kPersisted), plat::kErrorSuccess);
    page.OnInit(controls);
    EXPECT_TRUE(
        machine.registry.Value(RootKey::CurrentUser, kPersisted,
                               "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\Setup.exe"));
}

TEST_F(OsPageVista, UnreadableProductNameCountsAsVista) {
    machine.registry.PutString(RootKey::LocalMachine, kCurrentVersion, "ProductName", "Windows Server 2008");
    machine.registry.Fail(sim::RegistryOp::QueryValue, plat::kErrorAccessDenied, "CurrentVersion");
    page.OnInit(controls);
    EXPECT_EQ(page.osCode(), OsCode::kVista);
}

TEST_F(OsPageVista, ProductNameLongerThanItsBufferCountsAsVista) {
    machine.registry.PutString(RootKey::LocalMachine, kCurrentVersion, "ProductName", std::string(300, 'x') + "2008");
    page.OnInit(controls);
    EXPECT_EQ(page.osCode(), OsCode::kVista);
}

TEST_F(OsPageVista, FailingRecordChangesNothingElse) {
    machine.registry.Fail(sim::RegistryOp::CreateKey, plat::kErrorAccessDenied, "Persisted");
    page.OnInit(controls);
    EXPECT_EQ(page.osCode(), OsCode::kVista);
    EXPECT_TRUE(controls.IsChecked(IDC_OS_VISTA));
    EXPECT_TRUE(machine.desktop.boxes.empty());
    EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
}

}  // namespace
