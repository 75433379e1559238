#include "win32/win32_system_info.h"

#include <windows.h>

#include "win32/encoding.h"

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
template <typename Query>
std::string Directory(Query query) {
    char path[MAX_PATH * 4] = {};
    const UINT length = query(path, sizeof path);
    if (length == 0 || length >= sizeof path) return {};
    std::string folder(path, length);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return AnsiToUtf8(folder);
}
}  // namespace

std::string Win32SystemInfo::WindowsDirectory() {
    return Directory([](char* path, UINT size) { return GetWindowsDirectoryA(path, size); });
}

std::string Win32SystemInfo::SystemDirectory() {
    return Directory([](char* path, UINT size) { return GetSystemDirectoryA(path, size); });
}

}  // namespace win32
