#pragma once
// The Windows version the installation is for, and the configuration section
// suffixes each version reads.
#include <optional>
#include <string>
#include <string_view>

#include "ports/system_info.h"

namespace setup {

enum OsCode : int {
    kOsWin98Me = 0,
    kOsNt4 = 1,
    kOsWin2000 = 2,
    kOsWinXp = 3,
    kOsServer2003 = 4,
    kOsVista = 5,
    kOsServer2008 = 6,
    kOsWin7 = 7,
};
constexpr int kOsCodeCount = 8;

// The code of an NT-family version (major.minor) this package knows; nothing
// for any other version. 6.0 gives Vista: Server 2008 reports the same numbers
// and only its product name tells it apart.
std::optional<OsCode> NtOsCode(int major, int minor);

// The silent detection used outside the OS page: Server 2008 reports as Vista
// here, which every caller treats alike; unknown versions give kOsWin98Me.
OsCode GetOsCode(plat::SystemInfo& system);

// Suffix of per-system sections: "98", "NT", "2K", "XP", "2003", "Vista",
// "2008", "Win7". A code outside 0..7 has no suffix (empty).
std::string_view SectionSuffix(int osCode);
// The alternate rule, used for the printer keys of a module file and the
// port-monitor keys: Server 2008 shares the sections of Server 2003.
std::string_view AlternateSectionSuffix(int osCode);

// base + "." + suffix, when it fits the 199 characters a section name may
// have; false (and `section` cleared) otherwise.
bool MakeSectionName(std::string_view base, std::string_view suffix, std::string* section);

constexpr std::size_t kMaxSectionName = 199;

}  // namespace setup
