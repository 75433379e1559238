#pragma once
// The uninstaller's own code of the running Windows: 0 Windows 98/Me, 1 NT
// 4.0, 2 2000, 3 XP, 4 Server 2003, 5 Vista, 6 Server 2008, 7 Windows 7;
// -1 for a platform that is neither.
#include <string_view>

#include "ports/registry.h"
#include "ports/system_info.h"

namespace uninstall {

int UninstallerOsCode(plat::SystemInfo& system, plat::Registry& registry);

// The suffix of the per-item sections of Uninstall.ini: ".98", ".NT", ".2K"
// (2000 and XP), ".2003", ".Vista", ".2008", ".WIN7"; empty for -1.
std::string_view ItemSectionSuffix(int osCode);

}  // namespace uninstall
