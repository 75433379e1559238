#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/install_type_page.h"
#include "resource.h"
#include "sim/sim_controls.h"

namespace {

using namespace setup;
using Step = std::function<void(InstallTypePage&, sim::SimControls&)>;

const Step kTypical = [](auto& page, auto& c) { page.OnCommand(c, IDC_TYPICAL, plat::kBnClicked); };
const Step kAdvanced = [](auto& page, auto& c) { page.OnCommand(c, IDC_ADVANCED, plat::kBnClicked); };
const Step kAllow = [](auto& page, auto& c) { page.AllowAdvanced(c, true); };
const Step kForbid = [](auto& page, auto& c) { page.AllowAdvanced(c, false); };

struct Row {
    const char* name;
    std::vector<Step> steps;
    int installType;
    bool advancedEnabled;
};
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

const Row kRows[] = {
    {"Start", {}, kInstallTypical, true},
    {"Advanced", {kAdvanced}, kInstallAdvanced, true},
    {"AdvancedThenTypical", {kAdvanced, kTypical}, kInstallTypical, true},
    {"AllowedModelKeepsAdvanced", {kAllow, kAdvanced, kAllow}, kInstallAdvanced, true},
    {"ForbiddingModelResetsToTypical", {kAllow, kAdvanced, kForbid}, kInstallTypical, false},
    {"AllowingAgainDoesNotRestoreAdvanced", {kAdvanced, kForbid, kAllow}, kInstallTypical, true},
};

class InstallTypePageSteps : public ::testing::TestWithParam<Row> {};

TEST_P(InstallTypePageSteps, TypeRadioButtonsAndCommentsAgree) {
    sim::SimControls controls;
    controls.controls[IDC_COMMENT2].visible = false;  // as in the template
    controls.controls[IDC_COMMENT3].visible = false;
    InstallTypePage page;
    page.OnInit(controls);
    for (const Step& step : GetParam().steps) step(page, controls);

    const bool advanced = GetParam().installType == kInstallAdvanced;
    EXPECT_EQ(page.installType(), GetParam().installType);
    EXPECT_EQ(controls.IsChecked(IDC_TYPICAL), !advanced);
    EXPECT_EQ(controls.IsChecked(IDC_ADVANCED), advanced);
    EXPECT_EQ(controls.IsEnabled(IDC_ADVANCED), GetParam().advancedEnabled);
    EXPECT_EQ(controls.Text(IDC_COMMENT1),
              advanced ? "Suportar impressora multi-USB" : "Instalar driver de impressora padrão");
    EXPECT_EQ(controls.IsVisible(IDC_COMMENT2), advanced);
    if (advanced) {
        EXPECT_EQ(controls.Text(IDC_COMMENT2), "Permitir  seleção dos modos do driver");
    }
    EXPECT_FALSE(controls.IsVisible(IDC_COMMENT3));
}

INSTANTIATE_TEST_SUITE_P(Sequences, InstallTypePageSteps, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
