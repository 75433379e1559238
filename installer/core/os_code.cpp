#include "core/os_code.h"

#include <array>

namespace setup {

OsCode GetOsCode(plat::SystemInfo& system) {
    const plat::OsVersion v = system.GetVersion();
    if (v.platformId != plat::kPlatformNt) return kOsWin98Me;
    if (v.major == 4 && v.minor == 0) return kOsNt4;
    if (v.major == 5 && v.minor == 0) return kOsWin2000;
    if (v.major == 5 && v.minor == 1) return kOsWinXp;
    if (v.major == 5 && v.minor == 2) return kOsServer2003;
    if (v.major == 6 && v.minor == 0) return kOsVista;
    if (v.major == 6 && v.minor == 1) return kOsWin7;
    return kOsWin98Me;
}

namespace {
constexpr std::array<std::string_view, kOsCodeCount> kSuffixes{"98", "NT", "2K", "XP", "2003", "Vista", "2008", "Win7"};
constexpr std::array<std::string_view, kOsCodeCount> kAlternateSuffixes{"98",   "NT",    "2K",   "XP",
                                                                        "2003", "Vista", "2003", "WIN7"};
}  // namespace

std::string_view SectionSuffix(int osCode) {
    return osCode >= 0 && osCode < kOsCodeCount ? kSuffixes[osCode] : std::string_view{};
}

std::string_view AlternateSectionSuffix(int osCode) {
    return osCode >= 0 && osCode < kOsCodeCount ? kAlternateSuffixes[osCode] : std::string_view{};
}

bool MakeSectionName(std::string_view base, std::string_view suffix, std::string* section) {
    section->clear();
    if (base.size() + 1 + suffix.size() > kMaxSectionName) return false;
    section->append(base).append(".").append(suffix);
    return true;
}

}  // namespace setup
