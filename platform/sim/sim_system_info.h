#pragma once
#include "ports/system_info.h"

namespace sim {

class SimSystemInfo : public plat::SystemInfo {
public:
    plat::OsVersion GetVersion() override { return version; }
    std::string ExecutablePath() override { return executablePath; }

    plat::OsVersion version{plat::kPlatformNt, 6, 1};
    std::string executablePath = "C:\\Pacote\\Setup.exe";
};

}  // namespace sim
