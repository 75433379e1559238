#pragma once
// What Setup checks before its wizard opens: one instance at a time, and
// never while the uninstaller runs.
#include <string>
#include <string_view>

#include "ports/desktop.h"
#include "ports/system_info.h"
#include "programs/program_start.h"

namespace setup {

// True when the wizard may open. A second instance brings the first one's
// wizard to the front and ends silently; an open uninstaller is named.
bool PrepareSetupStart(plat::Desktop& desktop, plat::SystemInfo& system);

using programs::kUninstallerCaption;
constexpr std::string_view kCloseUninstaller = "Favor fechar o programa  de desinstalação";

}  // namespace setup
