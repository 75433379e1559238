#pragma once
#include "ports/errors.h"
#include "ports/system_info.h"
#include "sim/sim_faults.h"

namespace sim {

class SimSystemInfo : public plat::SystemInfo {
public:
    // The machine's plan of failures, consulted on entry of every call.
    FaultPlan* faults = nullptr;

    plat::OsVersion GetVersion() override { return version; }
    std::string ExecutablePath() override { return executablePath; }
    plat::Error WindowsDirectory(std::string* directory) override {
        return Give(Enter(faults, "System.WindowsDirectory", plat::kErrorAccessDenied), windowsDirectoryError,
                    windowsDirectory, directory);
    }
    plat::Error SystemDirectory(std::string* directory) override {
        return Give(Enter(faults, "System.SystemDirectory", plat::kErrorAccessDenied), systemDirectoryError,
                    systemDirectory, directory);
    }
    plat::Error CurrentDirectory(std::string* directory) override {
        return Give(Enter(faults, "System.CurrentDirectory", plat::kErrorAccessDenied), currentDirectoryError,
                    currentDirectory, directory);
    }

    plat::OsVersion version{plat::kPlatformNt, 6, 1};
    // The package where shops unpack it: a user's desktop folder, with blanks
    // and accents in its name.
    std::string executablePath = "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\Setup.exe";
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\system32";
    std::string currentDirectory = "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora";
    // A nonzero error makes that directory unreadable.
    long windowsDirectoryError = 0;
    long systemDirectoryError = 0;
    long currentDirectoryError = 0;

private:
    static long Give(long injected, long error, const std::string& value, std::string* directory) {
        if (injected != 0) return injected;
        if (error == 0) *directory = value;
        return error;
    }
};

}  // namespace sim
