#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/module_page.h"
#include "resource.h"
#include "sim/sim_machine.h"
#include "tests/sample_package.h"

namespace {

using namespace setup;
using Items = std::vector<std::string>;

constexpr const char* kSetupIni =
    "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\DRVCONFIG\\setup.ini";

class ModulePageTest : public ::testing::Test {
protected:
    void Start() {
        controls.controls[IDC_MODELS_EMBEDDED].sorted = true;  // as the template asks
        page.OnInit(controls);
    }
    void StartWith(const std::string& deviceSection) {
        machine.files.Write(kSetupIni, "[DEVICENAME]\r\n" + deviceSection);
        Start();
    }
    void Click(int module) { page.OnCommand(controls, ModulePage::RadioOf(module), plat::kBnClicked); }
    void Pick(int module, int index) {
        controls.Select(ModulePage::ListOf(module), index);
        page.OnCommand(controls, ModulePage::ListOf(module), plat::kCbnSelChange);
    }
    // The page offers exactly `module`'s list (none for -1) and that module's radio button.
    void ExpectChosen(int module, const std::string& model) {
        EXPECT_EQ(page.module(), module);
        EXPECT_EQ(page.modelName(), model);
        for (int m = 0; m < kModuleCount; ++m) {
            EXPECT_EQ(controls.IsChecked(ModulePage::RadioOf(m)), m == module) << "module " << m;
            EXPECT_EQ(controls.IsEnabled(ModulePage::ListOf(m)), m == module) << "module " << m;
        }
    }

    sim::SimMachine machine;
    sim::SimControls controls;
    DriverKeyReader reader{machine.profile, MakeReaderPaths(setup_test::kPackageFolder)};
    ModulePage page{reader};
};

TEST_F(ModulePageTest, SamplePackageFillsTheListsAndPrefersTheLongerDefaultName) {
    setup_test::LoadSamplePackage(machine.files);
    Start();
    EXPECT_EQ(controls.Get(IDC_MODELS_RECEIPT).items, (Items{"KTR-P410", "KTR-P410II", "KTR-Q350-TicketPrinter"}));
    EXPECT_EQ(controls.Get(IDC_MODELS_TICKET).items, (Items{"KTR-Q350", "KTR-T200"}));
    EXPECT_EQ(controls.Get(IDC_MODELS_LABEL).items, (Items{"KTR-L60", "KTR-L80"}));
    EXPECT_EQ(controls.Get(IDC_MODELS_EMBEDDED).items, (Items{"KTR-D9", "KTR-E58"}));
    EXPECT_TRUE(page.hasModels());
    ExpectChosen(kModuleReceipt, "KTR-P410II");  // the default KTR-P410 is found from entry 1 on
    for (int m = 0; m < kModuleCount; ++m) {
        EXPECT_TRUE(controls.IsEnabled(ModulePage::RadioOf(m)));
        EXPECT_EQ(controls.Selection(ModulePage::ListOf(m)), m == kModuleReceipt ? 1 : 0);
    }
}

struct StartRow {
    const char* name;
    const char* deviceSection;
    int module;
    const char* model;
    std::vector<int> usableModules;
};
void PrintTo(const StartRow& row, std::ostream* os) {
    *os << row.name;
}

const StartRow kStartRows[] = {
    {"OnlyReceiptModels",
     "DEVICENUMBER=2\nDEVICENAME1=A-ReceiptPrinter\nDEVICENAME2=B-ReceiptPrinter\nDEFAULTNAME=2\n",
     kModuleReceipt,
     "B",
     {kModuleReceipt}},
    {"DefaultAbsent",
     "DEVICENUMBER=2\nDEVICENAME1=A-ReceiptPrinter\nDEVICENAME2=T-TicketPrinter\n",
     -1,
     "",
     {kModuleReceipt, kModuleTicket}},
    {"EmptyDeviceList", "DEVICENUMBER=0\nDEVICENAME1=A-ReceiptPrinter\nDEFAULTNAME=1\n", -1, "", {}},
    {"DefaultIsBareEntry",
     "DEVICENUMBER=2\nDEVICENAME1=A-LabelPrinter\nDEVICENAME2=A\nDEFAULTNAME=2\n",
     -1,
     "",
     {kModuleLabel}},
    {"FirstEntryIsSearchedLast",
     "DEVICENUMBER=2\nDEVICENAME1=a-TicketPrinter\nDEVICENAME2=B-TicketPrinter\nDEFAULTNAME=1\n",
     kModuleTicket,
     "a",
     {kModuleTicket}},
    {"SortedListFindsItsEntry",
     "DEVICENUMBER=2\nDEVICENAME1=Z-EmbeddedPrinter\nDEVICENAME2=M-EmbeddedPrinter\n"
     "DEFAULTNAME=1\n",
     kModuleEmbedded,
     "Z",
     {kModuleEmbedded}},
    {"UnlistedDefaultKeepsFirstEntry",
     "DEVICENUMBER=1\nDEVICENAME1=A-ReceiptPrinter\nDEVICENAME2=Q-ReceiptPrinter\n"
     "DEFAULTNAME=2\n",
     kModuleReceipt,
     "A",
     {kModuleReceipt}},
    {"UnlistedDefaultOfEmptyModule",
     "DEVICENUMBER=1\nDEVICENAME1=A-ReceiptPrinter\nDEVICENAME2=T-TicketPrinter\n"
     "DEFAULTNAME=2\n",
     -1,
     "",
     {kModuleReceipt}},
};

class ModulePageStart : public ModulePageTest, public ::testing::WithParamInterface<StartRow> {};

TEST_P(ModulePageStart, PreselectsTheDefaultModel) {
    const StartRow& row = GetParam();
    StartWith(row.deviceSection);
    ExpectChosen(row.module, row.model);
    EXPECT_EQ(page.hasModels(), !row.usableModules.empty());
    for (int m = 0; m < kModuleCount; ++m) {
        const bool usable = std::find(row.usableModules.begin(), row.usableModules.end(), m) != row.usableModules.end();
        EXPECT_EQ(controls.IsEnabled(ModulePage::RadioOf(m)), usable) << "module " << m;
    }
}

INSTANTIATE_TEST_SUITE_P(DeviceLists, ModulePageStart, ::testing::ValuesIn(kStartRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModulePageTest, EachModuleKeepsItsOwnSelection) {
    setup_test::LoadSamplePackage(machine.files);
    Start();
    Click(kModuleEmbedded);
    ExpectChosen(kModuleEmbedded, "KTR-D9");
    Pick(kModuleEmbedded, 1);
    EXPECT_EQ(page.modelName(), "KTR-E58");
    Pick(kModuleLabel, 1);  // not the chosen module's list
    ExpectChosen(kModuleEmbedded, "KTR-E58");
    Click(kModuleReceipt);
    ExpectChosen(kModuleReceipt, "KTR-P410II");
    Click(kModuleLabel);
    ExpectChosen(kModuleLabel, "KTR-L80");
    Pick(kModuleLabel, -1);
    EXPECT_EQ(page.modelName(), "");
}

TEST_F(ModulePageTest, DefaultPrinterBoxIsTakenWhenValidated) {
    Start();
    EXPECT_FALSE(controls.IsChecked(IDC_MAKE_DEFAULT));
    controls.SetCheck(IDC_MAKE_DEFAULT, true);
    EXPECT_FALSE(page.makeDefault());
    EXPECT_TRUE(page.SaveValues(controls));
    EXPECT_TRUE(page.makeDefault());
}

}  // namespace
