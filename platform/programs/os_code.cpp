#include "programs/os_code.h"

#include <array>

#include "product_name.h"

namespace programs {

namespace {

struct OsRow {
    OsCode code;
    int major, minor;  // the NT version, 0.0 for Windows 98/Me
    std::string_view section, alternateSection, itemSection;
    std::string_view packageFolder;
};

constexpr std::array<OsRow, kOsCodeCount> kRows{{
    {OsCode::kWin98Me, 0, 0, "98", "98", ".98", "\\win98\\"},
    {OsCode::kNt4, 4, 0, "NT", "NT", ".NT", "\\winnt\\"},
    {OsCode::kWin2000, 5, 0, "2K", "2K", ".2K", "\\winnt\\"},
    {OsCode::kWinXp, 5, 1, "XP", "XP", ".2K", "\\winnt\\"},
    {OsCode::kServer2003, 5, 2, "2003", "2003", ".2003", "\\win2003\\"},
    {OsCode::kVista, 6, 0, "Vista", "Vista", ".Vista", "\\Vista\\"},
    {OsCode::kServer2008, 6, 0, "2008", "2003", ".2008", "\\win2008\\"},
    {OsCode::kWin7, 6, 1, "Win7", "WIN7", ".WIN7", "\\win7\\"},
}};

// One text column of a code's row; empty for kUnknown.
std::string_view Column(OsCode code, std::string_view OsRow::*column) {
    const int index = OsIndex(code);
    return index >= 0 && index < kOsCodeCount ? kRows[static_cast<std::size_t>(index)].*column : std::string_view{};
}

}  // namespace

std::optional<OsCode> OsCodeAt(int index) {
    if (index < 0 || index >= kOsCodeCount) return std::nullopt;
    return kRows[static_cast<std::size_t>(index)].code;
}

bool FromWindows2000(OsCode code) {
    return OsIndex(code) >= OsIndex(OsCode::kWin2000);
}

bool IsNtFamily(OsCode code) {
    return OsIndex(code) >= OsIndex(OsCode::kNt4);
}

std::optional<OsCode> NtOsCode(int major, int minor) {
    for (const OsRow& row : kRows) {
        // Server 2008 shares Vista's numbers; its row is found by name only.
        if (row.code == OsCode::kWin98Me || row.code == OsCode::kServer2008) continue;
        if (row.major == major && row.minor == minor) return row.code;
    }
    return std::nullopt;
}

OsCode GetOsCode(plat::SystemInfo& system) {
    const plat::OsVersion v = system.GetVersion();
    if (v.platformId != plat::kPlatformNt) return OsCode::kWin98Me;
    return NtOsCode(v.major, v.minor).value_or(OsCode::kWin98Me);
}

OsCode UninstallerOsCode(plat::SystemInfo& system, plat::Registry& registry) {
    const plat::OsVersion version = system.GetVersion();
    if (version.platformId == plat::kPlatformWindows) return OsCode::kWin98Me;
    if (version.platformId != plat::kPlatformNt) return OsCode::kUnknown;
    // NT 4.x of any minor number counts as NT 4.0 here.
    if (version.major == 4) return OsCode::kNt4;
    const OsCode code = NtOsCode(version.major, version.minor).value_or(OsCode::kWin98Me);
    return code == OsCode::kVista && plat::IsServer2008(registry) ? OsCode::kServer2008 : code;
}

std::string_view SectionSuffix(OsCode code) {
    return Column(code, &OsRow::section);
}

std::string_view AlternateSectionSuffix(OsCode code) {
    return Column(code, &OsRow::alternateSection);
}

std::string_view ItemSectionSuffix(OsCode code) {
    return Column(code, &OsRow::itemSection);
}

std::string_view PackageFolder(OsCode code) {
    return Column(code, &OsRow::packageFolder);
}

}  // namespace programs
