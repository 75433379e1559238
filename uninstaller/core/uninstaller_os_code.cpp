#include "core/uninstaller_os_code.h"

#include <array>

#include "product_name.h"

namespace uninstall {

int UninstallerOsCode(plat::SystemInfo& system, plat::Registry& registry) {
    const plat::OsVersion version = system.GetVersion();
    if (version.platformId == plat::kPlatformWindows) return 0;
    if (version.platformId != plat::kPlatformNt) return -1;
    switch (version.major) {
        case 4:
            return 1;
        case 5:
            return version.minor == 0 ? 2 : version.minor == 1 ? 3 : version.minor == 2 ? 4 : 0;
        case 6:
            if (version.minor == 0) return plat::IsServer2008(registry) ? 6 : 5;
            return version.minor == 1 ? 7 : 0;
        default:
            return 0;
    }
}

std::string_view ItemSectionSuffix(int osCode) {
    constexpr std::array<std::string_view, 8> kSuffixes{".98",   ".NT",    ".2K",   ".2K",
                                                        ".2003", ".Vista", ".2008", ".WIN7"};
    return osCode >= 0 && osCode < static_cast<int>(kSuffixes.size()) ? kSuffixes[osCode] : std::string_view{};
}

}  // namespace uninstall
