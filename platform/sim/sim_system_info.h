#pragma once
#include "ports/system_info.h"

namespace sim {

class SimSystemInfo : public plat::SystemInfo {
public:
    plat::OsVersion GetVersion() override { return version; }
    std::string ExecutablePath() override { return executablePath; }
    std::string WindowsDirectory() override { return windowsDirectory; }
    std::string SystemDirectory() override { return systemDirectory; }

    plat::OsVersion version{plat::kPlatformNt, 6, 1};
    std::string executablePath = "C:\\Pacote\\Setup.exe";
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\system32";
};

}  // namespace sim
