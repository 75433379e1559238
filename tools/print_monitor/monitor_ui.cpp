// The user-interface DLLs of the package's port monitors, as stand-ins: the
// port dialogs a printers folder would open for the monitor's ports. The
// stand-in monitors own no port, so every dialog is refused. Calls are
// recorded in <file>.log beside the DLL.
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <string>

#include "standin/standin_files.h"

namespace {

HMODULE self = nullptr;

BOOL Refuse(const char* call) {
    const std::string log = standin::CallLogPath(self);
    if (!log.empty()) standin::AppendLine(log, std::string(call) + "\r\n");
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

BOOL WINAPI AddPortUI(PCWSTR, HWND, PCWSTR, PWSTR* portOut) {
    if (portOut) *portOut = nullptr;
    return Refuse("AddPortUI");
}
BOOL WINAPI ConfigurePortUI(PCWSTR, HWND, PCWSTR) {
    return Refuse("ConfigurePortUI");
}
BOOL WINAPI DeletePortUI(PCWSTR, HWND, PCWSTR) {
    return Refuse("DeletePortUI");
}

MONITORUI table = {sizeof(MONITORUI), AddPortUI, ConfigurePortUI, DeletePortUI};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" PMONITORUI WINAPI InitializePrintMonitorUI() {
    const std::string log = standin::CallLogPath(self);
    if (!log.empty()) standin::AppendLine(log, "InitializePrintMonitorUI\r\n");
    return &table;
}
