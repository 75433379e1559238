#include "plugin_lookup.h"

#include <winspool.h>

#include <vector>

namespace unidrv {
namespace {

std::wstring FolderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

bool EndsWithIni(const std::wstring& name) {
    return name.size() > 4 && lstrcmpiW(name.c_str() + name.size() - 4, L".INI") == 0;
}

std::wstring PluginNamedBy(const DRIVER_INFO_3W& driver) {
    const std::wstring driverFolder = FolderOf(driver.pConfigFile ? driver.pConfigFile : L"");
    for (const wchar_t* file = driver.pDependentFiles; file && *file; file += lstrlenW(file) + 1) {
        std::wstring ini = file;
        if (!EndsWithIni(ini)) continue;
        if (FolderOf(ini).empty()) ini = driverFolder + ini;
        wchar_t plugin[MAX_PATH] = {};
        GetPrivateProfileStringW(L"OEMFiles", L"OEMConfigFile1", L"", plugin, MAX_PATH, ini.c_str());
        if (*plugin) return FolderOf(ini) + plugin;
    }
    return {};
}

}  // namespace

std::wstring FindPluginPath(HANDLE printer, const wchar_t* printerName) {
    HANDLE opened = nullptr;
    if (!printer) {
        if (!printerName || !OpenPrinterW(const_cast<wchar_t*>(printerName), &opened, nullptr)) return {};
        printer = opened;
    }
    std::wstring path;
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    if (needed >= sizeof(DRIVER_INFO_3W)) {
        std::vector<BYTE> buffer(needed);
        if (GetPrinterDriverW(printer, nullptr, 3, buffer.data(), needed, &needed))
            path = PluginNamedBy(*reinterpret_cast<DRIVER_INFO_3W*>(buffer.data()));
    }
    if (opened) ClosePrinter(opened);
    return path;
}

}  // namespace unidrv
