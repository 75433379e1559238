#include "core/program_start.h"

#include "core/uninstaller_text.h"
#include "text.h"

namespace uninstall {

bool PrepareUninstallerStart(plat::Desktop& desktop, plat::SystemInfo& system) {
    if (!desktop.CreateSingleInstanceMutex(plat::ApplicationName(system.ExecutablePath()))) {
        if (plat::WindowRef first = desktop.FindTopLevelWindow(kCaption)) desktop.BringToFront(first);
        return false;
    }
    if (desktop.FindTopLevelWindow(kInstallerCaption)) {
        desktop.ShowMessage(0, kCloseInstallerFirst, kCaption, plat::kMbOk);
        return false;
    }
    return true;
}

}  // namespace uninstall
