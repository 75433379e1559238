#pragma once
#include "ports/system_info.h"

namespace sim {

class SimSystemInfo : public plat::SystemInfo {
public:
    plat::OsVersion GetVersion() override { return version; }
    std::string ExecutablePath() override { return executablePath; }
    long WindowsDirectory(std::string* directory) override {
        return Give(windowsDirectoryError, windowsDirectory, directory);
    }
    long SystemDirectory(std::string* directory) override {
        return Give(systemDirectoryError, systemDirectory, directory);
    }
    long CurrentDirectory(std::string* directory) override {
        return Give(currentDirectoryError, currentDirectory, directory);
    }

    plat::OsVersion version{plat::kPlatformNt, 6, 1};
    std::string executablePath = "C:\\Pacote\\Setup.exe";
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\system32";
    std::string currentDirectory = "C:\\Pacote";
    // A nonzero error makes that directory unreadable.
    long windowsDirectoryError = 0;
    long systemDirectoryError = 0;
    long currentDirectoryError = 0;

private:
    static long Give(long error, const std::string& value, std::string* directory) {
        if (error == 0) *directory = value;
        return error;
    }
};

}  // namespace sim
