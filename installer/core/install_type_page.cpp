#include "core/install_type_page.h"

#include "core/setup_text.h"
#include "resource.h"

namespace setup {

void InstallTypePage::OnInit(plat::Controls& controls) {
    ChooseTypical(controls);
}

void InstallTypePage::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (notifyCode != plat::kBnClicked) return;
    if (id == IDC_TYPICAL) ChooseTypical(controls);
    if (id == IDC_ADVANCED) ChooseAdvanced(controls);
}

void InstallTypePage::AllowAdvanced(plat::Controls& controls, bool allowed) {
    controls.Enable(IDC_ADVANCED, allowed);
    // A model without the advanced type must not keep it from an earlier model.
    if (!allowed) ChooseTypical(controls);
}

void InstallTypePage::ChooseTypical(plat::Controls& controls) {
    controls.SetCheck(IDC_TYPICAL, true);
    controls.SetCheck(IDC_ADVANCED, false);
    controls.SetText(IDC_COMMENT1, SetupString(IDS_TYPICAL_COMMENT));
    controls.Show(IDC_COMMENT2, false);
    controls.Show(IDC_COMMENT3, false);
    installType_ = kInstallTypical;
}

void InstallTypePage::ChooseAdvanced(plat::Controls& controls) {
    controls.SetCheck(IDC_TYPICAL, false);
    controls.SetCheck(IDC_ADVANCED, true);
    controls.SetText(IDC_COMMENT1, SetupString(IDS_ADVANCED_COMMENT1));
    controls.SetText(IDC_COMMENT2, SetupString(IDS_ADVANCED_COMMENT2));
    controls.Show(IDC_COMMENT2, true);
    controls.Show(IDC_COMMENT3, false);
    installType_ = kInstallAdvanced;
}

}  // namespace setup
