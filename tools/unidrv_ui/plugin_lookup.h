#pragma once
// Which user-interface plug-in a printer's driver uses. The driver's
// dependent files include an INI file whose [OEMFiles] section names it
// (OEMConfigFile1); the plug-in lies in the same folder as that file.
#include <windows.h>

#include <string>

namespace unidrv {

// The plug-in's full path for the printer open as `printer` or, when that is
// null, named `printerName`; empty when the driver names none.
std::wstring FindPluginPath(HANDLE printer, const wchar_t* printerName);

}  // namespace unidrv
