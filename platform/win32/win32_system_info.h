#pragma once
#include "ports/system_info.h"

namespace win32 {

class Win32SystemInfo : public plat::SystemInfo {
public:
    plat::OsVersion GetVersion() override;
    std::string ExecutablePath() override;
    plat::Error WindowsDirectory(std::string* directory) override;
    plat::Error SystemDirectory(std::string* directory) override;
    plat::Error CurrentDirectory(std::string* directory) override;
};

}  // namespace win32
