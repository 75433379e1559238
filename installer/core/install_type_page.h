#pragma once
// The second page: typical or advanced installation, with comment lines that
// say what each means.
#include "core/wizard_page.h"

namespace setup {

enum InstallType : int { kInstallAdvanced = 0, kInstallTypical = 1 };

class InstallTypePage : public WizardPage {
public:
    void OnInit(plat::Controls& controls) override;
    // "Típica" and "Avançada" clicked.
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;

    // Called by the wizard when it leaves the module page forward, with the
    // chosen model's AdvancedSetup flag: without it "Avançada" is disabled and
    // the page returns to typical; with it "Avançada" is enabled and the
    // user's choice is kept.
    void AllowAdvanced(plat::Controls& controls, bool allowed);

    int installType() const { return installType_; }

private:
    void ChooseTypical(plat::Controls& controls);
    void ChooseAdvanced(plat::Controls& controls);

    int installType_ = kInstallTypical;
};

}  // namespace setup
