#include "core/about_dialog.h"

#include <string>

#include "core/setup_text.h"
#include "ports/desktop.h"
#include "resource.h"

namespace setup {

void AboutDialog::OnInit(plat::Controls& controls) {
    controls.SetText(IDC_ABOUT_NAME, kWizardCaption);
    controls.SetText(IDC_ABOUT_VERSION, std::string("Versão ") + PP_VERSION_TEXT);
}

void AboutDialog::OnCommand(plat::Controls& controls, int id, int) {
    if (id == plat::kIdOk || id == plat::kIdCancel) controls.Close(id);
}

}  // namespace setup
