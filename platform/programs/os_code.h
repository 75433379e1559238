#pragma once
// The Windows versions the package knows, one row each, with what each
// program reads for it: Setup's configuration section suffixes and the
// uninstaller's Uninstall.ini item suffix, and the package folder of each
// system's driver files. The two programs detect the
// running version differently (Setup tells Server 2008 from Vista only on its
// OS page), and each keeps its own reading.
#include <optional>
#include <string_view>

#include "ports/registry.h"
#include "ports/system_info.h"

namespace programs {

enum class OsCode : int {
    kWin98Me = 0,
    kNt4 = 1,
    kWin2000 = 2,
    kWinXp = 3,
    kServer2003 = 4,
    kVista = 5,
    kServer2008 = 6,
    kWin7 = 7,
    // A platform neither of the Windows 9x nor of the NT family; only the
    // uninstaller's reading gives it.
    kUnknown = -1,
};
constexpr int kOsCodeCount = 8;

// The position of a known code in the tables that follow its order; -1 for
// kUnknown.
constexpr int OsIndex(OsCode code) {
    return static_cast<int>(code);
}
// The known code at `index` (0..7); nothing for any other number.
std::optional<OsCode> OsCodeAt(int index);

// Windows 2000 or a later NT version.
bool FromWindows2000(OsCode code);
// Any NT version (NT 4.0 on).
bool IsNtFamily(OsCode code);

// The code of an NT-family version (major.minor) this package knows; nothing
// for any other version. 6.0 gives Vista: Server 2008 reports the same numbers
// and only its product name tells it apart.
std::optional<OsCode> NtOsCode(int major, int minor);

// Setup's silent detection, outside its OS page: Server 2008 reads as Vista,
// which every caller treats alike; an unknown version reads as Windows 98/Me.
OsCode GetOsCode(plat::SystemInfo& system);

// The uninstaller's detection: Server 2008 told apart by its product name, an
// unknown NT version read as Windows 98/Me, a platform of neither family as
// kUnknown.
OsCode UninstallerOsCode(plat::SystemInfo& system, plat::Registry& registry);

// Suffix of Setup's per-system sections: "98", "NT", "2K", "XP", "2003",
// "Vista", "2008", "Win7"; empty for kUnknown.
std::string_view SectionSuffix(OsCode code);
// Setup's alternate rule, used for the printer keys of a module file and the
// port-monitor keys: Server 2008 shares the sections of Server 2003, and
// Windows 7's is "WIN7".
std::string_view AlternateSectionSuffix(OsCode code);
// The suffix of the per-item sections of Uninstall.ini: ".98", ".NT", ".2K"
// (2000 and XP), ".2003", ".Vista", ".2008", ".WIN7"; empty for kUnknown.
std::string_view ItemSectionSuffix(OsCode code);
// The package's folder of a system's driver files, as Setup appends it to the
// package path: \win98\, \winnt\ (NT 4.0, 2000 and XP), \win2003\, \Vista\,
// \win2008\, \win7\; empty for kUnknown.
std::string_view PackageFolder(OsCode code);

}  // namespace programs
