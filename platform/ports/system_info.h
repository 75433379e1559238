#pragma once
// Facts about the running system and process.
#include <string>

#include "ports/errors.h"

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
    [[nodiscard]] virtual OsVersion GetVersion() = 0;
    // Full path of the running executable (GetModuleFileName of the process).
    [[nodiscard]] virtual std::string ExecutablePath() = 0;
    // GetWindowsDirectory, GetSystemDirectory and GetCurrentDirectory, without
    // a trailing backslash; the Win32 error code (0 success), the output left
    // untouched on failure.
    virtual Error WindowsDirectory(std::string* directory) = 0;
    virtual Error SystemDirectory(std::string* directory) = 0;
    virtual Error CurrentDirectory(std::string* directory) = 0;
};

}  // namespace plat
