#include "core/uninstall_list.h"

#include <algorithm>

#include "core/uninstaller_text.h"
#include "scoped_printer.h"
#include "text.h"

namespace uninstall {

namespace {
std::vector<std::string> ReadList(plat::Profile& profile, std::string_view iniPath, std::string_view section,
                                  std::string_view countKey, std::string_view entryKey) {
    const int count = std::clamp(plat::AsciiToInt(profile.GetString(iniPath, section, countKey, "0", kIniValueBuffer)),
                                 0, kMaxPatterns);
    std::vector<std::string> patterns;
    for (int k = 1; k <= count; ++k) {
        const std::string key = std::string(entryKey) + static_cast<char>('0' + k);
        patterns.push_back(profile.GetString(iniPath, section, key, "0", kIniValueBuffer));
    }
    return patterns;
}

constexpr std::string_view kUninstallIni = "Uninstall.ini";

// Searches one folder by name, as the system compares names; true when the
// file was found. The folder may be any of the user's (the program started
// from the desktop, say): its other entries are only looked at. The package's
// file loses the read-only mark a copy from a CD gave it, and keeps its
// other marks.
bool SearchFolder(UninstallerServices& io, const std::string& folder, int* failure) {
    std::vector<std::string> names;
    if (io.files.ListFolder(folder, &names) != plat::kErrorSuccess || names.empty()) {
        *failure = IDS_BAD_FILE_HANDLE;
        return false;
    }
    for (const std::string& name : names) {
        if (!plat::EqualsNoCase(name, kUninstallIni)) continue;
        (void)io.files.ClearReadOnly(folder + name);
        return true;
    }
    return false;
}
}  // namespace

PackagePatterns ReadPackagePatterns(plat::Profile& profile, std::string_view iniPath) {
    PackagePatterns patterns;
    patterns.printers = ReadList(profile, iniPath, "MDPRINTER", "PRINTERNUM", "PRINTERNAME");
    patterns.monitors = ReadList(profile, iniPath, "MDMONITOR", "MonitorNUM", "MONITORNAME");
    patterns.processors = ReadList(profile, iniPath, "MDPROC", "PROCNUM", "PROCNAME");
    return patterns;
}

bool MatchesAny(std::string_view name, const std::vector<std::string>& patterns) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& pattern) { return !pattern.empty() && plat::Contains(name, pattern); });
}

IniSearch FindUninstallIni(UninstallerServices& io) {
    IniSearch search;
    std::string folder;
    if (io.system.CurrentDirectory(&folder) != plat::kErrorSuccess) {
        search.failure = IDS_NO_CURRENT_DIR;
        return search;
    }
    folder += "\\";
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (SearchFolder(io, folder, &search.failure)) {
            search.path = folder + std::string(kUninstallIni);
            return search;
        }
        if (search.failure != 0) return search;
        folder += "DRVCONFIG\\";
    }
    search.failure = IDS_NO_UNINSTALL_INI;
    return search;
}

void FillList(UninstallerServices& io, plat::Controls& controls, int listId, const PackagePatterns& patterns,
              programs::OsCode osCode) {
    std::vector<std::string> printers;
    if (io.spooler.EnumPrinterNames(&printers) == plat::kErrorSuccess) {
        for (const std::string& name : printers) {
            plat::ScopedPrinter printer = plat::OwnedPrinter(io.spooler);
            plat::PrinterInfo2 info;
            if (io.spooler.OpenPrinterAllAccess(name, printer.receive()) == plat::kErrorSuccess &&
                io.spooler.GetPrinter(printer.get(), &info) == plat::kErrorSuccess &&
                MatchesAny(info.driverName, patterns.printers)) {
                controls.AddItem(listId, name);
            }
        }
    }
    std::vector<std::string> monitors;
    if (io.spooler.EnumMonitorNames(&monitors) == plat::kErrorSuccess) {
        for (const std::string& name : monitors) {
            if (MatchesAny(name, patterns.monitors)) controls.AddItem(listId, name);
        }
    }
    std::vector<std::string> processors;
    const std::string_view environment = osCode == programs::OsCode::kWin98Me ? plat::kEnvironmentWin9x : plat::kEnvironmentNt;
    if (osCode != programs::OsCode::kWin98Me && io.spooler.EnumPrintProcessorNames(environment, &processors) == plat::kErrorSuccess) {
        for (const std::string& name : processors) {
            if (MatchesAny(name, patterns.processors)) controls.AddItem(listId, name);
        }
    }
}

}  // namespace uninstall
