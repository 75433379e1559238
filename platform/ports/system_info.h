#pragma once
// Facts about the running system and process.
#include <string>

namespace plat {

// Platform ids of GetVersionEx.
constexpr int kPlatformWin32s = 0;
constexpr int kPlatformWindows = 1;  // the Windows 9x family
constexpr int kPlatformNt = 2;

struct OsVersion {
    int platformId = kPlatformNt;
    int major = 0;
    int minor = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual OsVersion GetVersion() = 0;
    // Full path of the running executable (GetModuleFileName of the process).
    virtual std::string ExecutablePath() = 0;
    // GetWindowsDirectory, GetSystemDirectory and GetCurrentDirectory, without
    // a trailing backslash; the Win32 error code (0 success), the output left
    // untouched on failure.
    virtual long WindowsDirectory(std::string* directory) = 0;
    virtual long SystemDirectory(std::string* directory) = 0;
    virtual long CurrentDirectory(std::string* directory) = 0;
};

}  // namespace plat
