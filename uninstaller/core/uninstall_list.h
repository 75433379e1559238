#pragma once
// "Uninstall.ini": where it is, the patterns that tell which printers,
// monitors and print processors belong to the package, and the list of those
// found on the machine.
#include <string>
#include <string_view>
#include <vector>

#include "core/uninstaller_services.h"
#include "ports/controls.h"
#include "programs/os_code.h"

namespace uninstall {

// The three pattern lists of Uninstall.ini.
struct PackagePatterns {
    std::vector<std::string> printers;    // matched against driver names
    std::vector<std::string> monitors;    // matched against monitor names
    std::vector<std::string> processors;  // matched against processor names
};

// Values are read into 30-byte buffers; the default of every read is "0".
constexpr std::size_t kIniValueBuffer = 30;
// Entry k's key ends in the character '0' + k; past '~' the keys would leave
// the plain characters every code page agrees on.
constexpr int kMaxPatterns = '~' - '0';

// Reads the three lists: section MDPRINTER (PRINTERNUM, PRINTERNAME1..),
// MDMONITOR (MonitorNUM, MONITORNAME1..), MDPROC (PROCNUM, PROCNAME1..).
PackagePatterns ReadPackagePatterns(plat::Profile& profile, std::string_view iniPath);

// Whether `name` contains one of `patterns`. An empty pattern matches
// nothing: it would otherwise offer every item of the machine for removal.
bool MatchesAny(std::string_view name, const std::vector<std::string>& patterns);

// Looks for the file "Uninstall.ini" (in any case) in the current folder and
// then in its DRVCONFIG folder, and clears its read-only mark. The profile
// path, or the string id of the failure (103, 104 or 105).
struct IniSearch {
    std::string path;
    int failure = 0;
};
IniSearch FindUninstallIni(UninstallerServices& io);

// Adds the package's printers (by driver name), monitors and, except on
// Windows 98/Me, processors found on the machine to list view `listId`.
void FillList(UninstallerServices& io, plat::Controls& controls, int listId, const PackagePatterns& patterns,
              programs::OsCode osCode);

}  // namespace uninstall
