// The package's port monitors and its USB language monitor, as stand-ins: a
// monitor the spooler accepts (InitializePrintMonitor2 hands back a complete
// function table) that owns no port. The one source is built under each file
// name the package uses; every call the spooler makes is recorded in
// <file>.log beside the DLL, which is how the tests see what the spooler loads.
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <string>

#include "standin/standin_files.h"

namespace {

HMODULE self = nullptr;

void Record(const char* call) {
    const std::string log = standin::CallLogPath(self);
    if (!log.empty()) standin::AppendLine(log, std::string(call) + "\r\n");
}

// No port belongs to the stand-in: enumeration succeeds with none, and any
// attempt to use, add or configure a port is refused.
BOOL WINAPI EnumPorts(HANDLE, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD needed, LPDWORD returned) {
    Record("EnumPorts");
    if (needed) *needed = 0;
    if (returned) *returned = 0;
    return TRUE;
}

BOOL Refuse(const char* call) {
    Record(call);
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

BOOL WINAPI OpenPort(HANDLE, LPWSTR, PHANDLE) {
    return Refuse("OpenPort");
}
BOOL WINAPI OpenPortEx(HANDLE, HANDLE, LPWSTR, LPWSTR, PHANDLE, MONITOR2*) {
    return Refuse("OpenPortEx");
}
BOOL WINAPI StartDocPort(HANDLE, LPWSTR, DWORD, DWORD, LPBYTE) {
    return Refuse("StartDocPort");
}
BOOL WINAPI WritePort(HANDLE, LPBYTE, DWORD, LPDWORD written) {
    if (written) *written = 0;
    return Refuse("WritePort");
}
BOOL WINAPI ReadPort(HANDLE, LPBYTE, DWORD, LPDWORD read) {
    if (read) *read = 0;
    return Refuse("ReadPort");
}
BOOL WINAPI EndDocPort(HANDLE) {
    return Refuse("EndDocPort");
}
BOOL WINAPI ClosePort(HANDLE) {
    return Refuse("ClosePort");
}
BOOL WINAPI AddPort(HANDLE, LPWSTR, HWND, LPWSTR) {
    return Refuse("AddPort");
}
BOOL WINAPI AddPortEx(HANDLE, LPWSTR, DWORD, LPBYTE, LPWSTR) {
    return Refuse("AddPortEx");
}
BOOL WINAPI ConfigurePort(HANDLE, LPWSTR, HWND, LPWSTR) {
    return Refuse("ConfigurePort");
}
BOOL WINAPI DeletePort(HANDLE, LPWSTR, HWND, LPWSTR) {
    return Refuse("DeletePort");
}
BOOL WINAPI XcvOpenPort(HANDLE, LPCWSTR, ACCESS_MASK, PHANDLE) {
    return Refuse("XcvOpenPort");
}
DWORD WINAPI XcvDataPort(HANDLE, LPCWSTR, PBYTE, DWORD, PBYTE, DWORD, PDWORD needed) {
    Record("XcvDataPort");
    if (needed) *needed = 0;
    return ERROR_NOT_SUPPORTED;
}
BOOL WINAPI XcvClosePort(HANDLE) {
    return Refuse("XcvClosePort");
}
VOID WINAPI Shutdown(HANDLE) {
    Record("Shutdown");
}

MONITOR2 MakeMonitor() {
    MONITOR2 monitor{};
    monitor.cbSize = sizeof monitor;
    monitor.pfnEnumPorts = EnumPorts;
    monitor.pfnOpenPort = OpenPort;
    monitor.pfnOpenPortEx = OpenPortEx;
    monitor.pfnStartDocPort = StartDocPort;
    monitor.pfnWritePort = WritePort;
    monitor.pfnReadPort = ReadPort;
    monitor.pfnEndDocPort = EndDocPort;
    monitor.pfnClosePort = ClosePort;
    monitor.pfnAddPort = AddPort;
    monitor.pfnAddPortEx = AddPortEx;
    monitor.pfnConfigurePort = ConfigurePort;
    monitor.pfnDeletePort = DeletePort;
    monitor.pfnXcvOpenPort = XcvOpenPort;
    monitor.pfnXcvDataPort = XcvDataPort;
    monitor.pfnXcvClosePort = XcvClosePort;
    monitor.pfnShutdown = Shutdown;
    return monitor;
}

MONITOR2 table = MakeMonitor();

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" LPMONITOR2 WINAPI InitializePrintMonitor2(PMONITORINIT init, PHANDLE monitor) {
    Record("InitializePrintMonitor2");
    if (!init || !monitor) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // The spooler hands this value back to every call; the stand-in keeps no
    // state per monitor instance.
    *monitor = reinterpret_cast<HANDLE>(&table);
    return &table;
}
