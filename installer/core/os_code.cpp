#include "core/os_code.h"

#include <array>

namespace setup {

namespace {
struct NtVersion {
    int major;
    int minor;
    OsCode code;
};
constexpr std::array<NtVersion, 6> kNtVersions{{
    {4, 0, kOsNt4},
    {5, 0, kOsWin2000},
    {5, 1, kOsWinXp},
    {5, 2, kOsServer2003},
    {6, 0, kOsVista},
    {6, 1, kOsWin7},
}};
}  // namespace

std::optional<OsCode> NtOsCode(int major, int minor) {
    for (const NtVersion& known : kNtVersions) {
        if (known.major == major && known.minor == minor) return known.code;
    }
    return std::nullopt;
}

OsCode GetOsCode(plat::SystemInfo& system) {
    const plat::OsVersion v = system.GetVersion();
    if (v.platformId != plat::kPlatformNt) return kOsWin98Me;
    return NtOsCode(v.major, v.minor).value_or(kOsWin98Me);
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
