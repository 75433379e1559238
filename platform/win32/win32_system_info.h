#pragma once
#include "ports/system_info.h"

namespace win32 {

class Win32SystemInfo : public plat::SystemInfo {
public:
    plat::OsVersion GetVersion() override;
    std::string ExecutablePath() override;
    std::string WindowsDirectory() override;
    std::string SystemDirectory() override;
};

}  // namespace win32
