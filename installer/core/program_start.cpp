#include "core/program_start.h"

#include "core/setup_text.h"

namespace setup {

bool PrepareSetupStart(plat::Desktop& desktop, plat::SystemInfo& system) {
    return programs::PrepareProgramStart(desktop, system, kWizardCaption, kUninstallerCaption, kCloseUninstaller);
}

}  // namespace setup
