#pragma once
// The Windows version as Setup works with it: the package's version table
// (programs/os_code.h, shared with the uninstaller) in Setup's namespace, and
// the rule for the names of Setup's per-system sections.
#include <string>
#include <string_view>

#include "programs/os_code.h"

namespace setup {

using programs::AlternateSectionSuffix;
using programs::FromWindows2000;
using programs::GetOsCode;
using programs::kOsCodeCount;
using programs::NtOsCode;
using programs::OsCode;
using programs::OsCodeAt;
using programs::OsIndex;
using programs::PackageFolder;
using programs::SectionSuffix;

// base + "." + suffix, when it fits the 199 characters a section name may
// have; false (and `section` cleared) otherwise.
bool MakeSectionName(std::string_view base, std::string_view suffix, std::string* section);

constexpr std::size_t kMaxSectionName = 199;

}  // namespace setup
