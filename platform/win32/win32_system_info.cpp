#include "win32/win32_system_info.h"

#include <windows.h>

#include "win32/encoding.h"
#include "win32/last_error.h"

namespace win32 {

plat::OsVersion Win32SystemInfo::GetVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return {};
    return {static_cast<int>(info.dwPlatformId), static_cast<int>(info.dwMajorVersion),
            static_cast<int>(info.dwMinorVersion)};
}

std::string Win32SystemInfo::ExecutablePath() {
    char path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return {};
    return AnsiToUtf8(std::string_view(path, length));
}

namespace {
// A directory query of the GetSystemDirectory kind: the length written, 0 on
// failure, or the size needed (counting the NUL) when the buffer is short.
// A path longer than the buffer is an error rather than a cut-off path.
template <typename Query>
long Directory(Query query, std::string* directory) {
    char path[MAX_PATH * 4] = {};
    SetLastError(ERROR_SUCCESS);
    const DWORD length = query(path, static_cast<DWORD>(sizeof path));
    if (length == 0) return LastErrorOfFailure();
    if (length >= sizeof path) return ERROR_FILENAME_EXCED_RANGE;
    std::string folder(path, length);
    // A drive's root keeps its backslash in the answer ("C:\"); the callers
    // add their own separator.
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    *directory = AnsiToUtf8(folder);
    return ERROR_SUCCESS;
}
}  // namespace

plat::Error Win32SystemInfo::WindowsDirectory(std::string* directory) {
    return Directory([](char* path, DWORD size) { return static_cast<DWORD>(GetWindowsDirectoryA(path, size)); },
                     directory);
}

plat::Error Win32SystemInfo::SystemDirectory(std::string* directory) {
    return Directory([](char* path, DWORD size) { return static_cast<DWORD>(GetSystemDirectoryA(path, size)); },
                     directory);
}

plat::Error Win32SystemInfo::CurrentDirectory(std::string* directory) {
    return Directory([](char* path, DWORD size) { return GetCurrentDirectoryA(size, path); }, directory);
}

}  // namespace win32
