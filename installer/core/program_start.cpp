#include "core/program_start.h"

#include "core/setup_text.h"
#include "text.h"

namespace setup {

bool PrepareSetupStart(plat::Desktop& desktop, plat::SystemInfo& system) {
    if (!desktop.CreateSingleInstanceMutex(plat::ApplicationName(system.ExecutablePath()))) {
        if (plat::WindowRef first = desktop.FindTopLevelWindow(kWizardCaption)) desktop.BringToFront(first);
        return false;
    }
    if (desktop.FindTopLevelWindow(kUninstallerCaption)) {
        desktop.ShowMessage(0, kCloseUninstaller, kWizardCaption, plat::kMbOk);
        return false;
    }
    return true;
}

}  // namespace setup
