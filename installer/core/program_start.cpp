#include "core/program_start.h"

#include "core/setup_text.h"

namespace setup {

std::string ApplicationName(std::string_view executablePath) {
    const auto slash = executablePath.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? executablePath : executablePath.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
    return std::string(name);
}

bool PrepareSetupStart(plat::Desktop& desktop, plat::SystemInfo& system) {
    if (!desktop.CreateSingleInstanceMutex(ApplicationName(system.ExecutablePath()))) {
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
