#include "core/program_start.h"

#include "core/uninstaller_text.h"

namespace uninstall {

bool PrepareUninstallerStart(plat::Desktop& desktop, plat::SystemInfo& system) {
    return programs::PrepareProgramStart(desktop, system, kCaption, kInstallerCaption, kCloseInstallerFirst);
}

}  // namespace uninstall
