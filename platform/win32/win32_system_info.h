#pragma once
#include "ports/system_info.h"

namespace win32 {

class Win32SystemInfo : public plat::SystemInfo {
public:
    plat::OsVersion GetVersion() override;
    std::string ExecutablePath() override;
    long WindowsDirectory(std::string* directory) override;
    long SystemDirectory(std::string* directory) override;
    long CurrentDirectory(std::string* directory) override;
};

}  // namespace win32
